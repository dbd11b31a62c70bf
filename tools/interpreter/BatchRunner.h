#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Runs a batch file line by line, each line whether or not the one before succeeded. A line is a
// copy command or a program with its arguments, split by the Windows command-line rules and started
// directly: no shell ever sees a line, so nothing in it is expanded, piped or chained.
namespace interpreter {

class BatchRunner
{
public:
    explicit BatchRunner(int timeoutSeconds);

    // Whether every line succeeded; failures are told on standard error.
    bool runFile(const QString& batchPath);
    bool runLine(const QString& line, int lineNumber);

    // The lines of a batch text: they end at CR LF, LF or the end; blank lines are left out.
    static QStringList batchLines(const QString& text);

private:
    bool runProgram(const QStringList& words, int lineNumber);
    bool runCopyLine(const QStringList& words, int lineNumber);
    void report(int lineNumber, const QString& message) const;

    int m_timeoutMs;
    // How the last program line ended ("exit 0", "signal 9", "timeout", "not-started"); a copy line
    // records it beside its target and clears it.
    std::optional<QString> m_programStatus;
};

} // namespace interpreter
