#include "tools/interpreter/BatchRunner.h"

#include "platform/Process.h"
#include "platform/TextCodec.h"
#include "tools/interpreter/CopyCommand.h"

#include <QFile>
#include <QProcess>

#include <climits>
#include <cstdio>

namespace interpreter {

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
    if (!isCopyLine(words))
        return runProgram(words, lineNumber);

    QString error;
    const std::optional<CopyCommand> command = parseCopyLine(words, &error);
    if (command)
        error = runCopy(*command);
    if (!error.isEmpty()) {
        report(lineNumber, error);
        return false;
    }
    return true;
}

bool BatchRunner::runProgram(const QStringList& words, int lineNumber)
{
    QProcess process;
    process.setProgram(words.first());
    process.setArguments(words.mid(1));
    process.setStandardInputFile(QProcess::nullDevice());
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start();
    if (!process.waitForStarted(-1)) {
        report(lineNumber, QStringLiteral("cannot start %1: %2").arg(words.first(), process.errorString()));
        return false;
    }
    if (!process.waitForFinished(m_timeoutMs)) {
        process.kill();
        process.waitForFinished(-1);
        report(lineNumber, QStringLiteral("%1 ran longer than %2 s and was stopped")
                               .arg(words.first())
                               .arg(m_timeoutMs / 1000));
        return false;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        report(lineNumber,
               QStringLiteral("%1 failed (exit code %2)").arg(words.first()).arg(process.exitCode()));
        return false;
    }
    return true;
}

void BatchRunner::report(int lineNumber, const QString& message) const
{
    std::fprintf(stderr, "rovex-cmd: line %d: %s\n", lineNumber, qPrintable(message));
}

} // namespace interpreter
