#include "platform/RunningGame.h"

#include <QDir>
#include <QFile>

namespace platform {
namespace {

// The kernel keeps at most 15 bytes of a process name.
constexpr qsizetype ProcessNameLength = 15;

QByteArray readProcFile(const QString& path)
{
    QFile file(path);
    // Files of the process table report no size: read until the end.
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool hasEnded(const QString& processFolder)
{
    // "pid (name) state ...": the name may hold blanks and parentheses, so the state follows the last ")".
    const QByteArray stat = readProcFile(processFolder + QStringLiteral("/stat"));
    const qsizetype close = stat.lastIndexOf(')');
    return close >= 0 && stat.mid(close + 2, 1) == "Z";
}

bool isNamed(const QByteArray& name, const QString& program)
{
    const QString text = QString::fromUtf8(name).trimmed();
    return text.compare(program.left(ProcessNameLength), Qt::CaseInsensitive) == 0;
}

// The first argument names the program when it ends in the program's file name after a folder
// separator of either system. Wine may also write the whole Windows command line into it, so the
// name may be followed by a blank and arguments, and may stand in quotes.
bool firstArgumentNames(const QByteArray& commandLine, const QString& program)
{
    const QString first = QString::fromUtf8(commandLine.left(commandLine.indexOf('\0')));
    for (qsizetype at = first.indexOf(program, 0, Qt::CaseInsensitive); at >= 0;
         at = first.indexOf(program, at + 1, Qt::CaseInsensitive)) {
        const QChar before = at > 0 ? first.at(at - 1) : QChar(u'/');
        const qsizetype after = at + program.size();
        const QChar next = after < first.size() ? first.at(after) : QChar(u' ');
        if ((before == u'/' || before == u'\\' || before == u'"') && (next == u' ' || next == u'"'))
            return true;
    }
    return false;
}

} // namespace

QList<qint64> runningProcesses(const QString& program, const QString& procRoot)
{
    QList<qint64> found;
    const QStringList entries = QDir(procRoot).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        bool isProcess = false;
        const qint64 pid = entry.toLongLong(&isProcess);
        if (!isProcess || pid <= 0)
            continue;
        const QString folder = procRoot + QLatin1Char('/') + entry;
        const bool named = isNamed(readProcFile(folder + QStringLiteral("/comm")), program) ||
                           firstArgumentNames(readProcFile(folder + QStringLiteral("/cmdline")), program);
        if (named && !hasEnded(folder))
            found.append(pid);
    }
    return found;
}

} // namespace platform
