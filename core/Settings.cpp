#include "core/Settings.h"

#include "core/IoError.h"
#include "core/SystemErrorText.h"
#include "platform/FileSystem.h"
#include "platform/TextCodec.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>

namespace {

// Lines end at LF or CR LF; the file's last line may have no end.
QStringList firstLines(const QString& text, int count)
{
    QStringList lines;
    qsizetype start = 0;
    while (lines.size() < count && start < text.size()) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        if (end < 0)
            end = text.size();
        QString line = text.mid(start, end - start);
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        lines.append(line);
        start = end + 1;
    }
    while (lines.size() < count)
        lines.append(QString());
    return lines;
}

} // namespace

std::optional<Settings> readSettings(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return std::nullopt;
    QFile file(path);
    if (info.isDir() || !file.open(QIODevice::ReadOnly))
        throw IoError(QStringLiteral("Не удалось прочитать файл настроек \"%1\".").arg(path));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw IoError(
            QStringLiteral("Ошибка чтения файла настроек \"%1\": %2.").arg(path, systemErrorInWords(errno)));
    const QStringList lines = firstLines(platform::decodeText(bytes), 3);
    return Settings{lines[0], lines[1], lines[2]};
}

QByteArray settingsBytes(const Settings& settings)
{
    const QByteArray lineEnd("\r\n");
    return settings.trackDir.toUtf8() + lineEnd + settings.gameDir.toUtf8() + lineEnd +
           settings.state.toUtf8() + lineEnd;
}

void writeSettings(const QString& path, const Settings& settings)
{
    if (!platform::fs::writeFileAtomically(path, settingsBytes(settings)).isEmpty())
        throw IoError(QStringLiteral("Не удалось записать файл настроек \"%1\": %2.")
                          .arg(path, systemErrorInWords(errno)));
}
