#include "platform/RunningGame.h"

#include <QDir>
#include <QFile>

#include <unistd.h>

namespace platform {
namespace {

// The kernel keeps at most 15 bytes of a process name.
constexpr qsizetype ProcessNameLength = 15;

QString& processTableOverride()
{
    static QString folder;
    return folder;
}

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

// Another user's game is none of this user's business: its files are not the ones swapped here.
bool belongsToThisUser(const QString& processFolder)
{
    const QByteArray status = readProcFile(processFolder + QStringLiteral("/status"));
    for (const QByteArray& line : status.split('\n')) {
        if (line.startsWith("Uid:")) {
            bool isNumber = false;
            const uint uid = line.mid(4).simplified().split(' ').value(0).toUInt(&isNumber);
            return isNumber && uid == getuid();
        }
    }
    return false;
}

bool isNamed(const QByteArray& name, const QString& program)
{
    const QString text = QString::fromUtf8(name).trimmed();
    return text.compare(program.left(ProcessNameLength), Qt::CaseInsensitive) == 0;
}

// An argument names the program when it ends in the program's file name after a folder separator of
// either system. Wine may also write the whole Windows command line into it, so the name may be
// followed by a blank and arguments, and may stand in quotes.
bool argumentNames(const QString& argument, const QString& program)
{
    for (qsizetype at = argument.indexOf(program, 0, Qt::CaseInsensitive); at >= 0;
         at = argument.indexOf(program, at + 1, Qt::CaseInsensitive)) {
        const QChar before = at > 0 ? argument.at(at - 1) : QChar(u'/');
        const qsizetype after = at + program.size();
        const QChar next = after < argument.size() ? argument.at(after) : QChar(u' ');
        if ((before == u'/' || before == u'\\' || before == u'"') && (next == u' ' || next == u'"'))
            return true;
    }
    return false;
}

bool isWineLoader(const QString& argument)
{
    static const QStringList loaders{QStringLiteral("wine"), QStringLiteral("wine64"),
                                     QStringLiteral("wine-preloader"), QStringLiteral("wine64-preloader")};
    return loaders.contains(argument.mid(argument.lastIndexOf(u'/') + 1));
}

// The first argument, or the first one after Wine's loaders: the preloader runs the loader, which
// runs the program.
bool commandLineNames(const QByteArray& commandLine, const QString& program)
{
    const QList<QByteArray> arguments = commandLine.split('\0');
    qsizetype first = 0;
    while (first + 1 < arguments.size() && isWineLoader(QString::fromUtf8(arguments.at(first))))
        ++first;
    return argumentNames(QString::fromUtf8(arguments.at(first)), program);
}

} // namespace

QList<qint64> runningProcesses(const QString& program, const QString& procRoot)
{
    const QString table = procRoot.isEmpty() ? processTable() : procRoot;
    QList<qint64> found;
    const QStringList entries = QDir(table).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        bool isProcess = false;
        const qint64 pid = entry.toLongLong(&isProcess);
        if (!isProcess || pid <= 0)
            continue;
        const QString folder = table + QLatin1Char('/') + entry;
        const bool named = isNamed(readProcFile(folder + QStringLiteral("/comm")), program) ||
                           commandLineNames(readProcFile(folder + QStringLiteral("/cmdline")), program);
        if (named && belongsToThisUser(folder) && !hasEnded(folder))
            found.append(pid);
    }
    return found;
}

QString processTable()
{
    const QString& folder = processTableOverride();
    return folder.isEmpty() ? QStringLiteral("/proc") : folder;
}

void setProcessTable(const QString& folder)
{
    processTableOverride() = folder;
}

} // namespace platform
