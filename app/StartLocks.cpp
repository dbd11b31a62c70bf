#include "app/StartLocks.h"

#include "platform/FileSystem.h"

namespace {

const QString LockFileName = QStringLiteral("rovex-start.lock");

QString heldMessage(const FolderLock& lock, const QString& folder)
{
    const QString process = lock.holder() ? QStringLiteral(" (процесс %1)").arg(lock.holder()) : QString();
    return QStringLiteral("С папкой %1 сейчас работает другая копия программы%2: её занимает файл %3. "
                          "Дождитесь, пока та закончит, и нажмите «Старт» снова: две копии сразу "
                          "перемешали бы трассы. Ничего не изменено.")
        .arg(folder, process, lock.displayName());
}

} // namespace

StartLocks::StartLocks(const QString& gameDir, const QString& workFolder)
    : m_workFolder(workFolder)
    , m_game(gameLockFile(gameDir))
    , m_work(workLockFile(workFolder))
{
}

QString StartLocks::gameLockFile(const QString& gameDir)
{
    return gameDir + LockFileName;
}

QString StartLocks::workLockFile(const QString& workFolder)
{
    return workFolder + QLatin1Char('/') + LockFileName;
}

QString StartLocks::take()
{
    if (m_game.take() == FolderLock::Outcome::HeldByAnother)
        return heldMessage(m_game, QStringLiteral("игры"));
    if (!platform::fs::folderExists(m_workFolder))
        platform::fs::createFolder(m_workFolder);
    if (m_work.take() == FolderLock::Outcome::HeldByAnother) {
        m_game.release();
        return heldMessage(m_work, QStringLiteral("распаковки Temp"));
    }
    return QString();
}

void StartLocks::release()
{
    m_work.release();
    m_game.release();
}
