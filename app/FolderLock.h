#pragma once

#include <QLockFile>
#include <QString>

// A lock file that keeps the other copies of the program out of a folder while this one works in it.
// The lock is held until release() or the end of the object; letting go removes the file. A lock left
// by a copy that ended without letting go (killed, crashed) is taken over, also one whose holder died
// before it wrote its details into the file, or one this process let go of without removing its file;
// a copy that is alive keeps its lock however old it is.
class FolderLock
{
public:
    enum class Outcome
    {
        Taken,
        HeldByAnother, // another running copy holds it
        NotMade,       // the lock file cannot be made (no write permission, a full disk, no folder)
    };

    explicit FolderLock(const QString& lockFile);

    Outcome take();
    void release() { m_lock.unlock(); }

    // The process id of the copy that holds the lock, 0 when the file does not say.
    qint64 holder() const;
    // The lock file's full path, as the user reads it.
    QString displayName() const;
    QLockFile::LockError error() const { return m_lock.error(); }

private:
    bool leftByThisProcess() const;

    QLockFile m_lock;
};
