#include "skin/MaskRegion.h"

#include <QBitmap>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>
#include <QTest>

namespace {

using Row = QList<QRgb>;

constexpr QRgb White = 0xffffffff;
constexpr QRgb Black = 0xff000000;

// One row per list, all of the same length.
QImage maskOf(const QList<Row>& rows)
{
    QImage mask(int(rows.first().size()), int(rows.size()), QImage::Format_RGB32);
    for (int y = 0; y < mask.height(); ++y) {
        for (int x = 0; x < mask.width(); ++x)
            mask.setPixel(x, y, rows[y][x]);
    }
    return mask;
}

QImage filled(int width, int height, QRgb color)
{
    QImage mask(width, height, QImage::Format_RGB32);
    mask.fill(color);
    return mask;
}

QRegion regionOf(const QList<QRect>& rects)
{
    QRegion region;
    for (const QRect& rect : rects)
        region += rect;
    return region;
}

// Pixel by pixel, the slow obvious way: the reference for larger masks.
QRegion referenceRegion(const QImage& mask, QRgb low, QRgb high)
{
    QRegion region;
    for (int y = 0; y < mask.height(); ++y) {
        QRegion row;
        for (int x = 0; x < mask.width(); ++x) {
            const QColor c = mask.pixelColor(x, y);
            const bool key = c.red() >= qRed(low) && c.red() <= qRed(high) && c.green() >= qGreen(low) &&
                             c.green() <= qGreen(high) && c.blue() >= qBlue(low) && c.blue() <= qBlue(high);
            if (!key)
                row += QRect(x, y, 1, 1);
        }
        region += row;
    }
    return region;
}

bool sameArea(const QRegion& a, const QRegion& b)
{
    return a.xored(b).isEmpty();
}

} // namespace

class TestMaskRegion : public QObject
{
    Q_OBJECT

private slots:
    void nullMaskGivesNoRegion() { QVERIFY(!BuildMaskRegion(QImage(), 0xFFFFFF, 0).has_value()); }

    void keyRangeDecidesWhichPixelsAreCut_data()
    {
        QTest::addColumn<QImage>("mask");
        QTest::addColumn<qint32>("key");
        QTest::addColumn<qint32>("tolerance");
        QTest::addColumn<QRegion>("expected");

        QTest::newRow("white key cuts only pure white")
            << maskOf({{White, 0xfffeffff, White, 0xfffffffe, 0xffffFEff}}) << qint32(0xFFFFFF) << qint32(0)
            << regionOf({{1, 0, 1, 1}, {3, 0, 2, 1}});
        QTest::newRow("black key with tolerance 16")
            << maskOf({{Black, 0xff101010, 0xff111010, 0xff050505, 0xff101011, 0xff0a0b0c}}) << qint32(0)
            << qint32(0x101010) << regionOf({{2, 0, 1, 1}, {4, 0, 1, 1}});
        QTest::newRow("240 plus 32 stops at 255")
            << maskOf({{White, 0xffeff0f0, 0xfff0f0f0, 0xfff0fff5, 0xfff0f0ef}}) << qint32(0xF0F0F0)
            << qint32(0x202020) << regionOf({{1, 0, 1, 1}, {4, 0, 1, 1}});
        QTest::newRow("key red is the low byte")
            << maskOf({{qRgb(255, 0, 0), qRgb(0, 0, 255), qRgb(255, 0, 0)}}) << qint32(0x0000FF) << qint32(0)
            << regionOf({{1, 0, 1, 1}});
        QTest::newRow("tolerance per channel")
            << maskOf({{qRgb(10, 20, 30), qRgb(15, 20, 30), qRgb(10, 25, 30), qRgb(10, 20, 40)}})
            << qint32(0x1E140A) << qint32(0x000005) << regionOf({{2, 0, 2, 1}});
        QTest::newRow("only key pixels: empty")
            << filled(5, 4, White) << qint32(0xFFFFFF) << qint32(0) << QRegion();
        QTest::newRow("no key pixels: full rectangle")
            << filled(7, 3, Black) << qint32(0xFFFFFF) << qint32(0) << QRegion(0, 0, 7, 3);
        QTest::newRow("window key window: two runs") << maskOf({{Black, White, Black}}) << qint32(0xFFFFFF)
                                                     << qint32(0) << regionOf({{0, 0, 1, 1}, {2, 0, 1, 1}});
        QTest::newRow("key in the last column")
            << maskOf({{Black, Black, Black, White}}) << qint32(0xFFFFFF) << qint32(0) << QRegion(0, 0, 3, 1);
        QTest::newRow("key in the first column")
            << maskOf({{White, Black, Black}}) << qint32(0xFFFFFF) << qint32(0) << QRegion(1, 0, 2, 1);
        QTest::newRow("rows are independent")
            << maskOf({{Black, White, White}, {White, White, Black}, {Black, Black, Black}})
            << qint32(0xFFFFFF) << qint32(0) << regionOf({{0, 0, 1, 1}, {2, 1, 1, 1}, {0, 2, 3, 1}});
        QTest::newRow("system key colour")
            << maskOf({{Black, White}}) << qint32(0xFF000012) << qint32(0)
            << (QGuiApplication::palette().color(QPalette::ButtonText).rgb() == Black ? QRegion(1, 0, 1, 1)
                                                                                      : QRegion(0, 0, 2, 1));
    }

    void keyRangeDecidesWhichPixelsAreCut()
    {
        QFETCH(QImage, mask);
        QFETCH(qint32, key);
        QFETCH(qint32, tolerance);
        QFETCH(QRegion, expected);
        const std::optional<QRegion> region = BuildMaskRegion(mask, key, tolerance);
        QVERIFY(region.has_value());
        QVERIFY2(sameArea(*region, expected), qPrintable(QString::number(region->rectCount())));
        QCOMPARE(region->isEmpty(), expected.isEmpty());
    }

    void alternatingRowOf4001PixelsGives2001Runs()
    {
        QImage mask = filled(4001, 1, White);
        QRegion expected;
        for (int x = 0; x < mask.width(); x += 2) {
            mask.setPixel(x, 0, Black);
            expected += QRect(x, 0, 1, 1);
        }
        const std::optional<QRegion> region = BuildMaskRegion(mask, 0xFFFFFF, 0);
        QVERIFY(region.has_value());
        QCOMPARE(region->rectCount(), 2001);
        QVERIFY(sameArea(*region, expected));
        QVERIFY(region->contains(QPoint(4000, 0)));
        QVERIFY(!region->contains(QPoint(3999, 0)));
    }

    void otherPixelFormatsGiveTheSameOutline_data()
    {
        QTest::addColumn<int>("format");
        QTest::newRow("argb32") << int(QImage::Format_ARGB32);
        QTest::newRow("premultiplied") << int(QImage::Format_ARGB32_Premultiplied);
        QTest::newRow("rgb888") << int(QImage::Format_RGB888);
        QTest::newRow("indexed") << int(QImage::Format_Indexed8);
    }

    void otherPixelFormatsGiveTheSameOutline()
    {
        QFETCH(int, format);
        const QImage mask = maskOf({{Black, White, Black, 0xff808080}, {White, 0xff123456, White, White}});
        const QRegion expected = *BuildMaskRegion(mask, 0xFFFFFF, 0);
        const std::optional<QRegion> region =
            BuildMaskRegion(mask.convertToFormat(QImage::Format(format)), 0xFFFFFF, 0);
        QVERIFY(region.has_value());
        QVERIFY(sameArea(*region, expected));
        QVERIFY(sameArea(expected, regionOf({{0, 0, 1, 1}, {2, 0, 2, 1}, {1, 1, 1, 1}})));
    }

    void shapedSkinMaskMatchesQtsOwnMask()
    {
        QImage mask = filled(595, 510, White);
        QPainter painter(&mask);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath outline;
        outline.addRoundedRect(QRectF(10, 40, 575, 460), 30, 30);
        outline.addEllipse(QRectF(200, 5, 195, 80));
        painter.fillPath(outline, QColor(40, 40, 44));
        painter.end();
        // The key pixels become the bitmap's background, which the region leaves out.
        const QRegion qtMask(QBitmap::fromImage(mask.createMaskFromColor(White)));
        const std::optional<QRegion> region = BuildMaskRegion(mask, 0xFFFFFF, 0);
        QVERIFY(region.has_value());
        QVERIFY(sameArea(*region, qtMask));
        QCOMPARE(region->boundingRect(), qtMask.boundingRect());
    }

    void noisyMaskMatchesThePixelByPixelReference_data()
    {
        QTest::addColumn<qint32>("key");
        QTest::addColumn<qint32>("tolerance");
        QTest::addColumn<QRgb>("low");
        QTest::addColumn<QRgb>("high");
        QTest::newRow("white exact") << qint32(0xFFFFFF) << qint32(0) << qRgb(255, 255, 255)
                                     << qRgb(255, 255, 255);
        QTest::newRow("dark range") << qint32(0x000000) << qint32(0x7F7F7F) << qRgb(0, 0, 0)
                                    << qRgb(127, 127, 127);
        QTest::newRow("clamped range")
            << qint32(0x20C0A0) << qint32(0x808080) << qRgb(0xA0, 0xC0, 0x20) << qRgb(255, 255, 0xA0);
    }

    void noisyMaskMatchesThePixelByPixelReference()
    {
        QFETCH(qint32, key);
        QFETCH(qint32, tolerance);
        QFETCH(QRgb, low);
        QFETCH(QRgb, high);
        // Enough runs for several batches of rectangles.
        QRandomGenerator random(4242);
        QImage mask(200, 160, QImage::Format_RGB32);
        for (int y = 0; y < mask.height(); ++y) {
            for (int x = 0; x < mask.width(); ++x)
                mask.setPixel(x, y, random.bounded(3) == 0 ? White : 0xff000000 | random.generate());
        }
        const std::optional<QRegion> region = BuildMaskRegion(mask, key, tolerance);
        QVERIFY(region.has_value());
        QVERIFY(sameArea(*region, referenceRegion(mask, low, high)));
    }
};

QTEST_MAIN(TestMaskRegion)
#include "test_maskregion.moc"
