#include "skin/WindowMover.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

WindowMover::WindowMover(QWidget* handle)
    : QObject(handle)
    , m_handle(handle)
{
    handle->installEventFilter(this);
}

bool WindowMover::start(QPoint globalPress)
{
    finish();
    m_strayRelease = false;
    if (!m_handle)
        return false;
    QWidget* window = m_handle->window();
    QWindow* handle = window->windowHandle();
    if (handle && handle->startSystemMove()) {
        // The window system owns the pointer now and we are not told when it lets go: the press
        // ends here, and the release, should it still come, is not a click on the skin.
        m_strayRelease = true;
        return false;
    }
    m_pressAt = globalPress;
    m_windowAt = window->pos();
    m_following = true;
    return true;
}

bool WindowMover::takeStrayRelease()
{
    const bool stray = m_strayRelease;
    m_strayRelease = false;
    return stray;
}

void WindowMover::follow(QPoint globalPos)
{
    if (m_handle)
        m_handle->window()->move(m_windowAt + (globalPos - m_pressAt));
}

void WindowMover::finish()
{
    if (!m_following)
        return;
    m_following = false;
    emit moveEnded();
}

bool WindowMover::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_handle)
        return QObject::eventFilter(watched, event);
    const bool isPress =
        event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick;
    if (isPress)
        m_strayRelease = false;
    if (!m_following)
        return false;
    switch (event->type()) {
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        follow(mouse->globalPosition().toPoint());
        // A move without the button means its release went astray: the move is over all the same.
        if (!mouse->buttons().testFlag(Qt::LeftButton))
            finish();
        return true;
    }
    case QEvent::MouseButtonRelease: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            follow(mouse->globalPosition().toPoint());
            finish();
        }
        return true;
    }
    default:
        // A new press while following can only come after a lost release: end the old move and
        // let the press through.
        if (isPress)
            finish();
        return false;
    }
}
