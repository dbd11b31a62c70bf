#include "skin/SkinError.h"
#include "skin/SkinForm.h"
#include "tests/skin/SkinFixtures.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestSkinForm : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    // A skin whose mask is key-coloured (white) except for the pixels of `shape`.
    QString makeMaskSkin(QSize size, const QRegion& shape)
    {
        static int counter = 0;
        const QString folder = m_dir.filePath(QStringLiteral("mask%1/").arg(++counter));
        QDir().mkpath(folder);
        QImage mask(size, QImage::Format_RGB32);
        mask.fill(Qt::white);
        for (const QRect& rect : shape)
            for (int y = rect.top(); y <= rect.bottom(); ++y)
                for (int x = rect.left(); x <= rect.right(); ++x)
                    mask.setPixel(x, y, qRgb(10, 20, 30));
        mask.save(folder + "mask.bmp", "BMP");
        writeFile(folder + "skin.ini", "[Version]\nVer=210\n[BITMAPINFO]\nMaskBitmap=mask.bmp\n");
        return folder + "skin.ini";
    }

private slots:
    void newComponentHasTheDefaults()
    {
        SkinHost host;
        TSkinForm& skin = *host.skin;
        QCOMPARE(skin.keyColor(), 0xFFFFFF);
        QCOMPARE(skin.tolerance(), 0);
        QCOMPARE(skin.SkinVersion, 210);
        QCOMPARE(skin.Charset, quint8(1));
        QVERIFY(skin.HoverEnabled);
        QVERIFY(skin.RepaintPending);
        QVERIFY(!skin.WindowRegion);
        QVERIFY(skin.HotAreas.isEmpty() && skin.Displays.isEmpty() && skin.TrackBars.isEmpty());
        QVERIFY(skin.GroupNames.isEmpty() && skin.GroupCurrent.isEmpty());
        for (const QImage* image : {&skin.MaskBitmap, &skin.MouseUpBitmap, &skin.MouseOnBitmap,
                                    &skin.MouseDownBitmap, &skin.NumbersBitmap, &skin.TextBitmap})
            QCOMPARE(image->size(), QSize(0, 0));
        QCOMPARE(skin.ActiveTrackBar, 0);
        QCOMPARE(skin.property("KeyColor").toInt(), 0xFFFFFF);
    }

    void placingOnAWindowMakesItFramelessAndFillsIt()
    {
        QWidget window;
        window.resize(300, 200);
        auto* skin = new TSkinForm(&window);
        QVERIFY(window.isWindow());
        QVERIFY(window.windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(window.testAttribute(Qt::WA_TranslucentBackground));
        QCOMPARE(skin->geometry(), QRect(0, 0, 300, 200));
        window.show();
        window.resize(120, 90);
        QTRY_COMPARE(skin->geometry(), QRect(0, 0, 120, 90));
    }

    void placingOnAnythingButAWindowIsRefused()
    {
        QWidget window;
        auto* panel = new QWidget(&window);
        try {
            TSkinForm refused(panel);
            QFAIL("placing on a panel was accepted");
        } catch (const SkinError& error) {
            QCOMPARE(error.message(), QStringLiteral("Please Drop me on a Form"));
        }
        QVERIFY(panel->children().isEmpty());
        QVERIFY(!window.windowFlags().testFlag(Qt::FramelessWindowHint));
    }

    void colourPropertiesOnlyStore()
    {
        SkinHost host;
        host.skin->setKeyColor(0x123456);
        host.skin->setTolerance(0x101010);
        QCOMPARE(host.skin->keyColor(), 0x123456);
        QCOMPARE(host.skin->tolerance(), 0x101010);
        host.skin->setKeyColor(0x123456);
        QCOMPARE(host.skin->keyColor(), 0x123456);
        QVERIFY(!host.skin->WindowRegion);
    }

    void loadShapesTheWindowFromTheMask()
    {
        SkinHost host;
        const QRegion shape = QRegion(2, 1, 5, 3) + QRegion(10, 6, 4, 2);
        host.skin->LoadSkin(makeMaskSkin({16, 9}, shape));
        QCOMPARE(host.window.size(), QSize(16, 9));
        QCOMPARE(host.skin->size(), QSize(16, 9));
        QVERIFY(host.skin->WindowRegion);
        QVERIFY(host.skin->WindowRegion->xored(shape).isEmpty());
        QVERIFY(host.window.mask().xored(shape).isEmpty());
        QCOMPARE(host.skin->surface().size(), QSize(16, 9));
    }

    void changingColoursAfterALoadKeepsTheOutline()
    {
        SkinHost host;
        const QRegion shape(1, 1, 3, 3);
        host.skin->LoadSkin(makeMaskSkin({8, 8}, shape));
        host.skin->setKeyColor(0);
        host.skin->setTolerance(0xFFFFFF);
        QVERIFY(host.window.mask().xored(shape).isEmpty());
        // The next load builds the outline with the new colours: every pixel is now a key pixel.
        host.skin->LoadSkin(host.skin->SkinFileName);
        QVERIFY(host.skin->WindowRegion && host.skin->WindowRegion->isEmpty());
    }

    void maskOfOnlyKeyPixelsCutsOutTheWholeWindow()
    {
        SkinHost host;
        host.skin->LoadSkin(makeMaskSkin({8, 8}, QRegion()));
        QVERIFY(host.skin->WindowRegion && host.skin->WindowRegion->isEmpty());
        // A cleared mask would show the whole rectangle; the window must show nothing.
        QVERIFY(!host.window.mask().isEmpty());
        QVERIFY(host.window.mask().intersected(host.window.rect()).isEmpty());
    }

    void shapedSurfaceIsTransparentOutsideTheOutline()
    {
        SkinHost host;
        host.skin->LoadSkin(makeMaskSkin({8, 8}, QRegion(2, 2, 3, 3)));
        const QImage shaped = host.skin->shapedSurface();
        QCOMPARE(qAlpha(shaped.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(shaped.pixel(3, 3)), 255);
        QCOMPARE(QColor(shaped.pixel(3, 3)), QColor(10, 20, 30));
    }

    // A one-pixel checkerboard of 2000 x 2000 gives two million runs: a region clip that large broke
    // the painter, on screen and in the checker alike.
    void everyOutlineThatCanBeBuiltCanBePainted()
    {
        const QString folder = m_dir.filePath(QStringLiteral("checkerboard/"));
        QDir().mkpath(folder);
        QImage mask(2000, 2000, QImage::Format_Mono);
        mask.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
        for (int y = 0; y < mask.height(); ++y)
            memset(mask.scanLine(y), y % 2 ? 0x55 : 0xAA, size_t(mask.bytesPerLine()));
        QVERIFY(mask.save(folder + "mask.bmp", "BMP"));
        QVERIFY(writeFile(folder + "skin.ini", "[Version]\nVer=210\n[BITMAPINFO]\nMaskBitmap=mask.bmp\n"));
        SkinHost host;
        host.skin->LoadSkin(folder + "skin.ini");
        QCOMPARE(host.skin->WindowRegion->rectCount(), 2000000);

        const QImage shaped = host.skin->shapedSurface();
        QCOMPARE(shaped.pixel(0, 0), qRgba(0, 0, 0, 255));
        QCOMPARE(qAlpha(shaped.pixel(1, 0)), 0);
        QCOMPARE(qAlpha(shaped.pixel(0, 1)), 0);
        QCOMPARE(shaped.pixel(1999, 1999), qRgba(0, 0, 0, 255));
        const QImage onScreen = host.window.grab().toImage();
        QCOMPARE(onScreen.pixel(1, 1), qRgba(0, 0, 0, 255));
        QCOMPARE(qAlpha(onScreen.pixel(2, 1)), 0);
    }

    void hintIsToolTipAndStatusTip()
    {
        SkinHost host;
        QSignalSpy changed(host.skin, &TSkinForm::hintChanged);
        host.skin->setHint(QStringLiteral("Exit"));
        host.skin->setHint(QStringLiteral("Exit"));
        QCOMPARE(host.skin->hint(), QStringLiteral("Exit"));
        QCOMPARE(host.skin->toolTip(), QStringLiteral("Exit"));
        QCOMPARE(host.skin->statusTip(), QStringLiteral("Exit"));
        QCOMPARE(changed.size(), 1);
        host.skin->setHint(QString());
        QCOMPARE(changed.size(), 2);
        QCOMPARE(host.skin->toolTip(), QString());
    }

    void hotAreaLookupsByID()
    {
        SkinHost host;
        host.skin->HotAreas = {hotArea("A"), hotArea("B"), hotArea("A")};
        QCOMPARE(host.skin->IndexOfHotArea("A"), 0);
        QCOMPARE(host.skin->IndexOfHotArea("B"), 1);
        QCOMPARE(host.skin->IndexOfHotArea("b"), -1);
        QCOMPARE(host.skin->HotAreaID(1), QStringLiteral("B"));
        QCOMPARE(host.skin->HotAreaID(3), QString());
        QCOMPARE(host.skin->HotAreaID(-1), QString());
        host.skin->SetHotAreaChecked("A", true);
        QVERIFY(host.skin->HotAreas[0].Checked);
        QVERIFY(!host.skin->HotAreas[2].Checked);
        host.skin->SetHotAreaChecked("none", true);
        QVERIFY(!host.skin->HotAreas[1].Checked);
    }

    void hitTestsLeaveRightAndBottomEdgesOutside_data()
    {
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<int>("area");
        QTest::newRow("top left") << QPoint(10, 20) << 0;
        QTest::newRow("last pixel") << QPoint(39, 59) << 0;
        QTest::newRow("right edge") << QPoint(40, 30) << 1;
        QTest::newRow("bottom edge") << QPoint(15, 60) << -1;
        QTest::newRow("left of it") << QPoint(9, 30) << -1;
    }

    void hitTestsLeaveRightAndBottomEdgesOutside()
    {
        QFETCH(QPoint, point);
        QFETCH(int, area);
        SkinHost host;
        host.skin->HotAreas = {hotArea("A", 10, 20, 30, 40), hotArea("B", 30, 20, 30, 40),
                               hotArea("Negative", 0, 0, -5, 5)};
        QCOMPARE(host.skin->hotAreaAt(point), area);
    }

    void trackBarGeometry()
    {
        const TrackBarInfoRec horizontal = trackBar("H", 10, 5, 100, true, 45, {10, 4});
        QCOMPARE(TSkinForm::trackRect(horizontal), QRect(10, 5, 100, 4));
        QCOMPARE(TSkinForm::thumbRect(horizontal), QRect(55, 5, 10, 4));
        QCOMPARE(TSkinForm::trackTravel(horizontal), 90);
        TrackBarInfoRec vertical = horizontal;
        vertical.Horizontal = false;
        QCOMPARE(TSkinForm::trackRect(vertical), QRect(10, 5, 10, 100));
        QCOMPARE(TSkinForm::thumbRect(vertical), QRect(10, 50, 10, 4));
        QCOMPARE(TSkinForm::trackTravel(vertical), 96);
    }
};

QTEST_MAIN(TestSkinForm)
#include "test_skinform.moc"
