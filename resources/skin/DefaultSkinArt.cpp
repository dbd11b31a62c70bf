#include "DefaultSkinArt.h"

#include "DefaultSkinLayout.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>

namespace defaultskin {

namespace {

const QColor Asphalt(38, 39, 43);
const QColor AsphaltLight(74, 76, 82);
const QColor Accent(255, 106, 19);
const QColor AccentRed(215, 38, 30);
const QColor Paper(230, 231, 234);
const QColor PaperShade(211, 213, 218);
const QColor PaperLine(160, 163, 171);

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

void paintRim(QPainter& painter, const QPainterPath& outline)
{
    QLinearGradient rim(0, 0, 0, WindowSize.height());
    rim.setColorAt(0, AsphaltLight.lighter(130));
    rim.setColorAt(1, QColor(16, 16, 18));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QBrush(rim), 3));
    painter.drawPath(outline);
}

// Two thin accent lines along the top edge, broken by the title bump.
void paintHeaderStripes(QPainter& painter)
{
    painter.setPen(Qt::NoPen);
    for (const auto& [x, width] :
         {std::pair{40, TitleBump.left() - 46}, std::pair{TitleBump.right() + 7, 110}}) {
        painter.setBrush(Accent);
        painter.drawRect(x, 28, width, 3);
        painter.setBrush(AccentRed);
        painter.drawRect(x, 33, width, 2);
    }
}

// Racing stripes down both sides of the dashboard.
void paintSideStripes(QPainter& painter)
{
    painter.setPen(Qt::NoPen);
    const int top = Dashboard.top() + 20;
    const int height = Dashboard.height() - 40;
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
        QRadialGradient glow(QRectF(TitleArea).center(), TitleArea.width() / 2.0);
        glow.setColorAt(0, QColor(255, 106, 19, 110));
        glow.setColorAt(1, QColor(255, 106, 19, 0));
        painter.fillRect(TitleArea, glow);
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

// A round red button with a white cross under the window's exit area.
void paintExit(QPainter& painter)
{
    const QRectF disc = QRectF(ExitArea).adjusted(1, 1, -1, -1);
    QRadialGradient red(disc.center() - QPointF(4, 4), disc.width() * 0.7);
    red.setColorAt(0, QColor(255, 110, 90));
    red.setColorAt(1, AccentRed.darker(130));
    painter.setPen(QPen(QColor(20, 20, 22), 1.5));
    painter.setBrush(red);
    painter.drawEllipse(disc);
    painter.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap));
    const QRectF cross = disc.adjusted(7.5, 7.5, -7.5, -7.5);
    painter.drawLine(cross.topLeft(), cross.bottomRight());
    painter.drawLine(cross.topRight(), cross.bottomLeft());
}

void paintDashboard(QPainter& painter)
{
    QLinearGradient paper(0, Dashboard.top(), 0, Dashboard.bottom());
    paper.setColorAt(0, Paper.lighter(104));
    paper.setColorAt(1, Paper.darker(106));
    painter.setPen(QPen(Accent, 3));
    painter.setBrush(paper);
    painter.drawRoundedRect(QRectF(Dashboard), 14, 14);
    painter.setPen(QPen(AccentRed, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(Dashboard).adjusted(3, 3, -3, -3), 11, 11);
}

// A slightly sunken tray a few pixels around a control or group of controls.
void paintTray(QPainter& painter, const QRect& around, int margin, const QColor& fill)
{
    const QRectF tray = QRectF(around).adjusted(-margin, -margin, margin, margin);
    painter.setPen(QPen(PaperLine, 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(tray, 5, 5);
    painter.setPen(QPen(QColor(255, 255, 255, 170), 1));
    painter.drawLine(tray.bottomLeft() + QPointF(5, 0.5), tray.bottomRight() + QPointF(-5, 0.5));
}

// Dark wells the two scroll boxes sit in.
void paintWell(QPainter& painter, const QRect& box)
{
    painter.setPen(QPen(QColor(90, 93, 100), 1));
    painter.setBrush(QColor(60, 62, 68));
    painter.drawRect(QRectF(box).adjusted(-2.5, -2.5, 2.5, 2.5));
}

// The recessed slot both status bars sit in, outlined in the accent colour.
void paintStatusSlot(QPainter& painter)
{
    QPainterPath hint;
    hint.addRoundedRect(QRectF(HintBar).adjusted(-4, -4, 4, 4), 4, 4);
    QPainterPath progress;
    progress.addRoundedRect(QRectF(ProgressBar).adjusted(-4, -4, 4, 4), 4, 4);
    painter.setPen(QPen(Accent, 1.5));
    painter.setBrush(QColor(52, 54, 59));
    painter.drawPath(hint.united(progress));
}

// A small chequered flag before the two mode labels.
void paintModeFlag(QPainter& painter)
{
    const QRect flag(72, 68, 16, 12);
    painter.setPen(QPen(QColor(60, 60, 64), 1.5));
    painter.drawLine(flag.left(), flag.top(), flag.left(), flag.bottom() + 10);
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 4; ++column) {
            const QColor square = (row + column) % 2 == 0 ? QColor(25, 25, 28) : QColor(250, 250, 250);
            painter.fillRect(flag.left() + 1 + column * 4, flag.top() + row * 4, 4, 4, square);
        }
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
    paintExit(painter);
    paintDashboard(painter);
    paintTray(painter, SlotArea, 3, PaperShade);
    paintWell(painter, LeftScrollBox);
    paintWell(painter, RightScrollBox);
    paintTray(painter, Settings, 3, PaperShade);
    paintTray(painter, StartButton.united(HelpButton), 5, PaperShade.darker(106));
    paintStatusSlot(painter);
    paintModeFlag(painter);
    paintChequeredStrip(painter, look);
    return image;
}

} // namespace defaultskin
