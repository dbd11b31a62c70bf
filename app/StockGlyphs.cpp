#include "app/StockGlyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <cmath>

namespace {

// Every glyph is drawn on a 16 x 16 grid and scaled for larger sizes.
constexpr int GridSize = 16;
const QColor Green(0, 128, 0);
const QColor Red(192, 0, 0);
const QColor Blue(0, 0, 192);

QPen glyphPen(const QColor& colour, qreal width)
{
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void drawTick(QPainter& painter)
{
    painter.setPen(glyphPen(Green, 2.6));
    painter.drawPolyline(QPolygonF{{3.0, 8.5}, {6.5, 12.0}, {13.0, 4.0}});
}

void drawCross(QPainter& painter)
{
    painter.setPen(glyphPen(Red, 2.6));
    painter.drawLine(QPointF(4, 4), QPointF(12, 12));
    painter.drawLine(QPointF(12, 4), QPointF(4, 12));
}

void drawQuestionMark(QPainter& painter)
{
    painter.setPen(glyphPen(Blue, 2.2));
    // The hook: most of a circle over the stem, opening toward the lower left.
    painter.drawArc(QRectF(5, 2, 6, 6), 160 * 16, -250 * 16);
    painter.drawLine(QPointF(8, 8), QPointF(8, 9.5));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Blue);
    painter.drawEllipse(QPointF(8, 13), 1.4, 1.4);
}

// An arrowhead on the circle at `degrees`, pointing on along a counter-clockwise turn.
void drawArrowHead(QPainter& painter, const QPointF& centre, qreal radius, qreal degrees)
{
    const qreal angle = qDegreesToRadians(degrees);
    const QPointF tip(centre.x() + radius * std::cos(angle), centre.y() - radius * std::sin(angle));
    const QPointF along(-std::sin(angle), -std::cos(angle));
    const QPointF across(std::cos(angle), -std::sin(angle));
    const qreal length = 3.2;
    QPainterPath head;
    head.moveTo(tip + along * length);
    head.lineTo(tip + across * length * 0.8);
    head.lineTo(tip - across * length * 0.8);
    head.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(Green);
    painter.drawPath(head);
}

void drawCircularArrows(QPainter& painter)
{
    const QPointF centre(8, 8);
    const qreal radius = 5;
    const QRectF circle(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    for (const int start : {20, 200}) {
        painter.setPen(glyphPen(Green, 2.0));
        painter.setBrush(Qt::NoBrush);
        painter.drawArc(circle, start * 16, 130 * 16);
        drawArrowHead(painter, centre, radius, start + 130);
    }
}

QPixmap drawGlyph(layout::Glyph glyph, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(qreal(size) / GridSize, qreal(size) / GridSize);
    switch (glyph) {
    case layout::Glyph::Ok:
        drawTick(painter);
        break;
    case layout::Glyph::Cancel:
        drawCross(painter);
        break;
    case layout::Glyph::Help:
        drawQuestionMark(painter);
        break;
    case layout::Glyph::Retry:
        drawCircularArrows(painter);
        break;
    case layout::Glyph::None:
        break;
    }
    return pixmap;
}

} // namespace

QIcon stockGlyph(layout::Glyph glyph)
{
    if (glyph == layout::Glyph::None)
        return {};
    QIcon icon;
    for (const int size : {16, 24, 32})
        icon.addPixmap(drawGlyph(glyph, size));
    return icon;
}
