#include "skin/PictureName.h"

#include "platform/FileName.h"
#include "platform/FsNative.h"
#include "platform/TextCodec.h"

#include <QHash>

#include <optional>
#include <sys/stat.h>

namespace {

// `text` in Windows-1251; none when a character has no byte there.
std::optional<QByteArray> windows1251Bytes(const QString& text)
{
    static const QHash<char16_t, char> bytes = [] {
        QHash<char16_t, char> table;
        for (int byte = 0x80; byte <= 0xff; ++byte)
            table.insert(platform::decodeWindows1251(QByteArray(1, char(byte))).at(0).unicode(), char(byte));
        return table;
    }();
    QByteArray encoded;
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            encoded += char(c.unicode());
            continue;
        }
        const auto byte = bytes.constFind(c.unicode());
        if (byte == bytes.constEnd())
            return std::nullopt;
        encoded += *byte;
    }
    return encoded;
}

bool exists(const QString& path)
{
    struct stat info;
    return platform::fs::native::statEntry(path, info);
}

} // namespace

QString picturePath(const QString& folder, QString name)
{
    name.replace(u'\\', u'/');
    const QString asRead = folder + name;
    if (exists(asRead))
        return asRead;
    const std::optional<QByteArray> codePage = windows1251Bytes(name);
    if (!codePage || *codePage == name.toUtf8())
        return asRead;
    const QString asBytes = folder + platform::decodeFileName(*codePage);
    return exists(asBytes) ? asBytes : asRead;
}
