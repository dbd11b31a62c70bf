#include "platform/BatchProcess.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr int kStopWaitMs = 5000;
constexpr int kDefaultTimeLimitMs = 10 * 60 * 1000;

int& timeLimitOverride()
{
    static int milliseconds = 0;
    return milliseconds;
}

// Runs in the started interpreter before it executes: a group of its own, so that it can be stopped
// with its programs, and an end together with ours.
std::function<void()> ownGroupEndingWithUs()
{
    const pid_t parent = getpid();
    return [parent] {
        setpgid(0, 0);
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent)
            _exit(127);
    };
}

// Whether a process of `group` still runs (ended ones that nobody has reaped yet do not count).
bool groupIsAlive(qint64 group)
{
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        bool isProcess = false;
        entry.toLongLong(&isProcess);
        if (!isProcess)
            continue;
        QFile stat(QStringLiteral("/proc/") + entry + QStringLiteral("/stat"));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        // "pid (name) state parent group ...": the name may hold blanks and parentheses.
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 2 && fields.at(2).toLongLong() == group && fields.at(0) != "Z" &&
            fields.at(0) != "X")
            return true;
    }
    return false;
}

} // namespace

BatchProcess::BatchProcess(QObject* parent)
    : QObject(parent)
{
    connect(&m_process, &QProcess::finished, this, &BatchProcess::ended);
}

BatchProcess::~BatchProcess()
{
    if (!hasEnded())
        stop();
}

StartResult BatchProcess::start(const QString& commandLine)
{
    const BatchInvocation invocation = batchInvocation(commandLine);
    if (!invocation.failure.isEmpty())
        return {false, invocation.failure};
    m_process.setProgram(invocation.interpreter);
    m_process.setArguments(invocation.arguments);
    m_process.setWorkingDirectory(invocation.folder);
    m_process.setStandardInputFile(QProcess::nullDevice());
    m_process.setProcessChannelMode(QProcess::ForwardedChannels);
    m_process.setChildProcessModifier(ownGroupEndingWithUs());
    m_process.start();
    if (!m_process.waitForStarted(-1))
        return {false, QStringLiteral("Не удалось запустить интерпретатор команд: %1 (%2)")
                           .arg(invocation.interpreter, m_process.errorString())};
    m_group = m_process.processId();
    return {true, {}};
}

bool BatchProcess::hasEnded() const
{
    return m_process.state() == QProcess::NotRunning;
}

bool BatchProcess::waitForEnd(int milliseconds)
{
    return hasEnded() || m_process.waitForFinished(milliseconds);
}

void BatchProcess::stop()
{
    if (m_group <= 0)
        return;
    ::kill(-pid_t(m_group), SIGKILL);
    m_process.waitForFinished(kStopWaitMs);
    // A program of the group can take a moment longer to go than the interpreter.
    QElapsedTimer waited;
    waited.start();
    while (groupIsAlive(m_group) && waited.elapsed() < kStopWaitMs)
        QThread::msleep(5);
    m_group = 0;
}

int batchTimeLimit()
{
    return timeLimitOverride() > 0 ? timeLimitOverride() : kDefaultTimeLimitMs;
}

void setBatchTimeLimit(int milliseconds)
{
    timeLimitOverride() = milliseconds;
}

} // namespace platform
