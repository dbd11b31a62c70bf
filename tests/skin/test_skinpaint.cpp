#include "skin/SkinForm.h"
#include "tests/skin/SkinFixtures.h"

#include <QPainter>
#include <QTest>

namespace {

QRgb cellColor(int row, int cell)
{
    return qRgb(10 + row * 60, cell * 8, 200);
}

// A glyph image whose cells are each filled with cellColor(row, cell).
QImage glyphImage(int width, int height, int rows, int cells)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::black);
    const int w = width / cells;
    const int h = height / rows;
    for (int row = 0; row < rows; ++row)
        for (int cell = 0; cell < cells; ++cell)
            for (int y = row * h; y < (row + 1) * h; ++y)
                for (int x = cell * w; x < (cell + 1) * w; ++x)
                    image.setPixel(x, y, cellColor(row, cell));
    return image;
}

QImage filled(QSize size, QColor color)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

// Every pixel tells where in the picture it lies and which look it is, so that a copy from the wrong
// place or the wrong look shows.
QImage patterned(QSize size, int look)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb(x * 5 % 256, y * 7 % 256, look * 50 + (x + y) % 50));
    return image;
}

DisplayInfoRec display(const QString& kind, const QString& value, qint32 x = 0, qint32 y = 0)
{
    DisplayInfoRec rec;
    rec.ID = QStringLiteral("D");
    rec.Kind = kind;
    rec.Value = value;
    rec.X = x;
    rec.Y = y;
    rec.Font = std::make_shared<DisplayFont>();
    rec.Font->face = QStringLiteral("DejaVu Sans");
    rec.Font->size = 20;
    rec.Font->color = 0x0000FF;
    return rec;
}

} // namespace

class TestSkinPaint : public QObject
{
    Q_OBJECT

private:
    // A 200 x 60 skin: grey at rest, red where pressed.
    static void prepare(SkinHost& host)
    {
        host.skin->resize(200, 60);
        host.skin->MouseUpBitmap = filled({200, 60}, Qt::gray);
        host.skin->MouseDownBitmap = filled({200, 60}, Qt::red);
        host.skin->MouseOnBitmap = filled({200, 60}, Qt::green);
    }

    static QColor at(const SkinHost& host, int x, int y) { return host.skin->surface().pixelColor(x, y); }

    // Items of every kind over one another: two areas (the second a checked two-state one) under a
    // number display and a font text, a horizontal thumb under the second area's corner, a radio group
    // of two under a text display, and a vertical thumb over the second member.
    static void prepareOverlapping(TSkinForm& skin)
    {
        skin.resize(160, 70);
        skin.MouseUpBitmap = patterned({160, 70}, 0);
        skin.MouseDownBitmap = patterned({160, 70}, 1);
        skin.MouseOnBitmap = patterned({160, 70}, 2);
        skin.NumbersBitmap = glyphImage(110, 8, 1, 11);
        skin.TextBitmap = glyphImage(300, 30, 3, 30);
        skin.HotAreas = {hotArea("Plain", 10, 10, 40, 30), hotArea("Toggle", 30, 20, 40, 30),
                         hotArea("RadioA", 80, 5, 30, 20), hotArea("RadioB", 100, 15, 30, 20)};
        for (qsizetype i = 1; i < 4; ++i)
            skin.HotAreas[i].Toggle = true;
        skin.HotAreas[1].Checked = true;
        skin.HotAreas[2].Checked = true;
        skin.HotAreas[2].Group = skin.HotAreas[3].Group = QStringLiteral("G");
        skin.GroupNames = {QStringLiteral("G")};
        skin.GroupCurrent = {QStringLiteral("2")};
        skin.TrackBars = {trackBar("H", 25, 42, 100, true, 0, {10, 8}),
                          trackBar("V", 120, 0, 60, false, 20, {8, 10})};
        for (TrackBarInfoRec& bar : skin.TrackBars) {
            const QSize thumb(bar.ThumbWidth, bar.ThumbHeight);
            bar.ThumbBitmap = std::make_shared<QImage>(patterned(thumb, 3));
            bar.ThumbDownBitmap = std::make_shared<QImage>(patterned(thumb, 4));
        }
        skin.ActiveTrackBar = -1;
        DisplayInfoRec text = display(QString(), QStringLiteral("W"), 60, 35);
        text.Font->size = 12;
        skin.Displays = {display("Number", "12", 40, 25), display("Text", "Hi", 95, 12), text};
    }

    // What a skin that never painted before draws for `skin`'s items as they are now, under the hover
    // look of `hover`.
    static QImage paintedAfresh(const TSkinForm& skin, const QRect& hover)
    {
        SkinHost fresh;
        prepareOverlapping(*fresh.skin);
        fresh.skin->HotAreas = skin.HotAreas;
        fresh.skin->TrackBars = skin.TrackBars;
        fresh.skin->ActiveTrackBar = skin.ActiveTrackBar;
        fresh.skin->Displays = skin.Displays;
        fresh.skin->PaintSkin();
        QImage picture = fresh.skin->surface();
        if (!hover.isEmpty()) {
            QPainter painter(&picture);
            painter.setCompositionMode(QPainter::CompositionMode_Source);
            painter.drawImage(hover.topLeft(), skin.MouseOnBitmap, hover);
        }
        return picture;
    }

private slots:
    void paintsRestLookAndPressedOrCheckedAreas()
    {
        SkinHost host;
        prepare(host);
        host.skin->HotAreas = {hotArea("Plain", 0, 0, 10, 10), hotArea("Checked", 20, 0, 10, 10),
                               hotArea("CheckedNoToggle", 40, 0, 10, 10), hotArea("Pressed", 60, 0, 10, 10)};
        host.skin->HotAreas[1].Toggle = true;
        host.skin->HotAreas[1].Checked = true;
        host.skin->HotAreas[2].Checked = true;
        host.skin->HotAreas[3].Pressed = true;
        QVERIFY(host.skin->RepaintPending);
        host.skin->PaintSkin();
        QVERIFY(!host.skin->RepaintPending);
        QCOMPARE(host.skin->surface().size(), QSize(200, 60));
        QCOMPARE(at(host, 5, 5), QColor(Qt::gray));
        QCOMPARE(at(host, 25, 5), QColor(Qt::red));
        QCOMPARE(at(host, 30, 5), QColor(Qt::gray)); // right edge outside
        QCOMPARE(at(host, 45, 5), QColor(Qt::gray));
        QCOMPARE(at(host, 65, 9), QColor(Qt::red));
        QCOMPARE(at(host, 65, 10), QColor(Qt::gray));
        QCOMPARE(at(host, 5, 5), QColor(Qt::gray)); // no hover look from the painter
    }

    void drawsThumbsAtTheirOffsets()
    {
        SkinHost host;
        prepare(host);
        auto thumb = std::make_shared<QImage>(filled({10, 4}, Qt::blue));
        auto thumbDown = std::make_shared<QImage>(filled({10, 4}, Qt::cyan));
        host.skin->TrackBars = {trackBar("H", 10, 20, 100, true, 45, {10, 4}),
                                trackBar("V", 150, 10, 40, false, 30, {10, 4})};
        for (TrackBarInfoRec& bar : host.skin->TrackBars) {
            bar.ThumbBitmap = thumb;
            bar.ThumbDownBitmap = thumbDown;
        }
        host.skin->ActiveTrackBar = 1;
        host.skin->PaintSkin();
        QCOMPARE(at(host, 55, 20), QColor(Qt::blue));
        QCOMPARE(at(host, 64, 23), QColor(Qt::blue));
        QCOMPARE(at(host, 54, 20), QColor(Qt::gray));
        QCOMPARE(at(host, 150, 40), QColor(Qt::cyan));
        QCOMPARE(at(host, 150, 39), QColor(Qt::gray));
        host.skin->ActiveTrackBar = -1;
        host.skin->PaintSkin();
        QCOMPARE(at(host, 150, 40), QColor(Qt::blue));
    }

    void numberDisplayUsesTheStripCells_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QList<int>>("cells");
        QTest::newRow("colon takes cell 0") << "12:30" << QList<int>{1, 2, 0, 3, 0};
        QTest::newRow("blank takes cell 10") << "9 8" << QList<int>{9, 10, 8};
        QTest::newRow("letters take cell 0") << QStringLiteral("aЖ") << QList<int>{0, 0};
    }

    void numberDisplayUsesTheStripCells()
    {
        QFETCH(QString, value);
        QFETCH(QList<int>, cells);
        SkinHost host;
        prepare(host);
        // 115 pixels: 10-pixel cells, the 5 spare columns never shown.
        host.skin->NumbersBitmap = glyphImage(115, 8, 1, 11);
        host.skin->Displays = {display("Number", value, 3, 7)};
        host.skin->PaintSkin();
        for (int i = 0; i < cells.size(); ++i) {
            QCOMPARE(at(host, 3 + i * 10, 7), QColor(cellColor(0, cells[i])));
            QCOMPARE(at(host, 3 + i * 10 + 9, 14), QColor(cellColor(0, cells[i])));
        }
        QCOMPARE(at(host, 3 + int(cells.size()) * 10, 7), QColor(Qt::gray));
        QCOMPARE(at(host, 3, 15), QColor(Qt::gray));
    }

    void textDisplayUsesTheSheetRows_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QList<QPoint>>("cells"); // (cell, row)
        QTest::newRow("Hi!") << "Hi!" << QList<QPoint>{{7, 0}, {8, 2}, {17, 1}};
        QTest::newRow("digits and signs") << "0@$" << QList<QPoint>{{0, 1}, {26, 0}, {29, 1}};
        QTest::newRow("unknown characters are blanks")
            << QStringLiteral("#(;~Жé")
            << QList<QPoint>{{10, 1}, {10, 1}, {10, 1}, {10, 1}, {10, 1}, {10, 1}};
        QTest::newRow("backslash and slash") << "\\/" << QList<QPoint>{{20, 1}, {21, 1}};
    }

    void textDisplayUsesTheSheetRows()
    {
        QFETCH(QString, value);
        QFETCH(QList<QPoint>, cells);
        SkinHost host;
        prepare(host);
        host.skin->TextBitmap = glyphImage(305, 30, 3, 30);
        host.skin->Displays = {display("Text", value, 2, 20)};
        host.skin->PaintSkin();
        for (int i = 0; i < cells.size(); ++i) {
            const QColor expected(cellColor(cells[i].y(), cells[i].x()));
            QCOMPARE(at(host, 2 + i * 10, 20), expected);
            QCOMPARE(at(host, 2 + i * 10 + 9, 29), expected);
        }
        QCOMPARE(at(host, 2, 30), QColor(Qt::gray));
    }

    void displaysThatDrawNothing_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("glyphs");
        QTest::addColumn<QPoint>("at");
        QTest::newRow("number without a strip") << "Number" << false << QPoint(0, 0);
        QTest::newRow("text without a sheet") << "Text" << false << QPoint(0, 0);
        QTest::newRow("number at the largest x") << "Number" << true << QPoint(2147483640, 0);
        QTest::newRow("text at the largest y") << "Text" << true << QPoint(0, 2147483640);
        QTest::newRow("number left of the window") << "Number" << true << QPoint(-2147483647, 5);
        QTest::newRow("font text at the largest x") << "Font" << true << QPoint(2147483640, 5);
    }

    // The glyphs' rectangles lie past the largest coordinate: nothing of them is on the window.
    void displaysThatDrawNothing()
    {
        QFETCH(QString, kind);
        QFETCH(bool, glyphs);
        QFETCH(QPoint, at);
        SkinHost host;
        prepare(host);
        if (glyphs) {
            host.skin->NumbersBitmap = glyphImage(110, 8, 1, 11);
            host.skin->TextBitmap = glyphImage(300, 30, 3, 30);
        }
        host.skin->Displays = {display(kind, "123ABC", at.x(), at.y())};
        host.skin->PaintSkin();
        const QImage& surface = host.skin->surface();
        QCOMPARE(surface, filled({200, 60}, Qt::gray).convertToFormat(surface.format()));
    }

    // Later items lie over earlier ones: pressed areas over the rest look, thumbs over them, a font
    // text over those and glyph cells over the text.
    void laterItemsCoverEarlierOnes()
    {
        SkinHost host;
        prepare(host);
        host.skin->HotAreas = {hotArea("A", 0, 0, 60, 40), hotArea("B", 40, 20, 60, 40)};
        host.skin->HotAreas[0].Pressed = true;
        host.skin->HotAreas[1].Toggle = true;
        host.skin->HotAreas[1].Checked = true;
        host.skin->TrackBars = {trackBar("T", 50, 10, 100, true, 0, {20, 20})};
        host.skin->TrackBars[0].ThumbBitmap = std::make_shared<QImage>(filled({20, 20}, Qt::blue));
        host.skin->ActiveTrackBar = -1;
        host.skin->NumbersBitmap = glyphImage(110, 8, 1, 11);
        DisplayInfoRec text = display(QString(), QStringLiteral("\u2588\u2588\u2588"), 120, 5);
        text.Font->size = 30;
        host.skin->Displays = {display("Number", "1", 55, 12), text, display("Number", "2", 125, 15)};
        host.skin->PaintSkin();
        QCOMPARE(at(host, 5, 5), QColor(Qt::red));
        QCOMPARE(at(host, 90, 50), QColor(Qt::red));
        QCOMPARE(at(host, 110, 50), QColor(Qt::gray));
        QCOMPARE(at(host, 68, 25), QColor(Qt::blue));
        QCOMPARE(at(host, 56, 13), QColor(cellColor(0, 1)));
        QCOMPARE(at(host, 128, 18), QColor(cellColor(0, 2)));
        QCOMPARE(at(host, 140, 25), QColor(Qt::red)); // the text's colour, $0000FF
    }

    // However many texts a skin piles up, the one on top is drawn.
    void theTopmostOfManyFontTextsShows()
    {
        SkinHost host;
        prepare(host);
        DisplayInfoRec under = display(QString(), QStringLiteral("\u2588\u2588\u2588\u2588\u2588\u2588"));
        under.Font->size = 60;
        DisplayInfoRec top = under;
        top.Font = std::make_shared<DisplayFont>(*under.Font);
        top.Font->color = 0xFF0000;
        host.skin->Displays = QList<DisplayInfoRec>(200, under) << top;
        host.skin->PaintSkin();
        QCOMPARE(at(host, 30, 30), QColor(Qt::blue));
    }

    void otherKindsDrawWithTheFont_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("empty") << QString();
        QTest::newRow("small number") << "number";
        QTest::newRow("capital text") << "TEXT";
    }

    void otherKindsDrawWithTheFont()
    {
        QFETCH(QString, kind);
        SkinHost host;
        prepare(host);
        host.skin->NumbersBitmap = glyphImage(110, 8, 1, 11);
        host.skin->TextBitmap = glyphImage(300, 30, 3, 30);
        const QColor background(128, 128, 128);
        host.skin->MouseUpBitmap = filled({200, 60}, background);
        host.skin->Displays = {display(kind, QStringLiteral("WWWW"), 10, 10)};
        host.skin->PaintSkin();
        int red = 0;
        int other = 0;
        const QImage& surface = host.skin->surface();
        for (int y = 0; y < surface.height(); ++y) {
            for (int x = 0; x < surface.width(); ++x) {
                const QColor c = surface.pixelColor(x, y);
                if (c == background)
                    continue;
                // Strokes are the font colour ($0000FF is red) blended over the neutral background only.
                (c.red() > c.green() && c.red() > c.blue()) ? ++red : ++other;
                QVERIFY2(x >= 10 && y >= 10, "text starts at the display's corner");
            }
        }
        QVERIFY(red > 20);
        QCOMPARE(other, 0);
    }

    void fontSizesBecomePixelsAt96DotsPerInch_data()
    {
        QTest::addColumn<int>("points");
        QTest::addColumn<int>("pixels");
        QTest::newRow("8 points") << 8 << 11;
        QTest::newRow("9 points") << 9 << 12;
        QTest::newRow("12 points") << 12 << 16;
        QTest::newRow("1 point") << 1 << 1;
        QTest::newRow("no size") << 0 << 0;
        QTest::newRow("negative") << -12 << 0;
        QTest::newRow("largest skin side") << 24575 << 32767;
        QTest::newRow("largest integer") << 2147483647 << 32767;
    }

    void fontSizesBecomePixelsAt96DotsPerInch()
    {
        QFETCH(int, points);
        QFETCH(int, pixels);
        DisplayInfoRec huge = display(QString(), QStringLiteral("W"), 10, 10);
        huge.Font->size = points;
        QCOMPARE(huge.Font->pixelSize(), pixels);
        SkinHost host;
        prepare(host);
        host.skin->Displays = {huge};
        host.skin->PaintSkin();
        QCOMPARE(at(host, 5, 5), QColor(Qt::gray));
    }

    // Events are "m" (move), "d" (left press), "u" (release) at x,y, "l" (leave) and "v" (the host
    // changes a display's value and repaints). After each event whose picture is a fresh paint (a
    // release, a move inside an area or after a repaint was due, a leave from an area, a repaint), the
    // surface is held against a skin painting the same items from scratch.
    void repaintsShowWhatAFreshPaintShows_data()
    {
        QTest::addColumn<QString>("events");
        QTest::newRow("hovering over overlapping items") << "m15,15 m35,25 m45,35 m60,45 m5,55 m6,56 m90,15 "
                                                            "m110,25 m125,25 m6,56 m7,57";
        QTest::newRow("two-state area pressed and released") << "m35,25 d35,25 m36,26 u36,26 m37,27 d37,27 "
                                                                "u37,27 m15,15";
        QTest::newRow("released over another area") << "m15,15 d15,15 m35,25 u35,25 m15,15 d40,30 m41,31 "
                                                       "m5,55 m6,56 u6,56";
        QTest::newRow("radio group") << "d105,25 u105,25 m85,12 d85,12 u85,12 m105,25 d105,25 u105,25";
        QTest::newRow("thumb dragged over areas") << "m28,45 d28,45 m10,15 m40,45 m60,30 m90,45 u90,45 "
                                                     "m60,45 d123,25 m15,15 d16,16 m17,17 u17,17";
        QTest::newRow("tracks pressed") << "d100,45 u100,45 m100,45 d123,50 u123,50 m35,25";
        QTest::newRow("display changed by the host") << "m45,28 v m45,28";
        QTest::newRow("skin left") << "m35,25 l m35,25 d35,25 l m36,26 u36,26 l m85,12 l";
    }

    void repaintsShowWhatAFreshPaintShows()
    {
        QFETCH(QString, events);
        SkinHost host;
        TSkinForm& skin = *host.skin;
        prepareOverlapping(skin);
        skin.PaintSkin();
        for (const QString& event : events.split(u' ')) {
            const QStringList xy = event.mid(1).split(u',');
            const QPoint point = xy.size() == 2 ? QPoint(xy[0].toInt(), xy[1].toInt()) : QPoint();
            const bool freshBefore =
                skin.RepaintPending && std::none_of(skin.HotAreas.begin(), skin.HotAreas.end(),
                                                    [](const HotAreaInfoRec& area) { return area.Pressed; });
            const bool overArea = skin.OverHotArea;
            bool fresh = true;
            switch (event[0].toLatin1()) {
            case 'm':
                skin.MouseMove({}, point.x(), point.y());
                fresh = skin.hotAreaAt(point) >= 0 || freshBefore;
                break;
            case 'd':
                skin.MouseDown(Qt::LeftButton, {}, point.x(), point.y());
                fresh = false;
                break;
            case 'u':
                skin.MouseUp(Qt::LeftButton, {}, point.x(), point.y());
                break;
            case 'l':
                skin.MouseLeave();
                fresh = overArea;
                break;
            case 'v':
                skin.Displays[0].Value = QStringLiteral("34");
                skin.PaintSkin();
                break;
            }
            const int area = skin.hotAreaAt(point);
            const QRect hover =
                event[0] == u'm' && area >= 0 ? TSkinForm::hotAreaRect(skin.HotAreas[area]) : QRect();
            if (fresh)
                QVERIFY2(skin.surface() == paintedAfresh(skin, hover), qPrintable(event));
        }
    }

    void emptyValueDrawsNothing()
    {
        SkinHost host;
        prepare(host);
        host.skin->Displays = {display(QString(), QString(), 0, 0)};
        host.skin->PaintSkin();
        const QImage& surface = host.skin->surface();
        QCOMPARE(surface, filled({200, 60}, Qt::gray).convertToFormat(surface.format()));
    }
};

QTEST_MAIN(TestSkinPaint)
#include "test_skinpaint.moc"
