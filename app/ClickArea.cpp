#include "app/ClickArea.h"

#include <QMouseEvent>

bool ClickTracker::press(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton;
    return m_pressed;
}

bool ClickTracker::release(QMouseEvent* event, const QRect& rect)
{
    const bool click =
        m_pressed && event->button() == Qt::LeftButton && rect.contains(event->position().toPoint());
    if (event->button() == Qt::LeftButton)
        m_pressed = false;
    return click;
}

ClickArea::ClickArea(QWidget* parent)
    : QWidget(parent)
{
}

void ClickArea::mousePressEvent(QMouseEvent* event)
{
    if (m_tracker.press(event))
        event->accept();
}

void ClickArea::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_tracker.release(event, rect()))
        emit clicked();
}

ClickLabel::ClickLabel(QWidget* parent)
    : QLabel(parent)
{
}

void ClickLabel::mousePressEvent(QMouseEvent* event)
{
    if (m_tracker.press(event))
        event->accept();
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_tracker.release(event, rect()))
        emit clicked();
}
