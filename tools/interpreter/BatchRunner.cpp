#include "tools/interpreter/BatchRunner.h"

#include "platform/FileName.h"
#include "platform/Process.h"
#include "tools/interpreter/ChildProgram.h"
#include "tools/interpreter/CopyCommand.h"

#include <QFile>

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
    // Rovex writes its batches in UTF-8, with paths that are not kept as their own bytes.
    const QStringList lines = batchLines(platform::decodeFileName(file.readAll()));
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
    QList<QByteArray> arguments;
    for (const QString& word : words)
        arguments.append(platform::encodeFileName(word));
    const ProgramEnd end = runProgramAndWait(arguments, m_timeoutMs);
    switch (end.how) {
    case ProgramEnd::How::NotStarted:
        m_programStatus = QStringLiteral("not-started");
        report(lineNumber, QStringLiteral("cannot start %1: %2").arg(words.first(), end.error));
        return false;
    case ProgramEnd::How::TimedOut:
        m_programStatus = QStringLiteral("timeout");
        report(lineNumber, QStringLiteral("%1 ran longer than %2 s and was stopped")
                               .arg(words.first())
                               .arg(m_timeoutMs / 1000));
        return false;
    case ProgramEnd::How::Exited:
    case ProgramEnd::How::Signalled:
        break;
    }
    const bool crashed = end.how == ProgramEnd::How::Signalled;
    m_programStatus = QStringLiteral("%1 %2")
                          .arg(crashed ? QStringLiteral("signal") : QStringLiteral("exit"))
                          .arg(end.code);
    if (crashed || end.code != 0) {
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
