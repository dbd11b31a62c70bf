#include "app/StatusBar.h"

#include <QEvent>
#include <QLinearGradient>
#include <QPainter>

namespace {

constexpr int ShadowDepth = 3;

} // namespace

StatusBar::StatusBar(int panelWidth, QWidget* parent)
    : QWidget(parent)
    , m_panelWidth(panelWidth)
{
    setAutoFillBackground(true);
}

void StatusBar::setText(const QString& text)
{
    if (text == m_text)
        return;
    m_text = text;
    updateToolTip();
    update();
}

QRect StatusBar::textRect() const
{
    return rect().adjusted(4, 0, -4, 0);
}

void StatusBar::updateToolTip()
{
    const bool whole = fontMetrics().horizontalAdvance(m_text) <= textRect().width();
    setToolTip(whole ? QString() : m_text);
}

void StatusBar::resizeEvent(QResizeEvent* event)
{
    updateToolTip();
    QWidget::resizeEvent(event);
}

void StatusBar::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange)
        updateToolTip();
    QWidget::changeEvent(event);
}

void StatusBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // The bar's one panel is also its last, and the last panel of a status bar reaches the bar's right
    // end whatever width the layout gives it: a long progress text is read whole.
    const QRectF panel = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    // A display window sunk into the skin's metal: a dark rim, a shadow cast by its upper edge, and a
    // face that brightens downwards, as glass over a lit display does; empty, it still reads as one.
    const QColor face = palette().color(QPalette::Window);
    QLinearGradient glass(0, 0, 0, height());
    glass.setColorAt(0, face.darker(125));
    glass.setColorAt(0.6, face.darker(104));
    glass.setColorAt(1, face);
    painter.setPen(QPen(QColor(70, 74, 82), 1));
    painter.setBrush(glass);
    painter.drawRoundedRect(panel, 2, 2);
    QLinearGradient shadow(0, 1, 0, 1 + ShadowDepth);
    shadow.setColorAt(0, QColor(0, 0, 0, 70));
    shadow.setColorAt(1, QColor(0, 0, 0, 0));
    painter.fillRect(QRectF(1, 1, width() - 2, ShadowDepth), shadow);
    // Light caught by the lower lip of the window.
    painter.setPen(QPen(QColor(255, 255, 255, 200), 1));
    painter.drawLine(QPointF(2, height() - 1.5), QPointF(width() - 2, height() - 1.5));
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(palette().color(QPalette::WindowText));
    const QRect text = textRect();
    painter.drawText(text, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
                     fontMetrics().elidedText(m_text, Qt::ElideRight, text.width()));
}
