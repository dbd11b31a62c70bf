#include "skin/SkinImage.h"

#include "platform/FileName.h"
#include "platform/FsNative.h"
#include "skin/BitmapCheck.h"
#include "skin/JpegReader.h"
#include "skin/RunLengthBitmap.h"
#include "skin/SkinError.h"
#include "skin/SkinMessages.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
                        .arg(platform::displayFileName(path))
                        .arg(MaxPictureFileBytes / BytesPerMegabyte));
}

[[noreturn]] void failOpen(const QString& path)
{
    throw SkinError(QStringLiteral("Cannot open file %1").arg(platform::displayFileName(path)));
}

// Raised inside the reader when a picture would take the pictures past their memory budget; the
// caller words it with its budget.
struct OverBudget
{
};

SkinError budgetError(qint64 budgetBytes, const QString& path)
{
    return SkinError(QStringLiteral("Skin pictures exceed %1 MB of memory at file %2")
                         .arg(budgetBytes / BytesPerMegabyte)
                         .arg(platform::displayFileName(path)));
}

// Only a regular file is opened: a FIFO would block the load for good, a device would never end. The
// path goes to the system with the bytes of its name, also a name that is not UTF-8.
QByteArray readPictureFile(const QString& path)
{
    struct stat info;
    if (!platform::fs::native::statTarget(path, info) || !S_ISREG(info.st_mode))
        failOpen(path);
    if (info.st_size > MaxPictureFileBytes)
        failTooLarge(path);
    QFile file;
    const int fd = ::open(platform::fs::native::encodePath(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        if (fd >= 0)
            ::close(fd);
        failOpen(path);
    }
    // Asking for the cap at once would allocate that much for every small picture: read what the
    // file holds, and only a file that grew since it was looked at is read on up to the cap.
    QByteArray data = file.read(info.st_size + 1);
    if (data.size() > info.st_size)
        data += file.read(MaxPictureFileBytes + 1 - data.size());
    if (data.size() > MaxPictureFileBytes)
        failTooLarge(path);
    return data;
}

bool withinPixelCap(qint64 width, qint64 height)
{
    return width > 0 && height > 0 && width <= MaxImageSide && height <= MaxImageSide &&
           width * height <= MaxImagePixels;
}

// Every picture ends up with 4 bytes a pixel.
void checkBudget(qint64 width, qint64 height, qint64 memoryLimit)
{
    if (width * height * 4 > memoryLimit)
        throw OverBudget();
}

// Qt's reader has an allocation limit of its own (128 MB, counting 4 bytes a pixel) that would refuse
// valid pictures below our pixel cap; while one of our pictures is read, the cap and the budget,
// checked before, are the limits.
class QtAllocationLimit
{
public:
    explicit QtAllocationLimit(qint64 bytes)
        : m_before(QImageReader::allocationLimit())
    {
        QImageReader::setAllocationLimit(int(bytes / BytesPerMegabyte + 1));
    }
    ~QtAllocationLimit() { QImageReader::setAllocationLimit(m_before); }
    QtAllocationLimit(const QtAllocationLimit&) = delete;
    QtAllocationLimit& operator=(const QtAllocationLimit&) = delete;

private:
    int m_before;
};

QImage readWithQt(const QByteArray& data, const char* format, qint64 memoryLimit)
{
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    // The extension alone names the decoder: GIF data called .bmp is no bitmap.
    reader.setAutoDetectImageFormat(false);
    reader.setAutoTransform(false);
    const QSize declared = reader.size();
    if (declared.isValid()) {
        if (!withinPixelCap(declared.width(), declared.height()))
            failBitmap();
        checkBudget(declared.width(), declared.height(), memoryLimit);
    }
    QImage picture;
    {
        const QtAllocationLimit limit(std::min(MaxImagePixels * 4, memoryLimit));
        if (!reader.read(&picture) || picture.isNull())
            failBitmap();
    }
    if (!withinPixelCap(picture.width(), picture.height()))
        failBitmap();
    return picture;
}

QImage readBitmap(const QByteArray& data, qint64 memoryLimit)
{
    const std::optional<BitmapHeader> header = readBitmapHeader(data);
    if (!header || !header->isRunLength()) {
        if (!bitmapIsComplete(data))
            failBitmap();
        return readWithQt(data, "bmp", memoryLimit);
    }
    const qint64 height = std::abs(header->height);
    if (!withinPixelCap(header->width, height))
        failBitmap();
    checkBudget(header->width, height, memoryLimit);
    QImage picture = decodeRunLengthBitmap(data, *header);
    if (picture.isNull())
        failBitmap();
    return picture;
}

QImage readJpeg(const QByteArray& data, qint64 memoryLimit)
{
    QImage picture;
    const int code = DecodeJpeg(data, picture, memoryLimit);
    if (code == JpegOverMemoryLimit)
        throw OverBudget();
    if (code != 0)
        throw SkinError(QStringLiteral("JPEG error #%1").arg(code));
    return picture;
}

// The picture at `path`; throws OverBudget when it and its decoder would take more than `memoryLimit`.
QImage readPicture(const QString& path, qint64 memoryLimit)
{
    const QString extension = lastExtensionOf(fileNamePart(path));
    const PictureFormat format = formatOf(extension);
    if (format == PictureFormat::Unknown)
        throw SkinError(
            QStringLiteral("Unknown picture file extension (.%1)").arg(platform::displayFileName(extension)));
    const QByteArray data = readPictureFile(path);
    switch (format) {
    case PictureFormat::Bitmap:
        return readBitmap(data, memoryLimit);
    case PictureFormat::Icon:
        return readWithQt(data, "ico", memoryLimit);
    case PictureFormat::Jpeg:
    case PictureFormat::Unknown:
        break;
    }
    return readJpeg(data, memoryLimit);
}

// LoadSkinImage with a limit on the memory of the decoded picture and its decoder.
bool loadWithin(QImage& target, const QString& fileName, SkinMessages& messages, qint64 memoryLimit)
{
    if (ExtensionOf(fileNamePart(fileName)) == QLatin1String("GIF")) {
        messages.show(QStringLiteral("No GIF support!"));
        return false;
    }
    QImage picture = readPicture(fileName, memoryLimit);
    target = picture.format() == QImage::Format_RGB32 ? std::move(picture)
                                                      : picture.convertToFormat(QImage::Format_RGB32);
    return true;
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
    try {
        return loadWithin(target, fileName, messages, SkinPictures::DefaultBudgetBytes);
    } catch (const OverBudget&) {
        throw budgetError(SkinPictures::DefaultBudgetBytes, fileName);
    }
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
    try {
        if (!loadWithin(picture, fileName, m_messages, m_budgetBytes - m_usedBytes))
            return;
    } catch (const OverBudget&) {
        throw budgetError(m_budgetBytes, fileName);
    }
    if (m_usedBytes + picture.sizeInBytes() > m_budgetBytes)
        throw budgetError(m_budgetBytes, fileName);
    m_usedBytes += picture.sizeInBytes();
    m_decoded.insert(fileName, picture);
    target = picture;
}
