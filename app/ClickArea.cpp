#include "app/ClickArea.h"

#include "skin/SkinForm.h"

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

void ClickArea::showLooksOf(TSkinForm* skin)
{
    m_skin = skin;
    setMouseTracking(skin != nullptr);
}

QPoint ClickArea::onSkin(QPointF position) const
{
    return m_skin->mapFromGlobal(mapToGlobal(position)).toPoint();
}

void ClickArea::enterEvent(QEnterEvent* event)
{
    if (!m_skin)
        return;
    const QPoint at = onSkin(event->position());
    m_skin->MouseMove(shiftStateOf(event->modifiers(), event->buttons()), at.x(), at.y());
}

void ClickArea::leaveEvent(QEvent*)
{
    if (m_skin)
        m_skin->MouseLeave();
}

void ClickArea::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_skin)
        return;
    const QPoint at = onSkin(event->position());
    m_skin->MouseMove(shiftStateOf(event->modifiers(), event->buttons()), at.x(), at.y());
}

void ClickArea::mousePressEvent(QMouseEvent* event)
{
    if (!m_tracker.press(event))
        return;
    event->accept();
    // Only a press on a hot area goes to the skin: elsewhere the skin would move the window.
    const QPoint at = m_skin ? onSkin(event->position()) : QPoint();
    m_skinPressed = m_skin && m_skin->hotAreaAt(at) >= 0;
    if (m_skinPressed)
        m_skin->MouseDown(event->button(), shiftStateOf(event->modifiers(), event->buttons()), at.x(),
                          at.y());
}

void ClickArea::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_skinPressed && m_skin && event->button() == Qt::LeftButton) {
        m_skinPressed = false;
        const QPoint at = onSkin(event->position());
        m_skin->MouseUp(event->button(), shiftStateOf(event->modifiers(), event->buttons()), at.x(), at.y());
    }
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
