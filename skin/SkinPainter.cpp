#include "skin/SkinColor.h"
#include "skin/SkinForm.h"
#include "skin/SurfaceLayers.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

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
// Qt places glyphs in 26.6 fixed point, which wraps some 33 million pixels out: text placed that far
// off could never reach the window anyway.
constexpr qint64 MaxTextCoordinate = 1 << 24;
// The font engine's work grows with the size of a text, so the font texts one paint draws cover at
// most this many times the surface, the topmost first. No real skin comes near it; a hostile one loses
// the texts buried deepest.
constexpr qint64 FontTextCoverage = 32;

QFont displayFont(const DisplayFont& face)
{
    QFont font(face.face);
    font.setBold(face.bold);
    font.setItalic(face.italic);
    if (const int pixels = face.pixelSize(); pixels > 0)
        font.setPixelSize(pixels);
    return font;
}

// Where a font text may draw, cut to `bounds`. Text runs right and down from its corner; a margin of a
// line takes in strokes that overhang it, and a generous advance per character the characters a
// fallback font draws wider.
QRect fontTextBox(const DisplayInfoRec& display, const QFont& font, const QRect& bounds)
{
    const qint64 x = display.X;
    const qint64 y = display.Y;
    if (qAbs(x) > MaxTextCoordinate || qAbs(y) > MaxTextCoordinate)
        return {};
    const QFontMetrics metrics(font);
    const qint64 margin = metrics.height();
    const qint64 reach = (qint64(display.Value.size()) + 1) * 4 * (metrics.maxWidth() + margin);
    const qint64 left = qMax<qint64>(x - margin, bounds.left());
    const qint64 top = qMax<qint64>(y - margin, bounds.top());
    const qint64 right = qMin<qint64>(x + reach, bounds.right());
    const qint64 bottom = qMin<qint64>(y + 2 * margin, bounds.bottom());
    if (left > right || top > bottom)
        return {};
    return QRect(QPoint(int(left), int(top)), QPoint(int(right), int(bottom)));
}

} // namespace

int DisplayFont::pixelSize() const
{
    if (size <= 0)
        return 0;
    // Rounded to the nearest pixel, in 64 bits.
    const qint64 pixels = (qint64(size) * SkinDotsPerInch * 2 + PointsPerInch) / (PointsPerInch * 2);
    return int(qMin(pixels, MaxFontPixels));
}

// Only where an item changed is painted again; the rest of the surface is put back from the base.
void TSkinForm::PaintSkin()
{
    ensureSurface();
    std::vector<QRect> changed;
    m_painted.update(*this, m_surface.rect(), changed);
    itemsChanged(changed);
    showPainted();
}

// The surface is made of opaque layers (the rest look, pressed and checked areas, thumbs, glyph
// displays), composed so that each pixel is copied once, then of font texts drawn over them in order.
// Pressed and checked areas all show the same picture, so their order among themselves does not matter.
void TSkinForm::paintPart(QImage& target, const QRect& part)
{
    if (target.isNull() || part.isEmpty())
        return;
    std::vector<SurfaceLayer> layers;
    layers.push_back(pictureLayer(MouseUpBitmap, 0, 0, part));
    const QRect pressedBounds = part & MouseDownBitmap.rect();
    for (const HotAreaInfoRec& area : std::as_const(HotAreas)) {
        if ((area.Toggle && area.Checked) || area.Pressed) {
            if (const QRect rect = hotAreaRect(area) & pressedBounds; !rect.isEmpty())
                layers.push_back(pictureLayerPart(MouseDownBitmap, rect, part));
        }
    }
    for (qsizetype i = 0; i < TrackBars.size(); ++i) {
        // Each image at its own size: a pressed thumb that failed to load (0 x 0) must not hide the
        // thumb at rest.
        if (const ThumbLook thumb = thumbLook(i); thumb.picture)
            layers.push_back(pictureLayer(*thumb.picture, thumb.left, thumb.top, part));
    }
    // A font text lies over the layers before it; the glyph displays after it cover it again.
    struct FontText
    {
        const DisplayInfoRec* display;
        std::size_t layersBelow;
        QFont font;
        QRect box;
    };
    std::vector<FontText> texts;
    for (const DisplayInfoRec& display : std::as_const(Displays)) {
        if (display.Kind == QLatin1String("Number"))
            layers.push_back(DrawNumberText(display.X, display.Y, display.Value, part));
        else if (display.Kind == QLatin1String("Text"))
            layers.push_back(DrawGlyphText(display.X, display.Y, display.Value, part));
        else if (!display.Value.isEmpty() && display.Font)
            texts.push_back({&display, layers.size(), displayFont(*display.Font), {}});
    }
    composeLayers(target, layers, part);
    // Chosen over the whole surface, so that a repaint of a part draws what a full paint draws there.
    qint64 coverage = FontTextCoverage * qint64(target.width()) * qint64(target.height());
    auto drawnFrom = texts.end();
    while (drawnFrom != texts.begin()) {
        FontText& text = *(drawnFrom - 1);
        text.box = fontTextBox(*text.display, text.font, target.rect());
        coverage -= qint64(text.box.width()) * qint64(text.box.height());
        if (coverage < 0)
            break;
        --drawnFrom;
    }
    for (auto text = drawnFrom; text != texts.end(); ++text) {
        const QRect touched = text->box & part;
        if (touched.isEmpty())
            continue;
        drawFontText(target, *text->display, text->font, touched);
        const std::span<const SurfaceLayer> above(layers.begin() + std::ptrdiff_t(text->layersBelow),
                                                  layers.end());
        if (!above.empty())
            composeLayers(target, above, touched);
    }
}

SurfaceLayer TSkinForm::DrawNumberText(qint32 x, qint32 y, const QString& text, const QRect& part) const
{
    const QSize cell(NumbersBitmap.width() / NumberCells, NumbersBitmap.height());
    return stripLayer(NumbersBitmap, x, y, cell, text, part, [cell](char32_t c) {
        // A character the strip lacks shows the digit 0, not the blank.
        const qsizetype k = c < 0x10000 ? qMax<qsizetype>(NumberGlyphs.indexOf(QChar(char16_t(c))), 0) : 0;
        return QPoint(int(k) * cell.width(), 0);
    });
}

SurfaceLayer TSkinForm::DrawGlyphText(qint32 x, qint32 y, const QString& text, const QRect& part) const
{
    const QSize cell(TextBitmap.width() / TextCellsPerRow, TextBitmap.height() / 3);
    return stripLayer(TextBitmap, x, y, cell, text, part, [cell](char32_t c) {
        for (int row = 0; row < 3 && c < 0x10000; ++row) {
            const qsizetype found = TextGlyphRows[row].indexOf(QChar(char16_t(c)));
            if (found >= 0)
                return QPoint(int(found) * cell.width(), row * cell.height());
        }
        return QPoint(BlankTextCell * cell.width(), BlankTextRow * cell.height());
    });
}

// Only the strokes, and only within `part` of `target`; the character set needs no font choice here
// since the text is already Unicode.
void TSkinForm::drawFontText(QImage& target, const DisplayInfoRec& display, const QFont& font,
                             const QRect& part)
{
    QPainter painter(&target);
    painter.setClipRect(part);
    painter.setFont(font);
    painter.setPen(QColor(resolveColor(display.Font->color)));
    const QRect box(display.X, display.Y, 1, 1);
    painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip | Qt::TextSingleLine,
                     display.Value);
}
