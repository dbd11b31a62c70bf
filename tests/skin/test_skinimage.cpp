#include "skin/SkinError.h"
#include "skin/SkinImage.h"
#include "skin/SkinMessages.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include <jpeglib.h>
// Without JMESSAGE defined this declares libjpeg's message codes.
#include <jerror.h>
#include <malloc.h>
#include <sys/stat.h>

namespace {

class CollectedMessages final : public SkinMessages
{
public:
    void show(const QString& text) override { shown.append(text); }
    QStringList shown;
};

// Four solid quarters on 8-pixel boundaries, so a JPEG keeps them close to exact.
QImage quarters(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.fillRect(0, 0, width / 2, height / 2, QColor(200, 30, 40));
    painter.fillRect(width / 2, 0, width - width / 2, height / 2, QColor(20, 180, 60));
    painter.fillRect(0, height / 2, width / 2, height - height / 2, QColor(30, 50, 220));
    painter.fillRect(width / 2, height / 2, width - width / 2, height - height / 2, QColor(240, 240, 240));
    return image;
}

QImage filled(int width, int height, QColor color)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

bool nearlyEqual(const QImage& a, const QImage& b, int tolerance)
{
    if (a.size() != b.size())
        return false;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            if (qAbs(qRed(p) - qRed(q)) > tolerance || qAbs(qGreen(p) - qGreen(q)) > tolerance ||
                qAbs(qBlue(p) - qBlue(q)) > tolerance)
                return false;
        }
    }
    return true;
}

QByteArray jpegBytes(const QImage& image, int quality = 100)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", quality);
    return data;
}

// libjpeg's standard progressive script, as Qt writes it: ten scans, the last a refinement scan.
QByteArray progressiveJpegBytes(const QImage& image)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(true);
    writer.write(image);
    return data;
}

// The last scan of a JPEG read again `times` more times before the end marker.
QByteArray withLastScanRepeated(const QByteArray& data, int times)
{
    const qsizetype scan = data.lastIndexOf("\xff\xda");
    const qsizetype end = data.lastIndexOf("\xff\xd9");
    return data.left(end) + data.mid(scan, end - scan).repeated(times) + data.mid(end);
}

// Overwrites the frame size in the first SOF marker of a JPEG.
QByteArray withJpegSize(QByteArray data, quint16 width, quint16 height)
{
    for (qsizetype i = 2; i + 9 < data.size(); ++i) {
        const auto marker = quint8(data[i + 1]);
        if (quint8(data[i]) == 0xff && (marker == 0xc0 || marker == 0xc1 || marker == 0xc2)) {
            data[i + 5] = char(height >> 8);
            data[i + 6] = char(height & 0xff);
            data[i + 7] = char(width >> 8);
            data[i + 8] = char(width & 0xff);
            return data;
        }
    }
    return {};
}

void put32(QByteArray& data, int at, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        data[at + i] = char((value >> (8 * i)) & 0xff);
}

// A 24-bit BMP header declaring `width` x `height` followed by `pixelBytes` bytes of pixel data.
QByteArray bmpHeader(qint32 width, qint32 height, int pixelBytes)
{
    QByteArray data(54 + pixelBytes, '\0');
    data[0] = 'B';
    data[1] = 'M';
    put32(data, 2, quint32(data.size()));
    put32(data, 10, 54);
    put32(data, 14, 40);
    put32(data, 18, quint32(width));
    put32(data, 22, quint32(height));
    data[26] = 1;
    data[28] = 24;
    return data;
}

// An 8-bit (or 4-bit) run-length encoded BMP with two colours, index 0 red and index 1 blue.
QByteArray rle8Bmp(qint32 width, qint32 height, const QByteArray& runs, char bits = 8)
{
    QByteArray data = bmpHeader(width, height, 0) + QByteArray("\0\0\xff\0\xff\0\0\0", 8) + runs;
    put32(data, 2, quint32(data.size()));
    put32(data, 10, 62);
    data[28] = bits;
    put32(data, 30, bits == 8 ? 1 : 2);
    put32(data, 34, quint32(runs.size()));
    put32(data, 46, 2);
    return data;
}

// A 1 x 1 GIF picture.
const QByteArray GifBytes(
    "GIF89a\x01\0\x01\0\x80\0\0\xff\xff\xff\0\0\0!\xf9\x04\x01\0\0\0\0,\0\0\0\0\x01\0\x01\0\0\x02\x02"
    "D\x01\0;",
    43);

} // namespace

class TestSkinImage : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    CollectedMessages m_messages;

    QString path(const QString& name) const { return m_dir.filePath(name); }

    QString write(const QString& name, const QByteArray& data) const
    {
        const QString file = path(name);
        QDir().mkpath(QFileInfo(file).path());
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly) || out.write(data) != data.size())
            qFatal("cannot write the fixture %s", qPrintable(file));
        return file;
    }

    QString saveImage(const QString& name, const QImage& image, const char* format) const
    {
        const QString file = path(name);
        QDir().mkpath(QFileInfo(file).path());
        if (!image.save(file, format, 100))
            qFatal("cannot write the fixture %s", qPrintable(file));
        return file;
    }

    // The SkinError message of `load`, or empty when it loaded.
    template <typename Load>
    static QString errorOf(Load load)
    {
        try {
            load();
        } catch (const SkinError& error) {
            return error.message();
        }
        return QString();
    }

    QString loadError(QImage& target, const QString& file)
    {
        return errorOf([&] { LoadSkinImage(target, file, m_messages); });
    }

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_messages.shown.clear();
    }

    void extensionTakesUpToThreeCharactersAfterTheFirstDot_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("extension");
        QTest::newRow("plain") << "up.gif"
                               << "GIF";
        QTest::newRow("mixed case") << "Up.Gif"
                                    << "GIF";
        QTest::newRow("long") << "up.giff"
                              << "GIF";
        QTest::newRow("first dot decides") << "skin.old.gif"
                                           << "OLD";
        QTest::newRow("two extensions") << "up.gif.bmp"
                                        << "GIF";
        QTest::newRow("short") << "up.j"
                               << "J";
        QTest::newRow("trailing dot") << "up."
                                      << "";
        QTest::newRow("no dot") << "up"
                                << "";
        QTest::newRow("digits kept") << "a.b1z"
                                     << "B1Z";
        QTest::newRow("only a to z capitalised") << QString::fromUtf8("a.яb") << QString::fromUtf8("яB");
    }

    void extensionTakesUpToThreeCharactersAfterTheFirstDot()
    {
        QFETCH(QString, name);
        QFETCH(QString, extension);
        QCOMPARE(ExtensionOf(name), extension);
    }

    void gifNamesAreRefusedAndLeaveTheTargetAlone_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("up.gif") << "up.gif";
        QTest::newRow("Up.GIF") << "Up.GIF";
        QTest::newRow("up.giff") << "up.giff";
        QTest::newRow("up.gif.bmp") << "up.gif.bmp";
        QTest::newRow("after a drive colon") << "C:up.gif";
        QTest::newRow("in a dotted folder") << "My.Skin/up.gif";
    }

    void gifNamesAreRefusedAndLeaveTheTargetAlone()
    {
        QFETCH(QString, name);
        // Even a readable bitmap is refused when its name looks like a GIF.
        const QString file = saveImage(name, filled(4, 4, Qt::red), "BMP");
        const QImage before = filled(595, 510, Qt::green);
        QImage target = before;
        QCOMPARE(loadError(target, file), QString());
        QCOMPARE(m_messages.shown, QStringList{"No GIF support!"});
        QCOMPARE(target, before);
    }

    void gifRefusalKeepsAnEmptyTargetEmpty()
    {
        QImage target;
        QCOMPARE(loadError(target, path("thumb.gif")), QString());
        QCOMPARE(m_messages.shown, QStringList{"No GIF support!"});
        QVERIFY(target.isNull());
        QCOMPARE(target.size(), QSize(0, 0));
    }

    void dotInFolderNameDoesNotCountAsGif()
    {
        const QString file = saveImage("My.Gifs/up.bmp", filled(3, 2, Qt::blue), "BMP");
        QImage target;
        QCOMPARE(loadError(target, file), QString());
        QVERIFY(m_messages.shown.isEmpty());
        QCOMPARE(target.size(), QSize(3, 2));
    }

    void unknownExtensionsAreNamedInSmallLetters_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        QTest::newRow("first dot passes, last is gif") << "up.old.gif"
                                                       << "Unknown picture file extension (.gif)";
        QTest::newRow("no extension") << "up"
                                      << "Unknown picture file extension (.)";
        QTest::newRow("dot only in the folder") << "skin.d/up"
                                                << "Unknown picture file extension (.)";
        QTest::newRow("capital letters") << "up.PNG"
                                         << "Unknown picture file extension (.png)";
        QTest::newRow("metafile") << "up.wmf"
                                  << "Unknown picture file extension (.wmf)";
        QTest::newRow("enhanced metafile") << "up.EMF"
                                           << "Unknown picture file extension (.emf)";
        QTest::newRow("trailing dot") << "up.bmp."
                                      << "Unknown picture file extension (.)";
    }

    void unknownExtensionsAreNamedInSmallLetters()
    {
        QFETCH(QString, name);
        QFETCH(QString, message);
        const QString file = saveImage(name, filled(4, 4, Qt::red), "BMP");
        const QImage before = filled(8, 8, Qt::green);
        QImage target = before;
        QCOMPARE(loadError(target, file), message);
        QVERIFY(m_messages.shown.isEmpty());
        QCOMPARE(target, before);
    }

    void bitmapsAreReadWhateverTheLetterCase_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("UP.BMP") << "UP.BMP";
        QTest::newRow("up.Bmp") << "up.Bmp";
        QTest::newRow("up.bmp") << "up.bmp";
    }

    void bitmapsAreReadWhateverTheLetterCase()
    {
        QFETCH(QString, name);
        const QImage picture = quarters(40, 24);
        const QString file = saveImage(name, picture, "BMP");
        QImage target;
        QCOMPARE(loadError(target, file), QString());
        QCOMPARE(target.format(), QImage::Format_RGB32);
        QCOMPARE(target, picture);
    }

    void palettedBitmapComesOutAsRgb32()
    {
        QImage picture = quarters(16, 16).convertToFormat(QImage::Format_Indexed8);
        const QString file = saveImage("eight.bmp", picture, "BMP");
        QImage target;
        QCOMPARE(loadError(target, file), QString());
        QCOMPARE(target.format(), QImage::Format_RGB32);
        QCOMPARE(target, picture.convertToFormat(QImage::Format_RGB32));
    }

    void smallerPictureReplacesTheWholeTarget()
    {
        const QString file = saveImage("small.bmp", quarters(200, 100), "BMP");
        QImage target = filled(595, 510, Qt::green);
        QCOMPARE(loadError(target, file), QString());
        QCOMPARE(target.size(), QSize(200, 100));
        QCOMPARE(target, quarters(200, 100));
    }

    void iconsAreRead()
    {
        const QString file = saveImage("exit.ico", quarters(32, 32), "ICO");
        QImage target;
        QCOMPARE(loadError(target, file), QString());
        QCOMPARE(target.format(), QImage::Format_RGB32);
        QVERIFY(nearlyEqual(target, quarters(32, 32), 0));
    }

    void jpegsAreDecodedCloseToTheOriginal_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("size");
        QTest::newRow("up.jpg") << "up.jpg" << QSize(64, 48);
        QTest::newRow("up.jpeg") << "up.jpeg" << QSize(64, 48);
        QTest::newRow("UP.JPG") << "UP.JPG" << QSize(64, 48);
        QTest::newRow("odd size") << "odd.jpg" << QSize(37, 21);
        QTest::newRow("skin size") << "mask.jpg" << QSize(595, 510);
    }

    void jpegsAreDecodedCloseToTheOriginal()
    {
        QFETCH(QString, name);
        QFETCH(QSize, size);
        const QImage picture = quarters(size.width(), size.height());
        const QString file = write(name, jpegBytes(picture));
        QImage target = filled(5, 5, Qt::black);
        QCOMPARE(loadError(target, file), QString());
        QCOMPARE(target.format(), QImage::Format_RGB32);
        QCOMPARE(target.size(), size);
        // Solid areas survive quality 100 nearly unchanged; the colour edges blur with the chroma
        // subsampling, so the whole picture is held against Qt's own decoder of the same file.
        const QRect inner(4, 4, size.width() / 2 - 8, size.height() / 2 - 8);
        QVERIFY(nearlyEqual(target.copy(inner), picture.copy(inner), 6));
        QVERIFY(nearlyEqual(target, QImage(file, "JPG").convertToFormat(QImage::Format_RGB32), 2));
    }

    void greyscaleJpegComesOutInColourFormat()
    {
        QImage grey(24, 16, QImage::Format_Grayscale8);
        grey.fill(128);
        const QString file = write("grey.jpg", jpegBytes(grey));
        QImage target;
        QCOMPARE(loadError(target, file), QString());
        QCOMPARE(target.format(), QImage::Format_RGB32);
        QVERIFY(nearlyEqual(target, filled(24, 16, QColor(128, 128, 128)), 2));
    }

    void brokenJpegsReportLibjpegCodes_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("code");
        const QByteArray good = jpegBytes(quarters(64, 64));
        QTest::newRow("empty file") << QByteArray() << int(JERR_INPUT_EMPTY);
        QTest::newRow("not a jpeg") << QByteArray("this is no picture at all") << int(JERR_NO_SOI);
        QTest::newRow("a bitmap named jpg") << bmpHeader(2, 2, 16) << int(JERR_NO_SOI);
        QTest::newRow("cut in the pixel data") << good.left(good.size() * 2 / 3) << int(JWRN_JPEG_EOF);
        QTest::newRow("too wide") << withJpegSize(good, 40000, 16) << int(JERR_IMAGE_TOO_BIG);
        QTest::newRow("too tall") << withJpegSize(good, 16, 40000) << int(JERR_IMAGE_TOO_BIG);
        QTest::newRow("too many pixels") << withJpegSize(good, 30000, 30000) << int(JERR_IMAGE_TOO_BIG);
        const QByteArray progressive = progressiveJpegBytes(quarters(16, 16));
        QTest::newRow("refinement scan read 100 more times")
            << withLastScanRepeated(progressive, 100) << int(JERR_BAD_PROGRESSION);
        QTest::newRow("far too small for the size it declares")
            << withJpegSize(progressive, 8000, 8000) << int(JWRN_JPEG_EOF);
    }

    void brokenJpegsReportLibjpegCodes()
    {
        QFETCH(QByteArray, data);
        QFETCH(int, code);
        const QString file = write("broken.jpg", data);
        const QImage before = filled(7, 3, Qt::yellow);
        QImage target = before;
        QCOMPARE(loadError(target, file), QStringLiteral("JPEG error #%1").arg(code));
        QCOMPARE(target, before);
    }

    void brokenBitmapsAreNotValid_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("garbage") << QByteArray("BMthis is not a bitmap header");
        QTest::newRow("huge sides") << bmpHeader(100000, 100000, 64);
        QTest::newRow("too many pixels") << bmpHeader(30000, 30000, 64);
        QTest::newRow("negative width") << bmpHeader(-5, 5, 64);
        QTest::newRow("GIF data") << GifBytes;
        // Four rows of 12 bytes make a whole 4 x 4 picture.
        QTest::newRow("pixel data cut short") << bmpHeader(4, 4, 40);
        QByteArray pastTheEnd = bmpHeader(4, 4, 48);
        put32(pastTheEnd, 10, 200);
        QTest::newRow("pixels start past the end") << pastTheEnd;
        QTest::newRow("runs end before the last row") << rle8Bmp(4, 2, QByteArray("\x04\0\0\0", 4));
    }

    void bitmapsAreReadWithEveryPixelSet_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QList<QPoint>>("points");
        QTest::addColumn<QList<QRgb>>("colors");
        const QRgb red = qRgb(255, 0, 0);
        const QRgb blue = qRgb(0, 0, 255);
        const QRgb black = qRgb(0, 0, 0);
        QTest::newRow("runs of every row")
            << rle8Bmp(4, 2, QByteArray("\x04\0\0\0\x04\x01\0\x01", 8)) << QSize(4, 2)
            << QList<QPoint>{{3, 1}, {0, 0}} << QList<QRgb>{red, blue};
        QTest::newRow("four-bit runs")
            << rle8Bmp(3, 1, QByteArray("\x03\x01\0\x01", 4), 4) << QSize(3, 1)
            << QList<QPoint>{{0, 0}, {1, 0}, {2, 0}} << QList<QRgb>{red, blue, red};
        // Pixels no run sets are black.
        QTest::newRow("end mark first") << rle8Bmp(64, 32, QByteArray("\0\x01", 2)) << QSize(64, 32)
                                        << QList<QPoint>{{0, 0}, {63, 31}} << QList<QRgb>{black, black};
        QTest::newRow("jump over pixels")
            << rle8Bmp(64, 32, QByteArray("\x01\x01\0\x02\x02\x01\x01\0\0\x01", 10)) << QSize(64, 32)
            << QList<QPoint>{{0, 31}, {1, 31}, {3, 31}, {3, 30}, {4, 30}}
            << QList<QRgb>{blue, black, black, red, black};
        QTest::newRow("8000 x 8000 runs") << rle8Bmp(8000, 8000, QByteArray("\0\x01", 2)) << QSize(8000, 8000)
                                          << QList<QPoint>{{0, 0}, {7999, 7999}} << QList<QRgb>{black, black};
        // Beyond the 128 MB that Qt's reader allows itself by default.
        QImage mono(6000, 6000, QImage::Format_Mono);
        mono.setColorTable({black, qRgb(255, 255, 255)});
        mono.fill(1);
        QByteArray monoBytes;
        QBuffer buffer(&monoBytes);
        buffer.open(QIODevice::WriteOnly);
        mono.save(&buffer, "BMP");
        QTest::newRow("6000 x 6000 of one bit a pixel")
            << monoBytes << QSize(6000, 6000) << QList<QPoint>{{5999, 0}} << QList<QRgb>{qRgb(255, 255, 255)};
    }

    // Memory handed out is filled with zero bytes first, which as a colour index would read red.
    void bitmapsAreReadWithEveryPixelSet()
    {
        QFETCH(QByteArray, data);
        QFETCH(QSize, size);
        QFETCH(QList<QPoint>, points);
        QFETCH(QList<QRgb>, colors);
        const QString file = write("pixels.bmp", data);
        QImage target;
        mallopt(M_PERTURB, 0xff);
        const QString error = loadError(target, file);
        mallopt(M_PERTURB, 0);
        QCOMPARE(error, QString());
        QCOMPARE(target.size(), size);
        for (qsizetype i = 0; i < points.size(); ++i)
            QCOMPARE(target.pixel(points[i]), colors[i]);
    }

    // A complete picture of a few bytes that Qt decodes once its own allocation limit is lifted, as
    // the environment (QT_IMAGEIO_MAXALLOC) may do.
    void moreThan64MegapixelsAreRefused()
    {
        const QByteArray data = rle8Bmp(8193, 8192, QByteArray("\0\x01", 2));
        const int qtLimit = QImageReader::allocationLimit();
        QImageReader::setAllocationLimit(0);
        QCOMPARE(QImage::fromData(data, "BMP").size(), QSize(8193, 8192));
        QImage target;
        QCOMPARE(loadError(target, write("huge.bmp", data)), QStringLiteral("Bitmap image is not valid"));
        QImageReader::setAllocationLimit(qtLimit);
    }

    void brokenBitmapsAreNotValid()
    {
        QFETCH(QByteArray, data);
        const QString file = write("broken.bmp", data);
        const QImage before = filled(7, 3, Qt::yellow);
        QImage target = before;
        QCOMPARE(loadError(target, file), QStringLiteral("Bitmap image is not valid"));
        QCOMPARE(target, before);
    }

    void missingFileCannotBeOpened_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("bitmap") << "missing.bmp";
        QTest::newRow("jpeg") << "missing.jpg";
        QTest::newRow("icon") << "missing.ico";
    }

    void missingFileCannotBeOpened()
    {
        QFETCH(QString, name);
        const QString file = path(name);
        QImage target = filled(2, 2, Qt::red);
        QCOMPARE(loadError(target, file), "Cannot open file " + file);
        QCOMPARE(target, filled(2, 2, Qt::red));
    }

    void folderWithPictureNameCannotBeOpened()
    {
        QVERIFY(QDir(m_dir.path()).mkpath("folder.bmp"));
        QImage target;
        QCOMPARE(loadError(target, path("folder.bmp")), "Cannot open file " + path("folder.bmp"));
        QVERIFY(target.isNull());
    }

    // A FIFO would block the read for good, a device never end; both hold for the superuser too.
    void filesThatAreNoPictureFilesAreRefusedByName_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        QTest::newRow("FIFO") << "fifo"
                              << "Cannot open file %1";
        QTest::newRow("endless device") << "device"
                                        << "Cannot open file %1";
        QTest::newRow("over the size cap") << "large"
                                           << "File %1 is too large (over 257 MB)";
    }

    void filesThatAreNoPictureFilesAreRefusedByName()
    {
        QFETCH(QString, kind);
        QFETCH(QString, message);
        const QString file = path(kind + ".bmp");
        if (kind == "fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
        else if (kind == "device")
            QVERIFY(QFile::link("/dev/zero", file));
        else
            QVERIFY(QFile(write(kind + ".bmp", "BM")).resize(257LL * 1024 * 1024 + 1));
        QImage target;
        QCOMPARE(loadError(target, file), message.arg(file));
        QVERIFY(target.isNull());
    }

    void picturesAreDecodedOncePerFileWithinTheBudget()
    {
        const QString a = saveImage("a.bmp", filled(300, 300, Qt::red), "BMP");
        const QString b = saveImage("b.bmp", filled(300, 300, Qt::green), "BMP");
        const QString c = saveImage("c.bmp", filled(300, 300, Qt::blue), "BMP");
        SkinPictures pictures(m_messages, 1024 * 1024);
        QImage first;
        QImage again;
        pictures.load(first, a);
        pictures.load(again, a);
        pictures.load(again, b);
        pictures.load(again, a);
        QCOMPARE(again.constBits(), first.constBits());
        // 3 x 360,000 bytes pass one megabyte: the third file is refused.
        QImage third;
        QCOMPARE(errorOf([&] { pictures.load(third, c); }),
                 "Skin pictures exceed 1 MB of memory at file " + c);
        QVERIFY(third.isNull());
        // 448 x 448 takes 784 KB decoded; libjpeg keeps another 600 KB of a progressive one's scans.
        const QString progressive = write("progressive.jpg", progressiveJpegBytes(quarters(448, 448)));
        SkinPictures fresh(m_messages, 1024 * 1024);
        QCOMPARE(errorOf([&] { fresh.load(third, progressive); }),
                 "Skin pictures exceed 1 MB of memory at file " + progressive);
    }
};

QTEST_MAIN(TestSkinImage)
#include "test_skinimage.moc"
