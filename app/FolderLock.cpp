#include "app/FolderLock.h"

#include "platform/FileSystem.h"

#include <QDir>
#include <QFileInfo>

FolderLock::FolderLock(const QString& lockFile)
    : m_lock(lockFile)
{
    // Only a dead holder makes a lock stale, never its age.
    m_lock.setStaleLockTime(0);
}

FolderLock::Outcome FolderLock::take()
{
    if (m_lock.tryLock(0))
        return Outcome::Taken;
    if (m_lock.error() != QLockFile::LockFailedError)
        return Outcome::NotMade;
    // A copy killed (or a power cut) while it made the lock file leaves it without the holder's
    // details, which the lock never counts as stale: such a file that no running copy keeps locked is
    // taken over.
    if (!m_lock.getLockInfo(nullptr, nullptr, nullptr) && !platform::fs::fileIsLocked(m_lock.fileName()) &&
        m_lock.removeStaleLockFile() && m_lock.tryLock(0))
        return Outcome::Taken;
    return m_lock.error() == QLockFile::LockFailedError ? Outcome::HeldByAnother : Outcome::NotMade;
}

qint64 FolderLock::holder() const
{
    qint64 pid = 0;
    return m_lock.getLockInfo(&pid, nullptr, nullptr) ? pid : 0;
}

QString FolderLock::displayName() const
{
    return QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(m_lock.fileName()).absoluteFilePath()));
}
