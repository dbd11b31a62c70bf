#include "skin/SkinColor.h"
#include "skin/SkinForm.h"

#include <QFont>
#include <QPainter>

#include <climits>

namespace {

// The cells of the number strip, left to right.
const QString NumberGlyphs = QStringLiteral("0123456789 ");

// The three bands of the text sheet, cell 0 first; every band is laid out in 30 cells.
const QString TextGlyphRows[3] = {
    QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ@\"?*"),
    QStringLiteral("0123456789 .:<>-'!_+\\/[]^&%,=$"),
    QStringLiteral("abcdefghijklmnopqrstuvwxyz"),
};
constexpr int TextCellsPerRow = 30;
constexpr int NumberCells = 11;
// The blank of band 1 stands for every character the sheet does not hold.
constexpr int BlankTextRow = 1;
constexpr int BlankTextCell = 10;

// Fonts are sized in points at the 96 dots per inch skins are drawn for, whatever the surface says.
constexpr qint64 SkinDotsPerInch = 96;
constexpr qint64 PointsPerInch = 72;
constexpr qint64 MaxFontPixels = 32767;

} // namespace

int DisplayFont::pixelSize() const
{
    if (size <= 0)
        return 0;
    // Rounded to the nearest pixel, in 64 bits.
    const qint64 pixels = (qint64(size) * SkinDotsPerInch * 2 + PointsPerInch) / (PointsPerInch * 2);
    return int(qMin(pixels, MaxFontPixels));
}

void TSkinForm::PaintSkin()
{
    ensureSurface();
    if (!m_surface.isNull()) {
        QPainter painter(&m_surface);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(0, 0, MouseUpBitmap);
        for (const HotAreaInfoRec& area : std::as_const(HotAreas)) {
            if ((area.Toggle && area.Checked) || area.Pressed) {
                const QRect rect = hotAreaRect(area);
                painter.drawImage(rect, MouseDownBitmap, rect);
            }
        }
        for (qsizetype i = 0; i < TrackBars.size(); ++i) {
            const TrackBarInfoRec& bar = TrackBars[i];
            const std::shared_ptr<QImage>& thumb =
                i == ActiveTrackBar ? bar.ThumbDownBitmap : bar.ThumbBitmap;
            // Each image at its own size: a pressed thumb that failed to load (0 x 0) must not
            // hide the thumb at rest.
            if (!thumb || thumb->isNull())
                continue;
            const qint64 left = bar.Horizontal ? qint64(bar.X) + bar.ThumbOffset : bar.X;
            const qint64 top = bar.Horizontal ? bar.Y : qint64(bar.Y) + bar.ThumbOffset;
            if (left >= INT_MIN && left <= INT_MAX && top >= INT_MIN && top <= INT_MAX)
                painter.drawImage(QPoint(int(left), int(top)), *thumb);
        }
        for (const DisplayInfoRec& display : std::as_const(Displays))
            drawDisplay(painter, display);
    }
    RepaintPending = false;
    update();
}

void TSkinForm::drawDisplay(QPainter& painter, const DisplayInfoRec& display)
{
    if (display.Kind == QLatin1String("Number"))
        DrawNumberText(painter, display.X, display.Y, display.Value);
    else if (display.Kind == QLatin1String("Text"))
        DrawGlyphText(painter, display.X, display.Y, display.Value);
    else
        drawFontText(painter, display);
}

void TSkinForm::DrawNumberText(QPainter& painter, qint32 x, qint32 y, const QString& text)
{
    const int w = NumbersBitmap.width() / NumberCells;
    const int h = NumbersBitmap.height();
    if (w == 0 || h == 0)
        return;
    qint64 left = x;
    for (const char32_t c : text.toUcs4()) {
        // A character the strip lacks shows the digit 0, not the blank.
        const qsizetype k = c < 0x10000 ? qMax<qsizetype>(NumberGlyphs.indexOf(QChar(char16_t(c))), 0) : 0;
        painter.drawImage(QRect(static_cast<int>(left), y, w, h), NumbersBitmap,
                          QRect(static_cast<int>(k) * w, 0, w, h));
        left += w;
    }
}

void TSkinForm::DrawGlyphText(QPainter& painter, qint32 x, qint32 y, const QString& text)
{
    const int w = TextBitmap.width() / TextCellsPerRow;
    const int h = TextBitmap.height() / 3;
    if (w == 0 || h == 0)
        return;
    qint64 left = x;
    for (const char32_t c : text.toUcs4()) {
        int row = BlankTextRow;
        int cell = BlankTextCell;
        for (int r = 0; r < 3 && c < 0x10000; ++r) {
            const qsizetype found = TextGlyphRows[r].indexOf(QChar(char16_t(c)));
            if (found >= 0) {
                row = r;
                cell = static_cast<int>(found);
                break;
            }
        }
        painter.drawImage(QRect(static_cast<int>(left), y, w, h), TextBitmap, QRect(cell * w, row * h, w, h));
        left += w;
    }
}

// Drawn unclipped over the skin, only the strokes; the character set needs no font choice here since
// the text is already Unicode.
void TSkinForm::drawFontText(QPainter& painter, const DisplayInfoRec& display)
{
    if (display.Value.isEmpty() || !display.Font)
        return;
    QFont font(display.Font->face);
    font.setBold(display.Font->bold);
    font.setItalic(display.Font->italic);
    if (const int pixels = display.Font->pixelSize(); pixels > 0)
        font.setPixelSize(pixels);
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setFont(font);
    painter.setPen(QColor(resolveColor(display.Font->color)));
    const QRect box(display.X, display.Y, 1, 1);
    painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip | Qt::TextSingleLine,
                     display.Value);
    painter.restore();
}
