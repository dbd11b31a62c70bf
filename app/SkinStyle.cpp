#include "app/SkinStyle.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QFrame>
#include <QPainter>
#include <QScrollBar>
#include <QStyleFactory>
#include <QStyleOption>

namespace {

const QColor Ink(38, 40, 45);            // rims, ticks, dots and arrows
const QColor DisabledInk(150, 154, 160); // the same on a control that takes no input
const QColor FaceTop(252, 252, 253);
const QColor FaceBottom(214, 218, 224);
const QColor Groove(200, 204, 210); // silver
constexpr qreal Radius = 3;
constexpr int IndicatorSize = 13;

QColor accentOf(const QStyleOption* option)
{
    return option->palette.color(QPalette::Active, QPalette::Highlight);
}

bool enabled(const QStyleOption* option)
{
    return option->state & QStyle::State_Enabled;
}

bool hovered(const QStyleOption* option)
{
    return enabled(option) && (option->state & QStyle::State_MouseOver);
}

// A 1-pixel line drawn on pixel centres: crisp at 1x, and at 2x two whole device pixels.
QRectF lineRect(const QRect& rect, qreal inset = 0)
{
    return QRectF(rect).adjusted(0.5 + inset, 0.5 + inset, -0.5 - inset, -0.5 - inset);
}

QLinearGradient face(const QRect& rect, bool pressed, bool lit)
{
    QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
    if (pressed) {
        gradient.setColorAt(0, FaceBottom.darker(108));
        gradient.setColorAt(1, FaceTop.darker(103));
    } else {
        gradient.setColorAt(0, lit ? Qt::white : FaceTop);
        gradient.setColorAt(1, lit ? FaceBottom.lighter(106) : FaceBottom);
    }
    return gradient;
}

// The focus mark: a ring of the accent colour two pixels wide with a dark hairline inside, which
// stands out on aqua, on white and on the skin alike.
void drawFocusRing(QPainter* painter, const QRect& rect, const QColor& accent, qreal radius = Radius)
{
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setBrush(Qt::NoBrush);
    painter->setPen(QPen(accent, 2));
    painter->drawRoundedRect(QRectF(rect).adjusted(1, 1, -1, -1), radius, radius);
    painter->setPen(QPen(QColor(0, 0, 0, 90), 1));
    painter->drawRoundedRect(lineRect(rect, 2), qMax<qreal>(radius - 1.5, 0), qMax<qreal>(radius - 1.5, 0));
    painter->restore();
}

void drawButtonPanel(QPainter* painter, const QStyleOption* option, bool isDefault)
{
    const QRect rect = option->rect;
    const bool pressed = option->state & (QStyle::State_Sunken | QStyle::State_On);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setBrush(enabled(option) ? QBrush(face(rect, pressed, hovered(option)))
                                      : QBrush(QColor(236, 237, 239)));
    QColor rim = !enabled(option) ? DisabledInk : hovered(option) ? accentOf(option) : Ink;
    painter->setPen(QPen(rim, isDefault && enabled(option) ? 1.6 : 1));
    painter->drawRoundedRect(lineRect(rect, isDefault ? 0.3 : 0), Radius, Radius);
    // A highlight along the top edge inside the rim, as on the skin's metal.
    if (enabled(option) && !pressed) {
        painter->setPen(QPen(QColor(255, 255, 255, 200), 1));
        const qreal y = rect.top() + 1.5;
        painter->drawLine(QPointF(rect.left() + Radius, y), QPointF(rect.right() - Radius + 1, y));
    }
    painter->restore();
}

void drawCheckIndicator(QPainter* painter, const QStyleOption* option)
{
    const QRect box = option->rect;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    fill.setColorAt(0, enabled(option) ? QColor(232, 234, 238) : QColor(240, 240, 240));
    fill.setColorAt(0.4, enabled(option) ? Qt::white : QColor(244, 244, 244));
    painter->setBrush(fill);
    painter->setPen(QPen(!enabled(option)  ? DisabledInk
                         : hovered(option) ? accentOf(option)
                                           : Ink,
                         hovered(option) ? 1.5 : 1));
    painter->drawRoundedRect(lineRect(box), 2, 2);
    if (option->state & (QStyle::State_On | QStyle::State_NoChange)) {
        const QColor mark = enabled(option) ? Ink : DisabledInk;
        const qreal s = box.width();
        const QPointF o = box.topLeft();
        if (option->state & QStyle::State_NoChange) {
            painter->fillRect(QRectF(o.x() + 3, o.y() + s / 2 - 1, s - 6, 2), mark);
        } else {
            painter->setPen(QPen(mark, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            painter->drawPolyline(QPolygonF{o + QPointF(s * 0.24, s * 0.52), o + QPointF(s * 0.43, s * 0.72),
                                            o + QPointF(s * 0.77, s * 0.28)});
        }
    }
    painter->restore();
}

void drawRadioIndicator(QPainter* painter, const QStyleOption* option)
{
    const QRectF circle = lineRect(option->rect);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    QRadialGradient fill(circle.center() - QPointF(0, circle.height() / 4), circle.width() * 0.7);
    fill.setColorAt(0, Qt::white);
    fill.setColorAt(1, enabled(option) ? QColor(222, 225, 230) : QColor(238, 238, 238));
    painter->setBrush(fill);
    painter->setPen(QPen(!enabled(option)  ? DisabledInk
                         : hovered(option) ? accentOf(option)
                                           : Ink,
                         hovered(option) ? 1.5 : 1));
    painter->drawEllipse(circle);
    if (option->state & QStyle::State_On) {
        painter->setPen(Qt::NoPen);
        painter->setBrush(enabled(option) ? Ink : DisabledInk);
        const qreal r = circle.width() * 0.24;
        painter->drawEllipse(circle.center(), r, r);
    }
    painter->restore();
}

void drawEditPanel(QPainter* painter, const QStyleOption* option)
{
    const QRect rect = option->rect;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setBrush(
        option->palette.brush(enabled(option) ? QPalette::Active : QPalette::Disabled, QPalette::Base));
    painter->setPen(QPen(enabled(option) ? QColor(96, 100, 108) : DisabledInk, 1));
    painter->drawRoundedRect(lineRect(rect), 2, 2);
    // Sunk into the panel: a soft shadow under the top edge.
    painter->setPen(QPen(QColor(0, 0, 0, 40), 1));
    painter->drawLine(QPointF(rect.left() + 2, rect.top() + 1.5),
                      QPointF(rect.right() - 1, rect.top() + 1.5));
    painter->restore();
    if (option->state & QStyle::State_HasFocus)
        drawFocusRing(painter, rect, accentOf(option), 2);
}

void drawArrow(QPainter* painter, const QRect& rect, Qt::ArrowType arrow, const QColor& colour)
{
    const QPointF c = QRectF(rect).center();
    const qreal h = qMin(rect.width(), rect.height()) * 0.22;
    QPolygonF triangle;
    switch (arrow) {
    case Qt::LeftArrow:
        triangle = {c + QPointF(-h * 0.8, 0), c + QPointF(h * 0.6, -h), c + QPointF(h * 0.6, h)};
        break;
    case Qt::RightArrow:
        triangle = {c + QPointF(h * 0.8, 0), c + QPointF(-h * 0.6, -h), c + QPointF(-h * 0.6, h)};
        break;
    case Qt::UpArrow:
        triangle = {c + QPointF(0, -h * 0.8), c + QPointF(-h, h * 0.6), c + QPointF(h, h * 0.6)};
        break;
    default:
        triangle = {c + QPointF(0, h * 0.8), c + QPointF(-h, -h * 0.6), c + QPointF(h, -h * 0.6)};
        break;
    }
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(Qt::NoPen);
    painter->setBrush(colour);
    painter->drawPolygon(triangle);
    painter->restore();
}

} // namespace

SkinStyle::SkinStyle()
    : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion")))
{
}

void SkinStyle::polish(QWidget* widget)
{
    QProxyStyle::polish(widget);
    // Hover looks need hover events.
    if (qobject_cast<QAbstractButton*>(widget) || qobject_cast<QScrollBar*>(widget))
        widget->setAttribute(Qt::WA_Hover);
}

int SkinStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const
{
    switch (metric) {
    case PM_IndicatorWidth:
    case PM_IndicatorHeight:
    case PM_ExclusiveIndicatorWidth:
    case PM_ExclusiveIndicatorHeight:
        // Odd, so that a mark centres on whole pixels in the layout's 17-pixel rows.
        return IndicatorSize;
    default:
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

void SkinStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                              const QWidget* widget) const
{
    switch (element) {
    case PE_FrameFocusRect:
        // Lists in the file dialogs mark their current item their own way.
        if (qobject_cast<const QAbstractItemView*>(widget))
            break;
        drawFocusRing(painter, option->rect, accentOf(option));
        return;
    case PE_PanelButtonCommand:
    case PE_PanelButtonBevel: {
        const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option);
        drawButtonPanel(painter, option, button && (button->features & QStyleOptionButton::DefaultButton));
        return;
    }
    case PE_IndicatorCheckBox:
        drawCheckIndicator(painter, option);
        return;
    case PE_IndicatorRadioButton:
        drawRadioIndicator(painter, option);
        return;
    case PE_PanelLineEdit: {
        // A frameless edit (inside a combo box of the file dialogs) has no rim of its own.
        const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(option);
        if (!frame || frame->lineWidth <= 0)
            break;
        drawEditPanel(painter, option);
        return;
    }
    case PE_FrameLineEdit:
        return; // drawn with the panel
    default:
        break;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void SkinStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                            const QWidget* widget) const
{
    switch (element) {
    case CE_CheckBox:
    case CE_RadioButton:
    case CE_PushButton: {
        // Our focus mark instead of Qt's. On a check box or radio button it goes round the whole
        // control, not round its caption only: a slot row is a narrow strip of aqua, and the mark must
        // read at a glance. On a push button it lies just inside the bevel.
        const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option);
        if (!button)
            break;
        QStyleOptionButton plain(*button);
        plain.state &= ~State_HasFocus;
        QProxyStyle::drawControl(element, &plain, painter, widget);
        if (!(button->state & State_HasFocus))
            return;
        if (element == CE_PushButton)
            drawFocusRing(painter, button->rect.adjusted(2, 2, -2, -2), accentOf(option), 2);
        else
            drawFocusRing(painter, button->rect, accentOf(option));
        return;
    }
    case CE_ShapedFrame: {
        // The sunken panels of the scroll boxes: a dark rim like the edit fields', shaded inside.
        const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(option);
        if (!frame || frame->frameShape != QFrame::Panel || frame->lineWidth < 2)
            break;
        const QRectF outer = lineRect(option->rect);
        const QRectF inner = lineRect(option->rect, 1);
        painter->save();
        painter->setPen(QPen(enabled(option) ? QColor(70, 74, 82) : DisabledInk, 1));
        painter->drawRect(outer);
        painter->setPen(QPen(QColor(0, 0, 0, 70), 1));
        painter->drawPolyline(QPolygonF{inner.bottomLeft(), inner.topLeft(), inner.topRight()});
        painter->setPen(QPen(QColor(255, 255, 255, 170), 1));
        painter->drawPolyline(QPolygonF{inner.topRight() + QPointF(0, 1), inner.bottomRight(),
                                        inner.bottomLeft() + QPointF(1, 0)});
        painter->restore();
        return;
    }
    default:
        break;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

void SkinStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                   QPainter* painter, const QWidget* widget) const
{
    const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option);
    if (control != CC_ScrollBar || !bar) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    const bool horizontal = bar->orientation == Qt::Horizontal;
    const QRect groove = subControlRect(control, option, SC_ScrollBarGroove, widget);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->fillRect(option->rect, Groove);
    // The groove sunk into the bar: shaded along its leading edge.
    QLinearGradient shade(groove.topLeft(), horizontal ? groove.bottomLeft() : groove.topRight());
    shade.setColorAt(0, QColor(0, 0, 0, 50));
    shade.setColorAt(0.35, QColor(0, 0, 0, 0));
    painter->fillRect(groove, shade);
    painter->restore();

    const auto part = [&](SubControl sub, const QRect& rect, bool lit, bool pressed) {
        QStyleOption face(*option);
        face.rect = rect;
        face.state = option->state & State_Enabled;
        if (lit)
            face.state |= State_MouseOver;
        if (pressed)
            face.state |= State_Sunken;
        drawButtonPanel(painter, &face, false);
        if (sub == SC_ScrollBarSlider) {
            // Three grip lines across the thumb's middle.
            painter->save();
            painter->setPen(QPen(enabled(option) ? QColor(110, 114, 122) : DisabledInk, 1));
            const QPointF c = QRectF(rect).center();
            for (int i = -1; i <= 1; ++i) {
                if (horizontal)
                    painter->drawLine(QPointF(qRound(c.x()) + 2 * i + 0.5, rect.top() + 4),
                                      QPointF(qRound(c.x()) + 2 * i + 0.5, rect.bottom() - 3));
                else
                    painter->drawLine(QPointF(rect.left() + 4, qRound(c.y()) + 2 * i + 0.5),
                                      QPointF(rect.right() - 3, qRound(c.y()) + 2 * i + 0.5));
            }
            painter->restore();
        }
    };
    const bool canScroll = bar->maximum > bar->minimum && enabled(option);
    for (const SubControl sub : {SC_ScrollBarSubLine, SC_ScrollBarAddLine, SC_ScrollBarSlider}) {
        const QRect rect = subControlRect(control, option, sub, widget);
        if (!rect.isValid() || (sub == SC_ScrollBarSlider && !canScroll))
            continue;
        const bool active = bar->activeSubControls & sub;
        part(sub, rect, active && (option->state & State_MouseOver),
             active && (option->state & State_Sunken));
        if (sub != SC_ScrollBarSlider) {
            const bool forward = sub == SC_ScrollBarAddLine;
            const Qt::ArrowType arrow = horizontal ? (forward ? Qt::RightArrow : Qt::LeftArrow)
                                                   : (forward ? Qt::DownArrow : Qt::UpArrow);
            drawArrow(painter, rect, arrow, canScroll ? Ink : DisabledInk);
        }
    }
}
