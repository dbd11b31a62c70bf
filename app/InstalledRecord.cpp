#include "app/InstalledRecord.h"

#include "app/InstallTracks.h"
#include "platform/FileName.h"
#include "platform/FileSystem.h"

#include <QFile>

namespace installed {

namespace {

const QByteArray kLineEnd("\r\n");
constexpr qint64 kLongestRecord = 1 << 20;

} // namespace

QByteArray recordBytes(const Record& record)
{
    using platform::encodeFileName;
    QByteArray bytes = encodeFileName(record.gameDir) + kLineEnd;
    for (const Slot& slot : record.archives)
        bytes +=
            encodeFileName((QStringList{slot.slot, slot.archive} + slot.entries).join(QLatin1Char('\t'))) +
            kLineEnd;
    return bytes;
}

std::optional<Record> parseRecord(const QByteArray& bytes)
{
    QList<QByteArray> lines = bytes.split('\n');
    if (lines.size() < 2 || !lines.takeLast().isEmpty())
        return std::nullopt;
    Record record;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (!lines.at(i).endsWith('\r'))
            return std::nullopt;
        const QString line = platform::decodeFileName(lines.at(i).chopped(1));
        if (i == 0) {
            record.gameDir = line;
            continue;
        }
        const QStringList fields = line.split(QLatin1Char('\t'));
        if (fields.size() < 3)
            return std::nullopt;
        record.archives.append({fields.at(0), fields.at(1), fields.mid(2)});
    }
    return record;
}

bool write(const QString& path, const Record& record)
{
    return platform::fs::writeFileAtomically(path, recordBytes(record)).isEmpty();
}

std::optional<Record> read(const QString& path)
{
    QFile file(path);
    if (!platform::fs::fileExists(path) || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return parseRecord(file.read(kLongestRecord));
}

QMap<QString, QString> archivesInGame(const Record& record, const QString& gameDir)
{
    QMap<QString, QString> archives;
    if (record.gameDir != gameDir)
        return archives;
    for (const Slot& slot : record.archives) {
        const QString folder = install::gameSlotFolder(gameDir, slot.slot);
        const bool present = std::all_of(slot.entries.begin(), slot.entries.end(), [&](const QString& entry) {
            return !entry.isEmpty() && platform::fs::fileExists(folder + entry);
        });
        if (present)
            archives.insert(slot.slot, slot.archive);
    }
    return archives;
}

} // namespace installed
