#include "app/FolderLock.h"

#include "platform/FileSystem.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSysInfo>

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
    // details, which the lock never counts as stale; a lock this very process let go of while its file
    // could not be removed (a full disk, an I/O error) names a holder that is alive. Such a file that no
    // running copy keeps locked is taken over.
    const bool orphan = !m_lock.getLockInfo(nullptr, nullptr, nullptr) || leftByThisProcess();
    if (orphan && !platform::fs::fileIsLocked(m_lock.fileName()) && m_lock.removeStaleLockFile() &&
        m_lock.tryLock(0))
        return Outcome::Taken;
    return m_lock.error() == QLockFile::LockFailedError ? Outcome::HeldByAnother : Outcome::NotMade;
}

bool FolderLock::leftByThisProcess() const
{
    qint64 pid = 0;
    QString host;
    return m_lock.getLockInfo(&pid, &host, nullptr) && pid == QCoreApplication::applicationPid() &&
           host == QSysInfo::machineHostName();
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
