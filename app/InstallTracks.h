#pragma once

#include <QString>
#include <QStringList>

// Moving track files between the work folder and a game slot folder, and back from the backups.
// Game slot folders follow the game's Windows name rules: names are matched without regard to case.
namespace install {

// `<GameDir>/Data/Tracks/<slot>/`, each of "Data", "Tracks" and the slot found without regard to
// letter case, as Windows finds them (a game copied from a CD may spell them "DATA/TRACKS/UK").
QString gameSlotFolder(const QString& gameDir, const QString& slot);
// The work folder the start command extracts into: "Temp" beside the track library.
QString workFolder(const QString& trackDir);
// `<TrackDir><slot>/<archive>`, the slot folder in the letter case the library gives it.
QString libraryArchive(const QString& trackDir, const QString& slot, const QString& archive);

// Empties the work folder of the 21 track file names in any letter case, or creates it when it is
// missing. Other entries stay where they are. False (errno set) when a track file could not be
// removed or the folder could not be made: files left there must not reach a game folder.
bool prepareWorkFolder(const QString& folder);

// What moving one slot's track files in did.
struct SlotInstall
{
    QStringList installed;   // the names the add-on files carry in the slot folder now
    QStringList backedUp;    // those of them whose standard file lies under "0" + name
    int error = 0;           // errno of the exchange that failed; 0 when every file went in
    QString failedFile;      // the track file of that exchange; empty when the slot folder is missing
    bool atBackup = false;   // it failed while giving the standard file its backup name
    QStringList backupsLeft; // standard files the undo could not put back: still under "0" + name
    int flushError = 0;      // errno when the slot folder's changes could not be flushed to disk

    bool succeeded() const { return error == 0; }
};

// Moves the extracted track files of `work` into the game slot folder `slotFolder`. A standard file of
// the same name (in any letter case) first goes to its backup name "0" + name and the add-on takes its
// name; without one the add-on keeps its own. Only the 21 track file names are moved. All or nothing:
// when one exchange fails, the ones made so far are undone, so the slot stays standard. The folder
// is flushed to disk afterwards.
SlotInstall moveTrackFilesIn(const QString& work, const QString& slotFolder);

// What giving one slot folder its standard files back did.
struct SlotRestore
{
    QString slot;
    QStringList notRestored; // standard names still under their backup name "0" + name
    int error = 0;           // errno of the first failure
    int flushError = 0;      // errno when the folder's changes could not be flushed to disk

    bool complete() const { return notRestored.isEmpty() && flushError == 0; }
};

// Whether `slotFolder` holds a backup made by an install: a track file's name, in any letter case,
// with "0" in front.
bool holdsBackups(const QString& slotFolder);

// Puts every backup ("0" + name) of `slotFolder` back under its name, deleting the add-on file that
// took that name (in any letter case), and flushes the folder to disk. A missing folder is passed over.
SlotRestore restoreSlotFolder(const QString& slotFolder);

} // namespace install
