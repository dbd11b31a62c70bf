#include "tests/support/GameStandIn.h"

#include "platform/RunningGame.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

bool GameStandIn::start(const QString& firstArgument)
{
    m_process.start(QStringLiteral("bash"),
                    {QStringLiteral("-c"), QStringLiteral("exec -a \"$0\" sleep 60"), firstArgument});
    if (!m_process.waitForStarted())
        return false;
    // bash gives its place to sleep only after it has started.
    const QByteArray expected = firstArgument.toUtf8() + '\0';
    for (const QDeadlineTimer deadline(10000); !deadline.hasExpired(); QThread::msleep(5)) {
        QFile commandLine(QStringLiteral("/proc/%1/cmdline").arg(pid()));
        if (commandLine.open(QIODevice::ReadOnly) && commandLine.readAll().startsWith(expected))
            return platform::processTable() == QStringLiteral("/proc") ||
                   QFile::link(QStringLiteral("/proc/%1").arg(pid()),
                               platform::processTable() + QStringLiteral("/%1").arg(pid()));
    }
    return false;
}

void GameStandIn::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.kill();
    m_process.waitForFinished();
}
