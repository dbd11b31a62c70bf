#include "platform/FileName.h"
#include "platform/FsNative.h"
#include "platform/IniFile.h"
#include "skin/PictureName.h"
#include "skin/SkinError.h"
#include "skin/SkinForm.h"
#include "skin/SkinImage.h"
#include "skin/SkinMessages.h"
#include "skin/SplitItems.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Skins hold tens of items. A count beyond this cannot be a real skin and would only exhaust memory
// building placeholder records, so it is refused like a count that cannot be held.
constexpr qint32 MaxItemCount = 100000;

const QString DefaultHotAreaLine = QStringLiteral("NOT_DEFINED, 0, 0, 0, 0, Hint");
const QString DefaultDisplayLine = QStringLiteral("NOT_DEFINED, Arial, FALSE, FALSE, 0, $000000, 0, 0");
const QString DefaultTrackBarLine = QStringLiteral("NOT_DEFINED, NOT_DEFINED, NOT_DEFINED, 0, 0, 0, H");

const QString& requiredItem(const QStringList& items, int index)
{
    if (index >= items.size())
        throw SkinError(QStringLiteral("List index out of bounds (%1)").arg(index));
    return items[index];
}

qint32 toInteger(const QString& text)
{
    const std::optional<qint32> value = parseSkinInteger(text);
    if (!value)
        throw SkinError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return *value;
}

qint32 requiredInteger(const QStringList& items, int index)
{
    return toInteger(requiredItem(items, index));
}

QString optionalItem(const QStringList& items, int index)
{
    return index < items.size() ? items[index] : QString();
}

// "Ver", "Count" and "Charset": a value that is not an integer gives the default.
qint32 readNumber(const platform::IniFile& ini, const QString& section, const QString& key,
                  qint32 defaultValue)
{
    return parseSkinInteger(ini.value(section, key)).value_or(defaultValue);
}

// Why the file at `path` cannot be opened (a link that leads round in a loop, no permission); empty
// when it simply does not exist or opens.
QString whyNotOpened(const QString& path)
{
    const QByteArray encoded = platform::fs::native::encodePath(path);
    const int fd = ::open(encoded.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) {
        ::close(fd);
        return QString();
    }
    return errno == ENOENT ? QString() : platform::fs::native::errorText(errno);
}

// A missing definition file would read as an empty one of version 0 and end in a misleading
// complaint about the mask; a file that cannot be read at all is named with the reason.
void refuseUnreadSkinFile(const platform::IniFile& ini, const QString& fileName)
{
    using Status = platform::IniFile::Status;
    const QString shown = platform::displayFileName(fileName);
    switch (ini.status()) {
    case Status::Read:
        return;
    case Status::Missing:
    case Status::Unreadable:
        if (const QString reason = whyNotOpened(fileName); !reason.isEmpty())
            throw SkinError(QStringLiteral("Cannot open file %1: %2").arg(shown, reason));
        if (ini.status() == Status::Missing)
            throw SkinError(QStringLiteral("Skin file %1 does not exist").arg(shown));
        break;
    case Status::TooLarge:
        throw SkinError(QStringLiteral("File %1 is too large (over %2 MB)")
                            .arg(shown)
                            .arg(platform::IniFile::MaxFileBytes / (1024 * 1024)));
    case Status::NotAFile:
        break;
    }
    throw SkinError(QStringLiteral("Cannot open file %1").arg(shown));
}

qint32 readCount(const platform::IniFile& ini, const QString& section)
{
    const qint32 count = readNumber(ini, section, QStringLiteral("Count"), 0);
    if (count < 0)
        throw SkinError(QStringLiteral("Range check error"));
    if (count > MaxItemCount)
        throw SkinError(QStringLiteral("Out of memory"));
    return count;
}

QStringList readItemLine(const platform::IniFile& ini, const QString& section, qint32 number,
                         const QString& defaultLine)
{
    QStringList items;
    SplitItems(items, ini.value(section, QString::number(number), defaultLine), u',');
    return items;
}

// Group names compare without regard to letter case.
qsizetype indexOfGroup(const QStringList& names, const QString& name)
{
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (names[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

} // namespace

void TSkinForm::LoadSkin(const QString& fileName)
{
    SkinFileName = fileName;
    fillParent();
    WindowRegion.reset();
    HoverEnabled = true;

    messages().show(skinMessageText(SkinBannerText));

    const QString folder = fileName.left(fileName.lastIndexOf(u'/') + 1);
    const platform::IniFile ini(fileName);
    refuseUnreadSkinFile(ini, fileName);

    SkinVersion = readNumber(ini, QStringLiteral("Version"), QStringLiteral("Ver"), 0);
    if (SkinVersion < MinSkinVersion)
        messages().show(skinMessageText(SkinOldVersionText));

    const QString bitmapInfo = QStringLiteral("BITMAPINFO");
    QString maskName = ini.value(bitmapInfo, QStringLiteral("MaskBitmap"));
    QString upName = ini.value(bitmapInfo, QStringLiteral("MouseUpBitmap"), maskName);
    QString downName = ini.value(bitmapInfo, QStringLiteral("MouseDownBitmap"), upName);
    QString onName = ini.value(bitmapInfo, QStringLiteral("MouseOnBitmap"), downName);
    QString numbersName = ini.value(bitmapInfo, QStringLiteral("NumbersBitmap"));
    QString textName = ini.value(bitmapInfo, QStringLiteral("TextBitmap"));

    if (onName == downName)
        HoverEnabled = false;

    for (QString* name : {&maskName, &upName, &downName})
        *name = picturePath(folder, *name);
    for (QString* name : {&onName, &numbersName, &textName}) {
        if (!name->isEmpty())
            *name = picturePath(folder, *name);
    }

    HotAreas.resize(readCount(ini, QStringLiteral("HOTAREAINFO")));

    SkinPictures pictures(messages());
    pictures.load(MaskBitmap, maskName);
    pictures.load(MouseUpBitmap, upName);
    pictures.load(MouseOnBitmap, onName);
    pictures.load(MouseDownBitmap, downName);
    if (!numbersName.isEmpty())
        pictures.load(NumbersBitmap, numbersName);
    if (!textName.isEmpty())
        pictures.load(TextBitmap, textName);

    ApplyMask();

    loadHotAreas(ini);
    loadDisplays(ini);
    loadTrackBars(ini, folder, pictures);

    ActiveTrackBar = -1;
    emit skinChanged(this);
    PaintSkin();
}

void TSkinForm::loadHotAreas(const platform::IniFile& ini)
{
    const QString section = QStringLiteral("HOTAREAINFO");
    for (qint32 n = 1; n <= HotAreas.size(); ++n) {
        const QStringList items = readItemLine(ini, section, n, DefaultHotAreaLine);
        HotAreaInfoRec& area = HotAreas[n - 1];
        area.ID = requiredItem(items, 0);
        area.X = requiredInteger(items, 1);
        area.Y = requiredInteger(items, 2);
        area.Width = requiredInteger(items, 3);
        area.Height = requiredInteger(items, 4);
        area.Hint = requiredItem(items, 5);
        area.Toggle = false;
        area.Group.clear();
        area.Pressed = false;
        if (items.size() >= 7) {
            area.Toggle = true;
            area.Checked = items[6] != QLatin1String("FALSE");
        }
        if (items.size() != 8)
            continue;
        area.Group = items[7];
        qsizetype group = indexOfGroup(GroupNames, area.Group);
        if (group < 0) {
            GroupNames.append(area.Group);
            GroupCurrent.append(QStringLiteral("-1"));
            group = GroupNames.size() - 1;
        }
        if (area.Checked)
            GroupCurrent[group] = QString::number(n - 1);
    }
}

void TSkinForm::loadDisplays(const platform::IniFile& ini)
{
    const QString section = QStringLiteral("DISPLAYINFO");
    const qint32 count = readCount(ini, section);
    Charset = static_cast<quint8>(readNumber(ini, section, QStringLiteral("Charset"), 1) & 0xFF);
    Displays.resize(count);
    for (qint32 n = 1; n <= count; ++n) {
        const QStringList items = readItemLine(ini, section, n, DefaultDisplayLine);
        DisplayInfoRec& display = Displays[n - 1];
        display.ID = requiredItem(items, 0);
        display.Font = std::make_shared<DisplayFont>();
        display.Font->charset = Charset;
        display.Font->face = requiredItem(items, 1);
        display.Font->bold = requiredItem(items, 2) == QLatin1String("TRUE");
        display.Font->italic = requiredItem(items, 3) == QLatin1String("TRUE");
        display.Font->size = requiredInteger(items, 4);
        display.Font->color = requiredInteger(items, 5);
        display.X = requiredInteger(items, 6);
        display.Y = requiredInteger(items, 7);
        if (items.size() > 8)
            display.Kind = items[8];
        display.Value = optionalItem(items, 9);
        display.Hint = optionalItem(items, 10);
        if (items.size() >= 13) {
            display.Width = parseSkinInteger(items[11]).value_or(10);
            display.Height = parseSkinInteger(items[12]).value_or(10);
        }
    }
}

void TSkinForm::loadTrackBars(const platform::IniFile& ini, const QString& folder, SkinPictures& pictures)
{
    const QString section = QStringLiteral("TRACKBARINFO");
    TrackBars.resize(readCount(ini, section));
    for (qint32 n = 1; n <= TrackBars.size(); ++n) {
        const QStringList items = readItemLine(ini, section, n, DefaultTrackBarLine);
        TrackBarInfoRec& bar = TrackBars[n - 1];
        bar.ID = requiredItem(items, 0);
        if (!bar.ThumbBitmap)
            bar.ThumbBitmap = std::make_shared<QImage>();
        pictures.load(*bar.ThumbBitmap, picturePath(folder, requiredItem(items, 1)));
        if (!bar.ThumbDownBitmap)
            bar.ThumbDownBitmap = std::make_shared<QImage>();
        pictures.load(*bar.ThumbDownBitmap, picturePath(folder, requiredItem(items, 2)));
        bar.ThumbWidth = bar.ThumbDownBitmap->width();
        bar.ThumbHeight = bar.ThumbDownBitmap->height();
        bar.X = requiredInteger(items, 3);
        bar.Y = requiredInteger(items, 4);
        bar.Length = requiredInteger(items, 5);
        bar.Min = 0;
        bar.Max = 100;
        bar.Horizontal = requiredItem(items, 6) != QLatin1String("V");
        bar.Position = items.size() > 7 ? static_cast<quint8>(toInteger(items[7]) & 0xFF) : 0;
        bar.Hint = optionalItem(items, 8);
        // In 64 bits: a long track times the percentage must not overflow.
        bar.ThumbOffset = static_cast<qint32>(qint64(trackTravel(bar)) * bar.Position / 100);
    }
}
