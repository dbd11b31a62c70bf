#include "app/SingleCopy.h"

#include "platform/Dialogs.h"
#include "platform/FileSystem.h"

#include <QDir>
#include <QFileInfo>

namespace {

// Nothing else of the program reads or writes a file of this name.
const QString LockFileName = QStringLiteral("rovex.lock");

} // namespace

SingleCopy::SingleCopy(const QString& homeDir)
    : m_lock(homeDir + LockFileName)
{
    // The lock is held for a whole run: only a dead holder makes it stale, never its age.
    m_lock.setStaleLockTime(0);
}

bool SingleCopy::claim(QWidget* parent)
{
    if (m_lock.tryLock(0))
        return true;
    // A copy killed (or a power cut) while it made the lock file leaves it without the holder's
    // details, which the lock never counts as stale: such a file that no running copy keeps locked is
    // taken over.
    if (m_lock.error() == QLockFile::LockFailedError && !m_lock.getLockInfo(nullptr, nullptr, nullptr) &&
        !platform::fs::fileIsLocked(m_lock.fileName()) && m_lock.removeStaleLockFile() && m_lock.tryLock(0))
        return true;
    const QString lockFile = QDir::toNativeSeparators(QFileInfo(m_lock.fileName()).absoluteFilePath());
    if (m_lock.error() == QLockFile::LockFailedError) {
        qint64 holder = 0;
        const QString process = m_lock.getLockInfo(&holder, nullptr, nullptr)
                                    ? QStringLiteral(" (процесс %1)").arg(holder)
                                    : QString();
        platform::dialogs().message(
            parent, QStringLiteral("Программа уже запущена с этой же папкой%1: её занимает файл %2. "
                                   "Вторая копия будет завершена, чтобы две копии не испортили друг "
                                   "другу трассы и настройки.")
                        .arg(process, lockFile));
        return false;
    }
    const QString reason = m_lock.error() == QLockFile::PermissionError
                               ? QStringLiteral("нет прав на запись в папку")
                               : QStringLiteral("ошибка записи, возможно, диск заполнен");
    platform::dialogs().message(
        parent,
        QStringLiteral("Не удалось создать файл %1 (%2), программа будет завершена!").arg(lockFile, reason));
    return false;
}
