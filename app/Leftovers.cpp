#include "app/Leftovers.h"

#include "app/FolderLock.h"
#include "app/InstallTracks.h"
#include "app/LibraryFolders.h"
#include "app/StartLocks.h"
#include "core/SlotTable.h"
#include "platform/FileSystem.h"
#include "platform/ScratchFiles.h"

#include <QFileInfo>

using platform::Scratch;

namespace {

const QString NotChosen = QStringLiteral("не выбран");

// `folder` + `name`, with `name` spelled as the folder has it: the game keeps Windows name rules.
QString below(const QString& folder, const QString& name)
{
    return platform::fs::resolveIgnoringCase(folder + QLatin1Char('/') + name);
}

// A start of another copy may be working there now: its temporary entries are alive.
bool heldByAnotherCopy(FolderLock& lock)
{
    return lock.take() == FolderLock::Outcome::HeldByAnother;
}

} // namespace

void removeLeftovers(const QString& homeDir, const QString& trackDir, const QString& gameDir)
{
    // The folder "options.dat" and "installed.dat" are written in: the home folder itself, also when
    // its name was cut short.
    platform::removeScratchFiles(QFileInfo(homeDir + QStringLiteral("options.dat")).absolutePath(),
                                 Scratch::SafeWrites);
    if (!trackDir.isEmpty() && trackDir != NotChosen) {
        const QString work = install::workFolder(trackDir);
        if (FolderLock lock(StartLocks::workLockFile(work)); !heldByAnotherCopy(lock))
            platform::removeScratchFiles(work, Scratch::ArchiverFolders);
        platform::removeScratchFiles(trackDir + QStringLiteral("../Temp1"), Scratch::ArchiverFolders);
        // The archiver stages beside an empty output folder, such as a fresh "Temp1".
        platform::removeScratchFiles(trackDir + QStringLiteral(".."), Scratch::ArchiverFolders);
        // The add command moves archives into the slot folders.
        for (const QString& slot : trackslots::SlotNames())
            platform::removeScratchFiles(library::slotFolder(trackDir, slot), Scratch::MoveCopies);
    }
    if (!gameDir.isEmpty() && gameDir != NotChosen) {
        FolderLock lock(StartLocks::gameLockFile(gameDir));
        if (heldByAnotherCopy(lock))
            return;
        const QString tracks = below(below(gameDir, QStringLiteral("Data")), QStringLiteral("Tracks"));
        for (const QString& slot : trackslots::SlotNames())
            platform::removeScratchFiles(below(tracks, slot), Scratch::MoveCopies);
    }
}
