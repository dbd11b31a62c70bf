#include "skin/SkinError.h"
#include "skin/SkinForm.h"
#include "tests/skin/SkinFixtures.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

class TestSkinLoad : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    // A skin folder with a 40 x 30 mask and looks, a 10 x 4 thumb and the given definition text.
    QString makeSkin(const QByteArray& ini)
    {
        static int counter = 0;
        const QString folder = m_dir.filePath(QStringLiteral("skin%1/").arg(++counter));
        QDir().mkpath(folder);
        writeBmp(folder + "mask.bmp", {40, 30}, Qt::black);
        writeBmp(folder + "up.bmp", {40, 30}, Qt::gray);
        writeBmp(folder + "down.bmp", {40, 30}, Qt::red);
        writeBmp(folder + "on.bmp", {40, 30}, Qt::green);
        writeBmp(folder + "thumb.bmp", {10, 4}, Qt::blue);
        writeBmp(folder + "thumbdown.bmp", {10, 4}, Qt::cyan);
        writeBmp(folder + "vthumb.bmp", {4, 10}, Qt::blue);
        writeFile(folder + "skin.ini", ini);
        return folder + "skin.ini";
    }

    static QByteArray header(const QByteArray& version = "210")
    {
        return "[Version]\r\nVer=" + version +
               "\r\n[BITMAPINFO]\r\nMaskBitmap=mask.bmp\r\nMouseUpBitmap=up.bmp\r\n"
               "MouseDownBitmap=down.bmp\r\nMouseOnBitmap=on.bmp\r\n";
    }

    static QByteArray hotAreas(const QList<QByteArray>& lines)
    {
        QByteArray text = "[HOTAREAINFO]\r\nCount=" + QByteArray::number(lines.size()) + "\r\n";
        for (int i = 0; i < lines.size(); ++i)
            text += QByteArray::number(i + 1) + "=" + lines[i] + "\r\n";
        return text;
    }

    static QByteArray section(const QByteArray& name, const QList<QByteArray>& lines)
    {
        QByteArray text = "[" + name + "]\r\nCount=" + QByteArray::number(lines.size()) + "\r\n";
        for (int i = 0; i < lines.size(); ++i)
            text += QByteArray::number(i + 1) + "=" + lines[i] + "\r\n";
        return text;
    }

    // Loads and returns the error message, empty when the load succeeded.
    static QString loadError(SkinHost& host, const QString& path)
    {
        try {
            host.skin->LoadSkin(path);
        } catch (const SkinError& error) {
            return error.message();
        }
        return {};
    }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void bannerHasFourLinesSeparatedByCarriageReturns()
    {
        const QStringList lines = QString::fromLatin1(SkinBannerText).split(u'\r');
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines[0], QStringLiteral("     Rovex 1.0  "));
        QCOMPARE(lines[1], QString());
        QCOMPARE(lines[2], QString(26, u' '));
        QCOMPARE(lines[3], QStringLiteral("          build 25/05/2001   "));
        QCOMPARE(bannerShown(), QString::fromLatin1(SkinBannerText).replace(u'\r', u'\n'));
    }

    void missingFileShowsTheBannerThenSaysSoByName()
    {
        SkinHost host;
        const QString path = m_dir.filePath(QStringLiteral("nowhere/skin.ini"));
        QCOMPARE(loadError(host, path), "Skin file " + path + " does not exist");
        QCOMPARE(host.messages.texts, QStringList{bannerShown()});
        QCOMPARE(host.skin->SkinFileName, path);
        QCOMPARE(host.skin->SkinVersion, 210);
    }

    // A FIFO would block the load for good, a device never end.
    void skinFilesThatCannotBeReadAreRefusedByName_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        QTest::newRow("FIFO") << "fifo"
                              << "Cannot open file %1";
        QTest::newRow("endless device") << "device"
                                        << "Cannot open file %1";
        QTest::newRow("over the size cap") << "large"
                                           << "File %1 is too large (over 16 MB)";
        QTest::newRow("link to itself") << "loop"
                                        << "Cannot open file %1: Too many levels of symbolic links";
    }

    void skinFilesThatCannotBeReadAreRefusedByName()
    {
        QFETCH(QString, kind);
        QFETCH(QString, message);
        const QString folder = m_dir.filePath(kind);
        QDir().mkpath(folder);
        const QString path = folder + "/skin.ini";
        if (kind == "fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (kind == "device")
            QVERIFY(QFile::link("/dev/zero", path));
        else if (kind == "loop")
            QCOMPARE(::symlink(QFile::encodeName(path).constData(), QFile::encodeName(path).constData()), 0);
        else
            QVERIFY(writeFile(path, "[Version]\nVer=210\n") && QFile(path).resize(16 * 1024 * 1024 + 1));
        SkinHost host;
        QCOMPARE(loadError(host, path), message.arg(path));
        QCOMPARE(host.messages.texts, QStringList{bannerShown()});
    }

    // Notepad's "Unicode" (UTF-16 with a byte-order mark) and "\" in picture names.
    void skinsMadeOnWindowsLoad()
    {
        const QString path = makeSkin({});
        const QString folder = QFileInfo(path).path() + "/";
        QDir().mkpath(folder + "img");
        writeBmp(folder + "img/mask.bmp", {12, 8}, Qt::black);
        writeBmp(folder + "img/thumb.bmp", {6, 3}, Qt::blue);
        const QString text =
            "[Version]\r\nVer=210\r\n[BITMAPINFO]\r\nMaskBitmap=img\\mask.bmp\r\n"
            "[TRACKBARINFO]\r\nCount=1\r\n1=T, img\\thumb.bmp, img\\thumb.bmp, 0, 0, 12, H\r\n";
        QByteArray utf16("\xFF\xFE", 2);
        for (const QChar c : text)
            utf16 += char(c.unicode() & 0xFF) + QByteArray(1, char(c.unicode() >> 8));
        QVERIFY(writeFile(path, utf16));
        SkinHost host;
        QCOMPARE(loadError(host, path), QString());
        QCOMPARE(host.skin->MaskBitmap.size(), QSize(12, 8));
        QCOMPARE(host.skin->TrackBars[0].ThumbBitmap->size(), QSize(6, 3));

        // A skin file in Windows-1251 naming "фон.bmp", a file unpacked with the same bytes.
        const QByteArray name = "\xF4\xEE\xED.bmp";
        QFile mask(folder + "img/mask.bmp");
        QVERIFY(mask.open(QIODevice::ReadOnly));
        const QByteArray onDisk = QFile::encodeName(folder) + name;
        const int fd = ::open(onDisk.constData(), O_CREAT | O_WRONLY, 0644);
        QVERIFY(fd >= 0);
        const QByteArray picture = mask.readAll();
        QCOMPARE(::write(fd, picture.constData(), size_t(picture.size())), ssize_t(picture.size()));
        ::close(fd);
        QVERIFY(writeFile(path, "[BITMAPINFO]\r\nMaskBitmap=" + name + "\r\n"));
        SkinHost windows;
        const QString error = loadError(windows, path);
        ::unlink(onDisk.constData());
        QCOMPARE(error, QString());
        QCOMPARE(windows.skin->MaskBitmap.size(), QSize(12, 8));
    }

    void versionThresholdDecidesTheWarning_data()
    {
        QTest::addColumn<QByteArray>("version");
        QTest::addColumn<bool>("warned");
        QTest::newRow("210") << QByteArray("210") << false;
        QTest::newRow("211") << QByteArray("211") << false;
        QTest::newRow("209") << QByteArray("209") << true;
        QTest::newRow("hex 210") << QByteArray("$D2") << false;
        QTest::newRow("not a number") << QByteArray("new") << true;
    }

    void versionThresholdDecidesTheWarning()
    {
        QFETCH(QByteArray, version);
        QFETCH(bool, warned);
        SkinHost host;
        QSignalSpy changed(host.skin, &TSkinForm::skinChanged);
        QCOMPARE(loadError(host, makeSkin(header(version) + hotAreas({"Play, 1, 2, 3, 4, Go"}))), QString());
        QCOMPARE(host.messages.texts.contains(oldVersionShown()), warned);
        QCOMPARE(host.messages.texts.first(), bannerShown());
        QCOMPARE(host.skin->HotAreas.size(), 1);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.first().first().value<TSkinForm*>(), host.skin);
    }

    void maskAloneServesEveryLookWithoutHover()
    {
        SkinHost host;
        host.skin->HoverEnabled = true;
        QCOMPARE(loadError(host, makeSkin("[Version]\nVer=210\n[BITMAPINFO]\nMaskBitmap=mask.bmp\n")),
                 QString());
        QVERIFY(!host.skin->HoverEnabled);
        QCOMPARE(host.skin->MouseUpBitmap.size(), QSize(40, 30));
        QCOMPARE(host.skin->MouseDownBitmap.pixelColor(0, 0), QColor(Qt::black));
        QCOMPARE(host.skin->MouseOnBitmap.pixelColor(0, 0), QColor(Qt::black));
        QVERIFY(host.skin->NumbersBitmap.isNull());
        QCOMPARE(host.skin->window()->size(), QSize(40, 30));
        QCOMPARE(host.skin->size(), QSize(40, 30));
        QCOMPARE(host.skin->ActiveTrackBar, -1);
    }

    void hoverSwitchComparesNamesExactly_data()
    {
        QTest::addColumn<QByteArray>("onName");
        QTest::addColumn<bool>("hover");
        QTest::newRow("same name") << QByteArray("down.bmp") << false;
        QTest::newRow("other letter case") << QByteArray("DOWN.BMP") << true;
        QTest::newRow("other file") << QByteArray("on.bmp") << true;
    }

    void hoverSwitchComparesNamesExactly()
    {
        QFETCH(QByteArray, onName);
        QFETCH(bool, hover);
        SkinHost host;
        const QByteArray ini =
            "[Version]\nVer=210\n[BITMAPINFO]\nMaskBitmap=mask.bmp\nMouseDownBitmap=down.bmp\n"
            "MouseOnBitmap=" +
            onName + "\n";
        const QString path = makeSkin(ini);
        // The capital name exists on Windows' case-blind disks; give it a file here.
        writeBmp(QFileInfo(path).path() + "/DOWN.BMP", {40, 30}, Qt::red);
        QCOMPARE(loadError(host, path), QString());
        QCOMPARE(host.skin->HoverEnabled, hover);
        QCOMPARE(host.skin->MouseUpBitmap.pixelColor(0, 0), QColor(Qt::black));
    }

    void imageNamesAreJoinedToTheSkinFolder()
    {
        SkinHost host;
        const QString path = makeSkin("[Version]\nVer=210\n[BITMAPINFO]\nMaskBitmap=sub/mask.bmp\n");
        const QString folder = QFileInfo(path).path() + "/";
        QDir().mkpath(folder + "sub");
        writeBmp(folder + "sub/mask.bmp", {12, 8}, Qt::black);
        QCOMPARE(loadError(host, path), QString());
        QCOMPARE(host.skin->MaskBitmap.size(), QSize(12, 8));

        // An absolute name is still put behind the folder.
        SkinHost other;
        const QString absolute =
            makeSkin("[BITMAPINFO]\nMaskBitmap=" + (folder + "sub/mask.bmp").toUtf8() + "\n");
        QCOMPARE(loadError(other, absolute),
                 QStringLiteral("Cannot open file %1")
                     .arg(QFileInfo(absolute).path() + "/" + folder + "sub/mask.bmp"));
    }

    void hotAreaLinesByItemCount()
    {
        SkinHost host;
        const QString path = makeSkin(header() + hotAreas({
                                                     "Play, 10, 20, 30, 40, Start the game",
                                                     "Play, 10, 20, 30, 40, Start the game, FALSE",
                                                     "Play, 10, 20, 30, 40, Start the game, TRUE, Modes",
                                                     "Play, 10, 20, 30, 40, Start the game, TRUE, Modes, x",
                                                     "Opt, $10, x20, -3, 0X4, Hint, yes, modes",
                                                 }));
        QCOMPARE(loadError(host, path), QString());
        const auto& areas = host.skin->HotAreas;
        QCOMPARE(areas.size(), 5);
        QCOMPARE(areas[0].ID, QStringLiteral("Play"));
        QCOMPARE(areas[0].X, 10);
        QCOMPARE(areas[0].Y, 20);
        QCOMPARE(areas[0].Width, 30);
        QCOMPARE(areas[0].Height, 40);
        QCOMPARE(areas[0].Hint, QStringLiteral("Start the game"));
        QVERIFY(!areas[0].Toggle);
        QVERIFY(!areas[0].Checked);
        QVERIFY(areas[1].Toggle);
        QVERIFY(!areas[1].Checked);
        QVERIFY(areas[2].Toggle && areas[2].Checked);
        QCOMPARE(areas[2].Group, QStringLiteral("Modes"));
        QVERIFY(areas[3].Toggle && areas[3].Checked);
        QCOMPARE(areas[3].Group, QString());
        QCOMPARE(areas[4].X, 16);
        QCOMPARE(areas[4].Y, 32);
        QCOMPARE(areas[4].Width, -3);
        QCOMPARE(areas[4].Height, 4);
        QVERIFY(areas[4].Checked);
        // Group names compare without letter case; the last checked member wins.
        QCOMPARE(host.skin->GroupNames, QStringList{"Modes"});
        QCOMPARE(host.skin->GroupCurrent, QStringList{"4"});
    }

    void groupWithoutCheckedMemberHasNoCurrent()
    {
        SkinHost host;
        QCOMPARE(loadError(host, makeSkin(header() + hotAreas({"A, 0, 0, 5, 5, h, FALSE, G",
                                                               "B, 5, 0, 5, 5, h, FALSE, g",
                                                               "C, 9, 0, 5, 5, h, TRUE, Other"}))),
                 QString());
        QCOMPARE(host.skin->GroupNames, (QStringList{"G", "Other"}));
        QCOMPARE(host.skin->GroupCurrent, (QStringList{"-1", "2"}));
    }

    void missingHotAreaLineGetsTheDefault()
    {
        SkinHost host;
        QCOMPARE(loadError(host, makeSkin(header() + "[HOTAREAINFO]\nCount=2\n2=Exit, 1, 1, 2, 2, Bye\n")),
                 QString());
        QCOMPARE(host.skin->HotAreas[0].ID, QStringLiteral("NOT_DEFINED"));
        QCOMPARE(host.skin->HotAreas[0].Hint, QStringLiteral("Hint"));
        QCOMPARE(host.skin->HotAreas[1].ID, QStringLiteral("Exit"));
    }

    void linesAboveTheCountAreIgnored()
    {
        SkinHost host;
        QCOMPARE(loadError(host, makeSkin(header() + "[HOTAREAINFO]\nCount=1\n1=A, 1, 1, 2, 2, a\n2=B, x\n")),
                 QString());
        QCOMPARE(host.skin->HotAreas.size(), 1);
    }

    void brokenLinesStopTheLoad_data()
    {
        QTest::addColumn<QByteArray>("items");
        QTest::addColumn<QString>("message");

        QTest::newRow("blank before comma")
            << hotAreas({"Play, 10 , 20, 30, 40, Hint"}) << "'10 ' is not a valid integer value";
        QTest::newRow("NUL inside an item")
            << hotAreas({QByteArray("Ti\0tle, 1, 2, 3, 4, h", 21)}) << "'tle' is not a valid integer value";
        QTest::newRow("hot area without hint")
            << hotAreas({"Play, 1, 2, 3, 4"}) << "List index out of bounds (5)";
        QTest::newRow("hot area ID only") << hotAreas({"Play"}) << "List index out of bounds (1)";
        QTest::newRow("empty hot area line") << hotAreas({""}) << "List index out of bounds (0)";
        QTest::newRow("hex letters without prefix")
            << hotAreas({"Play, 1A, 2, 3, 4, h"}) << "'1A' is not a valid integer value";
        QTest::newRow("negative hot-area count")
            << QByteArray("[HOTAREAINFO]\nCount=-1\n") << "Range check error";
        QTest::newRow("negative display count")
            << QByteArray("[DISPLAYINFO]\nCount=-2\n") << "Range check error";
        QTest::newRow("negative track-bar count")
            << QByteArray("[TRACKBARINFO]\nCount=$FFFFFFFF\n") << "Range check error";
        QTest::newRow("absurd count") << QByteArray("[HOTAREAINFO]\nCount=2000000000\n") << "Out of memory";
        QTest::newRow("display without Y") << section("DISPLAYINFO", {"Clock, Arial, FALSE, FALSE, 8, $0, 1"})
                                           << "List index out of bounds (7)";
        QTest::newRow("display size not a number")
            << section("DISPLAYINFO", {"Clock, Arial, FALSE, FALSE, big, $0, 1, 2"})
            << "'big' is not a valid integer value";
        QTest::newRow("track bar without orientation")
            << section("TRACKBARINFO", {"Vol, thumb.bmp, thumbdown.bmp, 1, 2, 30"})
            << "List index out of bounds (6)";
        QTest::newRow("track bar position not a number")
            << section("TRACKBARINFO", {"Vol, thumb.bmp, thumbdown.bmp, 1, 2, 30, H, half"})
            << "'half' is not a valid integer value";
        QTest::newRow("missing track-bar line")
            << QByteArray("[TRACKBARINFO]\nCount=1\n") << "Unknown picture file extension (.)";
    }

    void brokenLinesStopTheLoad()
    {
        QFETCH(QByteArray, items);
        QFETCH(QString, message);
        SkinHost host;
        QSignalSpy changed(host.skin, &TSkinForm::skinChanged);
        QCOMPARE(loadError(host, makeSkin(header() + items)), message);
        QCOMPARE(changed.size(), 0);
        QVERIFY(host.skin->surface().isNull());
    }

    void failedLoadKeepsWhatWasReadBefore()
    {
        SkinHost host;
        const QString path = makeSkin(header() + hotAreas({"A, 1, 2, 3, 4, a", "B, 1, 2, 3, 4, b"}) +
                                      section("DISPLAYINFO", {"D, Arial"}));
        QCOMPARE(loadError(host, path), QStringLiteral("List index out of bounds (2)"));
        QCOMPARE(host.skin->MaskBitmap.size(), QSize(40, 30));
        QCOMPARE(host.skin->window()->size(), QSize(40, 30));
        QVERIFY(host.skin->WindowRegion.has_value());
        QCOMPARE(host.skin->HotAreas.size(), 2);
        QCOMPARE(host.skin->HotAreas[1].ID, QStringLiteral("B"));
        QCOMPARE(host.skin->Displays.size(), 1);
        QCOMPARE(host.skin->Displays[0].ID, QStringLiteral("D"));
    }

    void displayLines()
    {
        SkinHost host;
        const QString path =
            makeSkin(header() + "[DISPLAYINFO]\nCharset=$1CC\n"
                                "Count=4\n"
                                "1=Clock, Courier New, TRUE, FALSE, 12, $0000FF, 5, 6\n"
                                "2=Info, Arial, true, TRUE, 8, $FF0000, 1, 2, Text, HELLO, Tip, 30, 40\n"
                                "3=Box, Arial, FALSE, FALSE, 8, 0, 1, 2, Number, 12, Tip, wide, tall\n"
                                "4=Twelve, Arial, FALSE, FALSE, 8, 0, 1, 2, Number, 12, Tip, 50\n");
        QCOMPARE(loadError(host, path), QString());
        QCOMPARE(host.skin->Charset, quint8(0xCC));
        const auto& displays = host.skin->Displays;
        QCOMPARE(displays.size(), 4);
        QCOMPARE(displays[0].ID, QStringLiteral("Clock"));
        QCOMPARE(displays[0].Font->face, QStringLiteral("Courier New"));
        QVERIFY(displays[0].Font->bold);
        QVERIFY(!displays[0].Font->italic);
        QCOMPARE(displays[0].Font->size, 12);
        QCOMPARE(displays[0].Font->color, 0x0000FF);
        QCOMPARE(displays[0].Font->charset, quint8(0xCC));
        QCOMPARE(displays[0].X, 5);
        QCOMPARE(displays[0].Y, 6);
        QCOMPARE(displays[0].Kind, QString());
        QCOMPARE(displays[0].Value, QString());
        QCOMPARE(displays[0].Width, 0);
        QVERIFY(!displays[1].Font->bold); // "true" is not "TRUE"
        QVERIFY(displays[1].Font->italic);
        QCOMPARE(displays[1].Font->color, 0xFF0000);
        QCOMPARE(displays[1].Kind, QStringLiteral("Text"));
        QCOMPARE(displays[1].Value, QStringLiteral("HELLO"));
        QCOMPARE(displays[1].Hint, QStringLiteral("Tip"));
        QCOMPARE(displays[1].Width, 30);
        QCOMPARE(displays[1].Height, 40);
        QCOMPARE(displays[2].Width, 10);
        QCOMPARE(displays[2].Height, 10);
        QCOMPARE(displays[3].Width, 0);
        QCOMPARE(displays[3].Height, 0);
    }

    void trackBarLines()
    {
        SkinHost host;
        const QString path = makeSkin(
            header() + section("TRACKBARINFO", {
                                                   "Vol, thumb.bmp, thumbdown.bmp, 1, 2, 100, H",
                                                   "Bal, thumb.bmp, vthumb.bmp, 3, 4, 50, V, 50",
                                                   "Pan, thumb.bmp, thumbdown.bmp, 1, 2, 110, H, 300, Tip",
                                                   "Low, thumb.bmp, thumbdown.bmp, 1, 2, 110, v, 50",
                                               }));
        QCOMPARE(loadError(host, path), QString());
        const auto& bars = host.skin->TrackBars;
        QCOMPARE(bars.size(), 4);
        QCOMPARE(bars[0].ID, QStringLiteral("Vol"));
        QVERIFY(bars[0].Horizontal);
        QCOMPARE(bars[0].Position, quint8(0));
        QCOMPARE(bars[0].ThumbOffset, 0);
        QCOMPARE(bars[0].ThumbWidth, 10);
        QCOMPARE(bars[0].ThumbHeight, 4);
        QCOMPARE(bars[0].Length, 100);
        QCOMPARE(bars[0].Min, quint8(0));
        QCOMPARE(bars[0].Max, quint8(100));
        QCOMPARE(bars[0].ThumbBitmap->pixelColor(0, 0), QColor(Qt::blue));
        QCOMPARE(bars[0].ThumbDownBitmap->pixelColor(0, 0), QColor(Qt::cyan));
        QVERIFY(!bars[1].Horizontal);
        QCOMPARE(bars[1].Position, quint8(50));
        QCOMPARE(bars[1].ThumbOffset, 20); // (50 - 10) * 50 / 100
        QCOMPARE(bars[2].Position, quint8(44));
        QCOMPARE(bars[2].ThumbOffset, 44);
        QCOMPARE(bars[2].Hint, QStringLiteral("Tip"));
        QVERIFY(bars[3].Horizontal); // only a capital V makes a vertical bar
        QCOMPARE(bars[3].ThumbOffset, 50);
    }

    // Memory grows with the distinct pictures, not with the items that name them.
    void trackBarsNamingOnePictureShareIt()
    {
        QList<QByteArray> lines;
        for (int i = 0; i < 1000; ++i)
            lines.append("T" + QByteArray::number(i) + ", thumb.bmp, thumb.bmp, 1, 2, 30, H");
        SkinHost host;
        QCOMPARE(loadError(host, makeSkin(header() + section("TRACKBARINFO", lines))), QString());
        const uchar* pixels = host.skin->TrackBars[0].ThumbBitmap->constBits();
        for (const TrackBarInfoRec& bar : std::as_const(host.skin->TrackBars)) {
            QCOMPARE(bar.ThumbBitmap->constBits(), pixels);
            QCOMPARE(bar.ThumbDownBitmap->constBits(), pixels);
        }
    }

    void thumbOffsetTruncatesTowardZero()
    {
        SkinHost host;
        // Travel 5 - 10 = -5; -5 * 50 / 100 = -2.5 becomes -2.
        QCOMPARE(loadError(host,
                           makeSkin(header() + section("TRACKBARINFO",
                                                       {"Short, thumb.bmp, thumbdown.bmp, 1, 2, 5, H, 50"}))),
                 QString());
        QCOMPARE(host.skin->TrackBars[0].ThumbOffset, -2);
    }

    void zeroCountsGiveNoItems()
    {
        SkinHost host;
        QCOMPARE(loadError(host, makeSkin(header() + "[HOTAREAINFO]\nCount=0\n[DISPLAYINFO]\nCount=zero\n")),
                 QString());
        QVERIFY(host.skin->HotAreas.isEmpty());
        QVERIFY(host.skin->Displays.isEmpty());
        QVERIFY(host.skin->TrackBars.isEmpty());
        QCOMPARE(host.skin->Charset, quint8(1));
    }

    void secondLoadReusesTheComponent()
    {
        SkinHost host;
        QCOMPARE(
            loadError(host,
                      makeSkin(header() + hotAreas({"A, 0, 0, 5, 5, a, TRUE, G", "B, 5, 0, 5, 5, b"}) +
                               section("DISPLAYINFO", {"D, Arial, FALSE, FALSE, 8, 0, 1, 2, x, v, h, 7, 8"}) +
                               section("TRACKBARINFO", {"T, thumb.bmp, thumbdown.bmp, 1, 2, 30, H",
                                                        "U, thumb.bmp, thumbdown.bmp, 1, 2, 30, H"}))),
            QString());
        const std::shared_ptr<QImage> thumb = host.skin->TrackBars[0].ThumbBitmap;
        const std::weak_ptr<QImage> dropped = host.skin->TrackBars[1].ThumbBitmap;

        const QString second =
            makeSkin(header() + hotAreas({"Z, 0, 0, 5, 5, z", "Y, 5, 0, 5, 5, y, FALSE, g"}) +
                     section("DISPLAYINFO", {"E, Arial, FALSE, FALSE, 8, 0, 1, 2"}) +
                     section("TRACKBARINFO", {"T2, vthumb.bmp, vthumb.bmp, 1, 2, 30, V"}));
        QCOMPARE(loadError(host, second), QString());
        QCOMPARE(host.skin->HotAreas.size(), 2);
        QCOMPARE(host.skin->HotAreas[0].ID, QStringLiteral("Z"));
        // A six-item line leaves Checked as the first skin set it, but is no two-state button.
        QVERIFY(host.skin->HotAreas[0].Checked);
        QVERIFY(!host.skin->HotAreas[0].Toggle);
        QCOMPARE(host.skin->HotAreas[0].Group, QString());
        // Group lists are only appended to: "g" is the known group "G", whose current member stays.
        QCOMPARE(host.skin->GroupNames, QStringList{"G"});
        QCOMPARE(host.skin->GroupCurrent, QStringList{"0"});
        // A shorter display line keeps the kind and box of the element it overwrites.
        QCOMPARE(host.skin->Displays[0].ID, QStringLiteral("E"));
        QCOMPARE(host.skin->Displays[0].Kind, QStringLiteral("x"));
        QCOMPARE(host.skin->Displays[0].Value, QString());
        QCOMPARE(host.skin->Displays[0].Width, 7);
        // The remaining bar reloads its own thumb images; the dropped bar's images are freed.
        QCOMPARE(host.skin->TrackBars.size(), 1);
        QCOMPARE(host.skin->TrackBars[0].ThumbBitmap, thumb);
        QCOMPARE(thumb->size(), QSize(4, 10));
        QVERIFY(dropped.expired());
        QCOMPARE(host.messages.texts.count(bannerShown()), 2);
    }
};

QTEST_MAIN(TestSkinLoad)
#include "test_skinload.moc"
