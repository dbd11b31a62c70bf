#include "skin/SkinImage.h"

#include "skin/BitmapCheck.h"
#include "skin/JpegReader.h"
#include "skin/SkinError.h"
#include "skin/SkinMessages.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace {

// The reader refuses bitmaps and icons beyond these before decoding them.
constexpr int MaxImageSide = 32767;
constexpr qint64 MaxImagePixels = 64LL * 1024 * 1024;
constexpr qint64 BytesPerMegabyte = 1024 * 1024;

enum class PictureFormat
{
    Unknown,
    Bitmap,
    Jpeg,
    Icon
};

// After the last "/" or ":": a dot in a folder name never counts.
QString fileNamePart(const QString& path)
{
    const qsizetype cut = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char(':')));
    return path.mid(cut + 1);
}

QString lastExtensionOf(const QString& fileName)
{
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : fileName.mid(dot + 1).toLower();
}

// Metafiles have no reader here, so they share the unknown-extension message.
PictureFormat formatOf(const QString& extension)
{
    if (extension == QLatin1String("bmp"))
        return PictureFormat::Bitmap;
    if (extension == QLatin1String("jpg") || extension == QLatin1String("jpeg"))
        return PictureFormat::Jpeg;
    if (extension == QLatin1String("ico"))
        return PictureFormat::Icon;
    return PictureFormat::Unknown;
}

[[noreturn]] void failBitmap()
{
    throw SkinError(QStringLiteral("Bitmap image is not valid"));
}

[[noreturn]] void failTooLarge(const QString& path)
{
    throw SkinError(QStringLiteral("File %1 is too large (over %2 MB)")
                        .arg(path)
                        .arg(MaxPictureFileBytes / BytesPerMegabyte));
}

// Only a regular file is opened: a FIFO would block the load for good, a device would never end.
QByteArray readPictureFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        throw SkinError(QStringLiteral("Cannot open file %1").arg(path));
    if (info.size() > MaxPictureFileBytes)
        failTooLarge(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw SkinError(QStringLiteral("Cannot open file %1").arg(path));
    // Asking for the cap at once would allocate that much for every small picture: read what the
    // file holds, and only a file that grew since it was looked at is read on up to the cap.
    QByteArray data = file.read(info.size() + 1);
    if (data.size() > info.size())
        data += file.read(MaxPictureFileBytes + 1 - data.size());
    if (data.size() > MaxPictureFileBytes)
        failTooLarge(path);
    return data;
}

QImage readWithQt(const QByteArray& data, const char* format)
{
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    // The extension alone names the decoder: GIF data called .bmp is no bitmap.
    reader.setAutoDetectImageFormat(false);
    reader.setAutoTransform(false);
    const QSize declared = reader.size();
    if (declared.isValid() && (declared.width() > MaxImageSide || declared.height() > MaxImageSide ||
                               qint64(declared.width()) * declared.height() > MaxImagePixels))
        failBitmap();
    QImage picture;
    if (!reader.read(&picture) || picture.isNull())
        failBitmap();
    if (picture.width() > MaxImageSide || picture.height() > MaxImageSide)
        failBitmap();
    return picture;
}

QImage readJpeg(const QByteArray& data)
{
    QImage picture;
    if (const int code = DecodeJpeg(data, picture); code != 0)
        throw SkinError(QStringLiteral("JPEG error #%1").arg(code));
    return picture;
}

QImage readPicture(const QString& path)
{
    const QString extension = lastExtensionOf(fileNamePart(path));
    const PictureFormat format = formatOf(extension);
    if (format == PictureFormat::Unknown)
        throw SkinError(QStringLiteral("Unknown picture file extension (.%1)").arg(extension));
    const QByteArray data = readPictureFile(path);
    switch (format) {
    case PictureFormat::Bitmap:
        if (!bitmapIsComplete(data))
            failBitmap();
        return readWithQt(data, "bmp");
    case PictureFormat::Icon:
        return readWithQt(data, "ico");
    case PictureFormat::Jpeg:
    case PictureFormat::Unknown:
        break;
    }
    return readJpeg(data);
}

} // namespace

QString ExtensionOf(const QString& name)
{
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    if (dot < 0)
        return QString();
    QString extension = name.mid(dot + 1, 3);
    for (QChar& c : extension) {
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 'a' + 'A');
    }
    return extension;
}

bool LoadSkinImage(QImage& target, const QString& fileName, SkinMessages& messages)
{
    if (ExtensionOf(fileNamePart(fileName)) == QLatin1String("GIF")) {
        messages.show(QStringLiteral("No GIF support!"));
        return false;
    }
    QImage picture = readPicture(fileName);
    target = picture.format() == QImage::Format_RGB32 ? std::move(picture)
                                                      : picture.convertToFormat(QImage::Format_RGB32);
    return true;
}

SkinPictures::SkinPictures(SkinMessages& messages, qint64 budgetBytes)
    : m_messages(messages)
    , m_budgetBytes(budgetBytes)
{
}

void SkinPictures::load(QImage& target, const QString& fileName)
{
    const auto known = m_decoded.constFind(fileName);
    if (known != m_decoded.constEnd()) {
        target = *known;
        return;
    }
    QImage picture;
    if (!LoadSkinImage(picture, fileName, m_messages))
        return;
    if (m_usedBytes + picture.sizeInBytes() > m_budgetBytes)
        throw SkinError(QStringLiteral("Skin pictures exceed %1 MB of memory at file %2")
                            .arg(m_budgetBytes / BytesPerMegabyte)
                            .arg(fileName));
    m_usedBytes += picture.sizeInBytes();
    m_decoded.insert(fileName, picture);
    target = picture;
}
