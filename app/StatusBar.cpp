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
    // The bar's one panel is also its last, and the last panel of a status bar reaches the bar's right
    // end whatever width the layout gives it: a long progress text is read whole.
    const QRect panel = rect();
    // A display window sunk into what it lies on: a dark edge above and to the left with a soft shadow
    // below it, a lighter edge below and to the right.
    const QColor face = palette().color(QPalette::Window);
    QLinearGradient shadow(0, 1, 0, 1 + ShadowDepth);
    shadow.setColorAt(0, QColor(0, 0, 0, 48));
    shadow.setColorAt(1, QColor(0, 0, 0, 0));
    painter.fillRect(panel.adjusted(1, 1, 0, 0).intersected(QRect(0, 1, width(), ShadowDepth)), shadow);
    painter.setPen(face.darker(250));
    painter.drawLine(panel.topLeft(), panel.topRight());
    painter.drawLine(panel.topLeft(), panel.bottomLeft());
    painter.setPen(face.darker(130));
    painter.drawLine(panel.bottomLeft() + QPoint(1, 0), panel.bottomRight());
    painter.drawLine(panel.topRight() + QPoint(0, 1), panel.bottomRight());
    painter.setPen(palette().color(QPalette::WindowText));
    const QRect text = textRect();
    painter.drawText(text, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
                     fontMetrics().elidedText(m_text, Qt::ElideRight, text.width()));
}
