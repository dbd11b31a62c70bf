#include "tools/interpreter/BatchRunner.h"

#include "platform/Process.h"
#include "platform/TextCodec.h"
#include "tools/interpreter/CopyCommand.h"

#include <QFile>
#include <QProcess>

#include <climits>
#include <csignal>
#include <cstdio>
#include <functional>
#include <sys/prctl.h>
#include <unistd.h>

namespace interpreter {

namespace {

// A program outlives nothing of ours: when the interpreter ends, killed or not, so does the program
// it waits for, so that no archiver goes on writing after the batch has been given up.
std::function<void()> endWithTheInterpreter()
{
    const pid_t interpreter = getpid();
    return [interpreter] {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != interpreter)
            _exit(127);
    };
}

} // namespace

BatchRunner::BatchRunner(int timeoutSeconds)
    : m_timeoutMs(timeoutSeconds > INT_MAX / 1000 ? INT_MAX : timeoutSeconds * 1000)
{
}

QStringList BatchRunner::batchLines(const QString& text)
{
    QStringList lines;
    for (QString line : text.split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (!line.trimmed().isEmpty())
            lines.append(line);
    }
    return lines;
}

bool BatchRunner::runFile(const QString& batchPath)
{
    QFile file(batchPath);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "rovex-cmd: cannot read %s: %s\n", qPrintable(batchPath),
                     qPrintable(file.errorString()));
        return false;
    }
    const QStringList lines = batchLines(platform::decodeText(file.readAll()));
    file.close();
    bool allSucceeded = true;
    int lineNumber = 0;
    for (const QString& line : lines)
        allSucceeded = runLine(line, ++lineNumber) && allSucceeded;
    return allSucceeded;
}

bool BatchRunner::runLine(const QString& line, int lineNumber)
{
    const QStringList words = platform::splitCommandLine(line);
    if (words.isEmpty())
        return true;
    return isCopyLine(words) ? runCopyLine(words, lineNumber) : runProgram(words, lineNumber);
}

bool BatchRunner::runCopyLine(const QStringList& words, int lineNumber)
{
    QString error;
    const std::optional<CopyCommand> command = parseCopyLine(words, &error);
    bool statusWritten = true;
    if (command && m_programStatus) {
        // Written before the copy, so whoever waits for the target finds the status already there.
        const QString statusError = writeLineFile(statusPathFor(*command), m_programStatus->toUtf8());
        statusWritten = statusError.isEmpty();
        if (!statusWritten)
            report(lineNumber, statusError);
    }
    m_programStatus.reset();
    if (command)
        error = runCopy(*command);
    if (!error.isEmpty()) {
        report(lineNumber, error);
        return false;
    }
    return statusWritten;
}

bool BatchRunner::runProgram(const QStringList& words, int lineNumber)
{
    QProcess process;
    process.setProgram(words.first());
    process.setArguments(words.mid(1));
    process.setStandardInputFile(QProcess::nullDevice());
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.setChildProcessModifier(endWithTheInterpreter());
    process.start();
    if (!process.waitForStarted(-1)) {
        m_programStatus = QStringLiteral("not-started");
        report(lineNumber, QStringLiteral("cannot start %1: %2").arg(words.first(), process.errorString()));
        return false;
    }
    if (!process.waitForFinished(m_timeoutMs)) {
        process.kill();
        process.waitForFinished(-1);
        m_programStatus = QStringLiteral("timeout");
        report(lineNumber, QStringLiteral("%1 ran longer than %2 s and was stopped")
                               .arg(words.first())
                               .arg(m_timeoutMs / 1000));
        return false;
    }
    // After a crash Qt gives the number of the signal that ended the program as its exit code.
    const bool crashed = process.exitStatus() != QProcess::NormalExit;
    m_programStatus = QStringLiteral("%1 %2")
                          .arg(crashed ? QStringLiteral("signal") : QStringLiteral("exit"))
                          .arg(process.exitCode());
    if (crashed || process.exitCode() != 0) {
        report(lineNumber, QStringLiteral("%1 failed (%2)").arg(words.first(), *m_programStatus));
        return false;
    }
    return true;
}

void BatchRunner::report(int lineNumber, const QString& message) const
{
    std::fprintf(stderr, "rovex-cmd: line %d: %s\n", lineNumber, qPrintable(message));
}

} // namespace interpreter
