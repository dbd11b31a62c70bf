#pragma once

#include <QString>
#include <QStringList>

// Moving track files between the work folder and a game slot folder, and back from the backups.
// Game slot folders follow the game's Windows name rules: names are matched without regard to case.
namespace install {

// `<GameDir>/Data/Tracks/<slot>/`.
QString gameSlotFolder(const QString& gameDir, const QString& slot);
// The work folder the start command extracts into: "Temp" beside the track library.
QString workFolder(const QString& trackDir);
// `<TrackDir><slot>/<archive>`.
QString libraryArchive(const QString& trackDir, const QString& slot, const QString& archive);

// Empties the work folder of the 21 track file names, or creates it when it is missing. Other entries
// stay where they are.
void prepareWorkFolder(const QString& folder);

// Moves the extracted track files of `work` into the game slot folder `slotFolder`. A standard file of
// the same name (in any letter case) first goes to its backup name "0" + name and the add-on takes its
// name; without one the add-on keeps its own. Only the 21 track file names are moved. Returns the
// names the add-on files now carry in the slot folder.
QStringList moveTrackFilesIn(const QString& work, const QString& slotFolder);

// Puts every backup ("0" + name) of `slotFolder` back under its name, deleting the add-on file that
// took that name (in any letter case). A missing folder is passed over.
void restoreSlotFolder(const QString& slotFolder);

} // namespace install
