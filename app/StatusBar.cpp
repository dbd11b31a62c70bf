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
    // The panel may be wider than the bar itself; what lies beyond the bar is clipped.
    const QRect panel(0, 0, m_panelWidth, height());
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
