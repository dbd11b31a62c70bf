#include "platform/Process.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>

namespace platform {
namespace {

QString& interpreterOverride()
{
    static QString path;
    return path;
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

// The entry of path's folder whose name equals path's name without regard to letter case, as Windows
// finds it; `path` itself when it exists or nothing matches.
QString existingIgnoringCase(const QString& path)
{
    const QFileInfo info(path);
    if (info.exists())
        return path;
    const QDir folder = info.absoluteDir();
    const QStringList names = folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        if (name.compare(info.fileName(), Qt::CaseInsensitive) == 0)
            return folder.filePath(name);
    }
    return path;
}

bool startsWithMz(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(2) == "MZ";
}

// Started programs never get our standard input: a hidden program must not wait for a keyboard.
// An empty `environment` passes ours on unchanged.
bool startDetached(const QString& program, const QStringList& arguments, const QString& workingFolder,
                   const QProcessEnvironment& environment = {})
{
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setWorkingDirectory(workingFolder);
    process.setStandardInputFile(QProcess::nullDevice());
    if (!environment.isEmpty())
        process.setProcessEnvironment(environment);
    return process.startDetached();
}

// The Wine prefix that holds the file `path`: the nearest folder above it with a "drive_c" folder and
// a "system.reg" file; empty when there is none.
QString winePrefixAbove(const QString& path)
{
    QDir folder = QFileInfo(path).absoluteDir();
    for (;;) {
        if (QFileInfo(folder.filePath(QStringLiteral("drive_c"))).isDir() &&
            QFileInfo(folder.filePath(QStringLiteral("system.reg"))).isFile())
            return folder.absolutePath();
        if (folder.isRoot() || !folder.cdUp())
            return {};
    }
}

// A game inside a Wine prefix runs in that prefix, where its installer left its registry keys and
// settings, whatever WINEPREFIX the user's session has. A link into a prefix counts as well.
QProcessEnvironment gameEnvironment(const QFileInfo& game)
{
    QString prefix = winePrefixAbove(game.absoluteFilePath());
    if (prefix.isEmpty())
        prefix = winePrefixAbove(game.canonicalFilePath());
    if (prefix.isEmpty())
        return {};
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("WINEPREFIX"), prefix);
    return environment;
}

StartResult failed(const QString& reason)
{
    return {false, reason};
}

BatchInvocation invocationOf(const QString& batch)
{
    BatchInvocation invocation;
    const QString batchPath = existingIgnoringCase(QFileInfo(batch).absoluteFilePath());
    invocation.interpreter = interpreterPath();
    if (!QFileInfo(batchPath).isFile()) {
        invocation.failure = QStringLiteral("Командный файл не найден: %1").arg(batch);
        return invocation;
    }
    const QFileInfo interpreterInfo(invocation.interpreter);
    if (!interpreterInfo.isFile() || !interpreterInfo.isExecutable()) {
        invocation.failure = QStringLiteral("Не найден интерпретатор команд: %1").arg(invocation.interpreter);
        return invocation;
    }
    const QString settings = existingIgnoringCase(batchPath.chopped(4) + QStringLiteral(".pif"));
    // Our batches take no parameters: whatever follows the batch on the command line is not passed on.
    invocation.arguments = {QStringLiteral("--settings"), settings, batchPath};
    invocation.folder = QFileInfo(batchPath).absolutePath();
    return invocation;
}

StartResult startBatch(const QString& batch)
{
    const BatchInvocation invocation = invocationOf(batch);
    if (!invocation.failure.isEmpty())
        return failed(invocation.failure);
    if (!startDetached(invocation.interpreter, invocation.arguments, invocation.folder))
        return failed(
            QStringLiteral("Не удалось запустить интерпретатор команд: %1").arg(invocation.interpreter));
    return {true, {}};
}

} // namespace

QStringList splitCommandLine(const QString& commandLine)
{
    QStringList arguments;
    QString current;
    bool inArgument = false;
    bool inQuotes = false;
    const qsizetype length = commandLine.size();
    qsizetype i = 0;
    while (i < length) {
        const QChar c = commandLine.at(i);
        if (c == u'\\') {
            qsizetype end = i;
            while (end < length && commandLine.at(end) == u'\\')
                ++end;
            const qsizetype count = end - i;
            inArgument = true;
            if (end < length && commandLine.at(end) == u'"') {
                current += QString(count / 2, u'\\');
                if (count % 2 == 1) {
                    current += u'"';
                    ++end;
                }
            } else {
                current += QString(count, u'\\');
            }
            i = end;
        } else if (c == u'"') {
            inArgument = true;
            if (inQuotes && i + 1 < length && commandLine.at(i + 1) == u'"') {
                current += u'"';
                i += 2;
            } else {
                inQuotes = !inQuotes;
                ++i;
            }
        } else if (isBlank(c) && !inQuotes) {
            if (inArgument) {
                arguments.append(current);
                current.clear();
                inArgument = false;
            }
            ++i;
        } else {
            current += c;
            inArgument = true;
            ++i;
        }
    }
    if (inArgument)
        arguments.append(current);
    return arguments;
}

StartResult winExec(const QString& commandLine, int showWindow)
{
    Q_UNUSED(showWindow);
    QStringList arguments = splitCommandLine(commandLine);
    if (arguments.isEmpty())
        return failed(QStringLiteral("Пустая командная строка."));
    const QString program = arguments.takeFirst();
    if (program.endsWith(QStringLiteral(".bat"), Qt::CaseInsensitive))
        return startBatch(program);

    // A bare name is looked up on PATH, as a shell would; a name with a folder is taken as it is.
    const QString path = program.contains(u'/') ? program : QStandardPaths::findExecutable(program);
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        return failed(QStringLiteral("Программа не найдена: %1").arg(program));
    if (!info.isFile() || !info.isExecutable())
        return failed(QStringLiteral("Программа не может быть запущена: %1").arg(program));
    if (!startDetached(info.absoluteFilePath(), arguments, QDir::currentPath()))
        return failed(QStringLiteral("Программа не может быть запущена: %1").arg(program));
    return {true, {}};
}

BatchInvocation batchInvocation(const QString& commandLine)
{
    const QStringList arguments = splitCommandLine(commandLine);
    if (arguments.isEmpty() || !arguments.first().endsWith(QStringLiteral(".bat"), Qt::CaseInsensitive)) {
        BatchInvocation invocation;
        invocation.failure = QStringLiteral("Не командный файл: %1").arg(commandLine);
        return invocation;
    }
    return invocationOf(arguments.first());
}

StartResult startGame(const QString& executable, const QString& workingFolder)
{
    const QString path = existingIgnoringCase(executable);
    const QFileInfo info(path);
    if (!info.exists())
        return failed(QStringLiteral("Файл игры не найден: %1").arg(executable));
    const QString cannotStart = QStringLiteral("Файл игры нельзя запустить: %1").arg(executable);
    if (!info.isFile())
        return failed(cannotStart);

    const QProcessEnvironment environment = gameEnvironment(info);
    // A Windows executable goes to wine even with the execute bit: Windows disks mounted on Linux
    // often mark every file executable, and the kernel cannot run it itself.
    if (startsWithMz(path)) {
        const QString wine = QStandardPaths::findExecutable(QStringLiteral("wine"));
        if (wine.isEmpty())
            return failed(
                QStringLiteral("Для запуска игры (программы Windows) нужен Wine: установите пакет wine."));
        if (!startDetached(wine, {info.absoluteFilePath()}, workingFolder, environment))
            return failed(cannotStart);
        return {true, {}};
    }
    if (!info.isExecutable() || !startDetached(info.absoluteFilePath(), {}, workingFolder, environment))
        return failed(cannotStart);
    return {true, {}};
}

QString interpreterPath()
{
    const QString& path = interpreterOverride();
    if (!path.isEmpty())
        return path;
    return QCoreApplication::applicationDirPath() + QStringLiteral("/rovex-cmd");
}

void setInterpreterPath(const QString& path)
{
    interpreterOverride() = path;
}

} // namespace platform
