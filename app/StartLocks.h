#pragma once

#include "app/FolderLock.h"

#include <QString>

// Two installations of the program (with home folders of their own) named at the same game folder or
// library would interleave their moves in the same slot folders and empty each other's work folder
// "Temp". So a start holds a lock on both folders from before its first change to the end of the
// run's clean-up, and the clean-ups leave a folder alone while another copy holds it. The lock files
// are no track file names: no restore, install or clean-up takes them for one.
class StartLocks
{
public:
    // `gameDir` ends with "/"; `workFolder` is the work folder, made here when it is missing.
    StartLocks(const QString& gameDir, const QString& workFolder);

    // Takes both. When another copy holds one, lets go of both and returns the user's words for it;
    // empty once taken. A lock that cannot be made at all (a folder without write permission, a full
    // disk) is gone without: other copies of this user cannot make it there either.
    QString take();
    void release();

    static QString gameLockFile(const QString& gameDir);
    static QString workLockFile(const QString& workFolder);

private:
    QString m_workFolder;
    FolderLock m_game;
    FolderLock m_work;
};
