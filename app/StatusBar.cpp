#include "app/StatusBar.h"

#include <QPainter>
#include <QStyleOptionFrame>

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
    update();
}

void StatusBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // The bar's one panel is also its last, and the last panel of a status bar reaches the bar's right
    // end whatever width the layout gives it: a long progress text is read whole.
    const QRect panel = rect();
    QStyleOptionFrame frame;
    frame.initFrom(this);
    frame.rect = panel;
    frame.lineWidth = 1;
    frame.state |= QStyle::State_Sunken;
    style()->drawPrimitive(QStyle::PE_Frame, &frame, &painter, this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(panel.adjusted(2, 0, -2, 0), Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
                     m_text);
}
