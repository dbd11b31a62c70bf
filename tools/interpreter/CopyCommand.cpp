#include "tools/interpreter/CopyCommand.h"

#include "tools/interpreter/ReplacingFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace interpreter {

bool isCopyLine(const QStringList& words)
{
    return !words.isEmpty() && words.first().compare(QStringLiteral("copy"), Qt::CaseInsensitive) == 0;
}

std::optional<CopyCommand> parseCopyLine(const QStringList& words, QString* error)
{
    QStringList paths;
    // "/" starts our absolute paths, so /Y is the only switch there is.
    for (const QString& word : words.mid(1)) {
        if (word.compare(QStringLiteral("/Y"), Qt::CaseInsensitive) == 0)
            continue;
        paths.append(word);
    }
    if (paths.size() != 2) {
        *error = QStringLiteral("copy needs a source and a target");
        return std::nullopt;
    }
    return CopyCommand{paths.at(0), paths.at(1)};
}

namespace {

QString targetFile(const CopyCommand& command)
{
    if (QFileInfo(command.target).isDir())
        return QDir(command.target).filePath(QFileInfo(command.source).fileName());
    return command.target;
}

} // namespace

QString runCopy(const CopyCommand& command)
{
    if (!QFileInfo(command.source).isFile())
        return QStringLiteral("no file %1").arg(command.source);
    const QString target = targetFile(command);

    QFile source(command.source);
    if (!source.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot read %1: %2").arg(command.source, source.errorString());
    ReplacingFile output(target);
    if (const QString error = output.open(); !error.isEmpty())
        return error;
    constexpr qint64 chunkSize = 64 * 1024;
    while (!source.atEnd()) {
        const QByteArray chunk = source.read(chunkSize);
        if (chunk.isEmpty() && source.error() != QFileDevice::NoError)
            return QStringLiteral("cannot read %1: %2").arg(command.source, source.errorString());
        if (const QString error = output.write(chunk.constData(), chunk.size()); !error.isEmpty())
            return error;
    }
    return output.commit();
}

QString statusPathFor(const CopyCommand& command)
{
    return targetFile(command) + QStringLiteral(".status");
}

QString writeLineFile(const QString& path, const QByteArray& line)
{
    ReplacingFile output(path);
    const QByteArray bytes = line + "\r\n";
    QString error = output.open();
    if (error.isEmpty())
        error = output.write(bytes.constData(), bytes.size());
    return error.isEmpty() ? output.commit() : error;
}

} // namespace interpreter
