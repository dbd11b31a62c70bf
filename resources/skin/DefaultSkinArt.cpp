#include "DefaultSkinArt.h"

#include "DefaultSkinLayout.h"
#include "DefaultSkinPanels.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>

#include <vector>

namespace defaultskin {

namespace {

const QColor Asphalt(38, 39, 43);
const QColor AsphaltLight(74, 76, 82);
const QColor Accent(255, 106, 19);
const QColor AccentRed(215, 38, 30);
// Gunmetal: dark enough that the toolkit's faint group-box frames vanish on it, light enough for
// black print.
const QColor MetalTop(160, 164, 170);
const QColor MetalBottom(136, 140, 147);
// The slot rows' own background, so the rows and the inset read as one surface.
const QColor InsetFill(242, 242, 242);
// Dark teal: the aqua of the scroll boxes, sunk into the metal.
const QColor InsetEdge(40, 92, 100);

QPainterPath outlinePath()
{
    QPainterPath body;
    body.addRoundedRect(QRectF(Body), 26, 26);
    QPainterPath bump;
    bump.addRoundedRect(QRectF(TitleBump), 18, 18);
    return body.united(bump);
}

// Fine grain of road tar: every pixel a little lighter or darker, the same on every run.
void paintAsphalt(QImage& image)
{
    QRandomGenerator grain(2001);
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int stone = grain.bounded(100) == 0 ? 18 : 0;
            const int shade = grain.bounded(-7, 8) + stone;
            row[x] = qRgb(Asphalt.red() + shade, Asphalt.green() + shade, Asphalt.blue() + shade);
        }
    }
}

// Brushed metal: noise smeared along each row, over a gentle top-to-bottom shade.
QImage brushedMetal(QSize size)
{
    QRandomGenerator grain(1997);
    QImage metal(size, QImage::Format_RGB32);
    constexpr int Smear = 9;
    std::vector<int> noise(size_t(size.width()) + 2 * Smear);
    for (int y = 0; y < size.height(); ++y) {
        for (int& value : noise)
            value = grain.bounded(-14, 15);
        const qreal t = size.height() > 1 ? qreal(y) / (size.height() - 1) : 0;
        const int base[3] = {int(MetalTop.red() + t * (MetalBottom.red() - MetalTop.red())),
                             int(MetalTop.green() + t * (MetalBottom.green() - MetalTop.green())),
                             int(MetalTop.blue() + t * (MetalBottom.blue() - MetalTop.blue()))};
        auto* row = reinterpret_cast<QRgb*>(metal.scanLine(y));
        int sum = 0;
        for (int i = 0; i < 2 * Smear + 1; ++i)
            sum += noise[size_t(i)];
        for (int x = 0; x < size.width(); ++x) {
            const int shade = sum / (2 * Smear + 1);
            row[x] = qRgb(base[0] + shade, base[1] + shade, base[2] + shade);
            sum += noise[size_t(x + 2 * Smear + 1) % noise.size()] - noise[size_t(x)];
        }
    }
    return metal;
}

void paintRim(QPainter& painter, const QPainterPath& outline)
{
    QLinearGradient rim(0, 0, 0, WindowSize.height());
    rim.setColorAt(0, AsphaltLight.lighter(130));
    rim.setColorAt(1, QColor(16, 16, 18));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QBrush(rim), 3));
    painter.drawPath(outline);
}

// Two thin accent lines along the top edge, broken by the title bump and ending before the exit.
void paintHeaderStripes(QPainter& painter)
{
    painter.setPen(Qt::NoPen);
    const int rightStart = TitleBump.right() + 7;
    for (const auto& [x, width] :
         {std::pair{40, TitleBump.left() - 46}, std::pair{rightStart, ExitRing.left() - 10 - rightStart}}) {
        painter.setBrush(Accent);
        painter.drawRect(x, 28, width, 3);
        painter.setBrush(AccentRed);
        painter.drawRect(x, 33, width, 2);
    }
}

// Racing stripes down both sides of the deck.
void paintSideStripes(QPainter& painter)
{
    painter.setPen(Qt::NoPen);
    const int top = Deck.top() + 20;
    const int height = Deck.height() - 40;
    for (int left : {28, WindowSize.width() - 46}) {
        painter.setBrush(Accent);
        painter.drawRect(left, top, 8, height);
        painter.setBrush(AccentRed);
        painter.drawRect(left + 12, top, 4, height);
    }
}

void paintSpeedLines(QPainter& painter)
{
    painter.setPen(QPen(Accent, 2, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 3; ++i) {
        const int y = 18 + i * 8;
        painter.drawLine(TitleBump.left() + 24 + i * 6, y, TitleBump.left() + 46 + i * 2, y);
    }
}

void paintTitle(QPainter& painter, Look look)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(32);
    font.setBold(true);
    font.setItalic(true);
    const QPoint shift = look == Look::Pressed ? QPoint(1, 1) : QPoint(0, 0);
    const QRect box = TitleArea.translated(shift);
    if (look == Look::Hover) {
        // An elliptic glow that fades out inside the area, so the area's edges never show.
        const qreal radius = TitleArea.height() / 2.0;
        QRadialGradient glow(QPointF(0, 0), radius);
        glow.setColorAt(0, QColor(255, 106, 19, 150));
        glow.setColorAt(1, QColor(255, 106, 19, 0));
        painter.save();
        painter.translate(QRectF(TitleArea).center());
        painter.scale(TitleArea.width() / qreal(TitleArea.height()), 1);
        painter.fillRect(QRectF(-radius, -radius, 2 * radius, 2 * radius), glow);
        painter.restore();
    }
    QPainterPath text;
    text.addText(0, 0, font, QStringLiteral("Rovex"));
    const QRectF bounds = text.boundingRect();
    text.translate(QRectF(box).center() - bounds.center());
    painter.setPen(QPen(look == Look::Pressed ? AccentRed.darker(140) : AccentRed, 4, Qt::SolidLine,
                        Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(text);
    QLinearGradient fill(0, box.top(), 0, box.bottom());
    fill.setColorAt(0, Qt::white);
    fill.setColorAt(1, look == Look::Pressed ? Accent.darker(130) : QColor(255, 214, 170));
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawPath(text);
}

// A dark key with a round red button and a white cross, under the window's exit area. The key's rim
// glows when the pointer comes near; a press on the rim is no press of the button, so it looks the same.
void paintExit(QPainter& painter, Look look)
{
    // The rim is drawn just inside the key, so the looks differ only inside the hot area.
    QPainterPath key;
    key.addRoundedRect(QRectF(ExitRing).adjusted(1, 1, -1, -1), ExitRadius - 1, ExitRadius - 1);
    const bool lit = look != Look::Rest;
    QLinearGradient face(0, ExitRing.top(), 0, ExitRing.bottom());
    face.setColorAt(0, QColor(62, 64, 70));
    face.setColorAt(1, QColor(24, 25, 28));
    painter.setPen(QPen(lit ? Accent : QColor(12, 12, 14), 2));
    painter.setBrush(face);
    painter.drawPath(key);

    const QRectF disc = QRectF(ExitArea).adjusted(1.5, 1.5, -1.5, -1.5);
    QRadialGradient red(disc.center() - QPointF(4, 4), disc.width() * 0.7);
    red.setColorAt(0, lit ? QColor(255, 150, 120) : QColor(255, 110, 90));
    red.setColorAt(1, lit ? AccentRed : AccentRed.darker(130));
    painter.setPen(QPen(QColor(20, 20, 22), 1));
    painter.setBrush(red);
    painter.drawEllipse(disc);
    painter.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap));
    const QRectF cross = disc.adjusted(7, 7, -7, -7);
    painter.drawLine(cross.topLeft(), cross.bottomRight());
    painter.drawLine(cross.topRight(), cross.bottomLeft());
}

// A soft shadow the deck casts on the asphalt.
void paintDeckShadow(QPainter& painter)
{
    for (int i = 6; i >= 1; --i) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0, 0, 0, 22));
        painter.drawRoundedRect(QRectF(Deck).adjusted(-i + 2, -i + 3, i + 2, i + 3), DeckRadius + i,
                                DeckRadius + i);
    }
}

void paintDeck(QPainter& painter)
{
    const QPainterPath deck = panelOutline(QStringLiteral("deck"));
    painter.save();
    painter.setClipPath(deck);
    painter.drawImage(Deck.topLeft(), brushedMetal(Deck.size()));
    // Light falls from above: a soft sheen along the top, a soft shade along the bottom.
    QLinearGradient light(0, Deck.top(), 0, Deck.bottom());
    light.setColorAt(0, QColor(255, 255, 255, 70));
    light.setColorAt(0.05, QColor(255, 255, 255, 0));
    light.setColorAt(0.94, QColor(0, 0, 0, 0));
    light.setColorAt(1, QColor(0, 0, 0, 60));
    painter.fillRect(Deck, light);
    painter.restore();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Accent, 2));
    painter.drawPath(deck);
}

// The slot rows' light inset, sunk into the deck.
void paintSlotInset(QPainter& painter)
{
    const QPainterPath inset = panelOutline(QStringLiteral("slots"));
    painter.setPen(Qt::NoPen);
    painter.setBrush(InsetFill);
    painter.drawPath(inset);
    painter.save();
    painter.setClipPath(inset);
    QLinearGradient shade(0, SlotInset.top(), 0, SlotInset.top() + 5);
    shade.setColorAt(0, QColor(0, 0, 0, 60));
    shade.setColorAt(1, QColor(0, 0, 0, 0));
    painter.fillRect(QRect(SlotInset.left(), SlotInset.top(), SlotInset.width(), 5), shade);
    painter.restore();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(InsetEdge, 2));
    painter.drawPath(inset);
}

// The dark console the buttons and the status bars sit in, sunk into the deck.
void paintConsole(QPainter& painter)
{
    const QPainterPath console = panelOutline(QStringLiteral("console"));
    const QRectF bounds = console.boundingRect();
    QLinearGradient fill(0, bounds.top(), 0, bounds.bottom());
    fill.setColorAt(0, QColor(40, 42, 47));
    fill.setColorAt(1, QColor(56, 58, 64));
    painter.setPen(QPen(QColor(24, 25, 28), 2));
    painter.setBrush(fill);
    painter.drawPath(console);
}

// A small chequered flag beside the mode switch.
void paintModeFlag(QPainter& painter)
{
    const QRect flag(StandardRadio.right() + 10, StandardRadio.top() + 2, 16, 12);
    painter.setPen(QPen(QColor(40, 40, 44), 1.5));
    painter.drawLine(flag.left(), flag.top(), flag.left(), flag.bottom() + 12);
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 4; ++column) {
            const QColor square = (row + column) % 2 == 0 ? QColor(25, 25, 28) : QColor(250, 250, 250);
            painter.fillRect(flag.left() + 1 + column * 4, flag.top() + row * 4, 4, 4, square);
        }
    }
}

// Slotted screw heads holding the deck at its corners.
void paintScrews(QPainter& painter)
{
    const int inset = 10;
    for (const QPoint centre :
         {Deck.topLeft() + QPoint(inset, inset), Deck.topRight() + QPoint(-inset, inset),
          Deck.bottomLeft() + QPoint(inset, -inset), Deck.bottomRight() + QPoint(-inset, -inset)}) {
        const QRectF head(centre.x() - 3.5, centre.y() - 3.5, 7, 7);
        QRadialGradient metal(head.center() - QPointF(1.5, 1.5), 5);
        metal.setColorAt(0, QColor(230, 232, 236));
        metal.setColorAt(1, QColor(110, 114, 120));
        painter.setPen(QPen(QColor(70, 72, 78), 1));
        painter.setBrush(metal);
        painter.drawEllipse(head);
        painter.setPen(QPen(QColor(60, 62, 66), 1.2));
        painter.drawLine(head.center() + QPointF(-2.2, 1.6), head.center() + QPointF(2.2, -1.6));
    }
}

void paintChequeredStrip(QPainter& painter, Look look)
{
    constexpr int Square = 13;
    const QColor dark = look == Look::Pressed ? QColor(10, 10, 12) : QColor(24, 24, 27);
    const QColor light = look == Look::Hover     ? QColor(255, 190, 140)
                         : look == Look::Pressed ? QColor(190, 190, 194)
                                                 : QColor(226, 226, 230);
    painter.save();
    QPainterPath strip;
    strip.addRoundedRect(QRectF(FlagArea), 6, 6);
    painter.setClipPath(strip);
    for (int row = 0; row * Square < FlagArea.height(); ++row) {
        for (int column = 0; column * Square < FlagArea.width(); ++column) {
            const QRect square(FlagArea.left() + column * Square, FlagArea.top() + row * Square, Square,
                               Square);
            painter.fillRect(square, (row + column) % 2 == 0 ? dark : light);
        }
    }
    painter.restore();
    painter.setPen(QPen(look == Look::Hover ? Accent : QColor(12, 12, 14), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(FlagArea).adjusted(1, 1, -1, -1), 6, 6);
}

} // namespace

QImage drawMask()
{
    QImage mask(WindowSize, QImage::Format_RGB32);
    mask.fill(Qt::white);
    QPainter painter(&mask);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawPath(outlinePath());
    return mask;
}

QImage drawLook(Look look)
{
    QImage image(WindowSize, QImage::Format_RGB32);
    paintAsphalt(image);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPainterPath outline = outlinePath();
    paintRim(painter, outline);
    paintHeaderStripes(painter);
    paintSideStripes(painter);
    paintSpeedLines(painter);
    paintTitle(painter, look);
    paintExit(painter, look);
    paintDeckShadow(painter);
    paintDeck(painter);
    paintSlotInset(painter);
    paintConsole(painter);
    paintModeFlag(painter);
    paintScrews(painter);
    paintChequeredStrip(painter, look);
    return image;
}

} // namespace defaultskin
