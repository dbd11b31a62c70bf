#include "tests/support/GameStandIn.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>

namespace {

QByteArray firstArgument(qint64 pid)
{
    QFile file(QStringLiteral("/proc/%1/cmdline").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray commandLine = file.readAll();
    return commandLine.left(commandLine.indexOf('\0'));
}

} // namespace

GameStandIn::~GameStandIn()
{
    stop();
}

bool GameStandIn::start(Kind kind)
{
    const QString sleep = QStandardPaths::findExecutable(QStringLiteral("sleep"));
    if (!m_dir.isValid() || sleep.isEmpty())
        return false;
    QByteArray expected;
    if (kind == Kind::LinuxPath) {
        const QString game = m_dir.filePath(QStringLiteral("Games/NFS/NFSHS.EXE"));
        if (!QDir().mkpath(QFileInfo(game).path()) || !QFile::copy(sleep, game))
            return false;
        m_process.start(game, {QStringLiteral("60")});
        expected = QFile::encodeName(game);
    } else {
        expected = "C:\\Games\\NFS\\nfshs.exe";
        m_process.start(
            QStringLiteral("bash"),
            {QStringLiteral("-c"), QStringLiteral("exec -a \"$0\" sleep 60"), QString::fromLatin1(expected)});
    }
    if (!m_process.waitForStarted())
        return false;
    // bash replaces itself with sleep only after it has started.
    const QDeadlineTimer deadline(10000);
    while (firstArgument(pid()) != expected) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(5);
    }
    return true;
}

void GameStandIn::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.kill();
    m_process.waitForFinished();
}
