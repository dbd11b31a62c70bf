#include "app/SingleCopy.h"

#include "platform/Dialogs.h"

namespace {

// Nothing else of the program reads or writes a file of this name.
const QString LockFileName = QStringLiteral("rovex.lock");

} // namespace

SingleCopy::SingleCopy(const QString& homeDir)
    : m_lock(homeDir + LockFileName)
{
}

bool SingleCopy::claim(QWidget* parent)
{
    const FolderLock::Outcome outcome = m_lock.take();
    if (outcome == FolderLock::Outcome::Taken)
        return true;
    const QString lockFile = m_lock.displayName();
    if (outcome == FolderLock::Outcome::HeldByAnother) {
        const qint64 holder = m_lock.holder();
        const QString process = holder ? QStringLiteral(" (процесс %1)").arg(holder) : QString();
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
