#include "skin/SkinImage.h"

#include "skin/JpegReader.h"
#include "skin/SkinError.h"
#include "skin/SkinMessages.h"

#include <QFile>
#include <QImageReader>

namespace {

// The reader refuses bitmaps and icons beyond these before decoding them.
constexpr int MaxImageSide = 32767;
constexpr qint64 MaxImagePixels = 64LL * 1024 * 1024;

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

QImage readWithQt(QFile& file, const char* format)
{
    QImageReader reader(&file, format);
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

QImage readJpeg(QFile& file)
{
    const QByteArray data = file.readAll();
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
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw SkinError(QStringLiteral("Cannot open file %1").arg(path));
    switch (format) {
    case PictureFormat::Bitmap:
        return readWithQt(file, "bmp");
    case PictureFormat::Icon:
        return readWithQt(file, "ico");
    case PictureFormat::Jpeg:
    case PictureFormat::Unknown:
        break;
    }
    return readJpeg(file);
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

void LoadSkinImage(QImage& target, const QString& fileName, SkinMessages& messages)
{
    if (ExtensionOf(fileNamePart(fileName)) == QLatin1String("GIF")) {
        messages.show(QStringLiteral("No GIF support!"));
        return;
    }
    QImage picture = readPicture(fileName);
    target = picture.format() == QImage::Format_RGB32 ? std::move(picture)
                                                      : picture.convertToFormat(QImage::Format_RGB32);
}
