#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>

class QWidget;

// Moves a frameless top-level window with the held left button, as a title bar would. The window
// system is asked first; where it refuses (no window manager, offscreen), the window follows the
// pointer until the button is released.
//
// While it follows the pointer, the mover takes the handle's move and release events for itself,
// so they are not seen as skin clicks, and tells moveEnded() when the button is let go.
class WindowMover : public QObject
{
    Q_OBJECT

public:
    // `handle`: the widget that took the press; its top-level window is the one moved.
    explicit WindowMover(QWidget* handle);

    // Starts a move for a press at `globalPress`. Returns true when the mover follows the pointer
    // and moveEnded() is still to come; false when the move is already out of our hands (the window
    // system runs it) or there is no window to move.
    bool start(QPoint globalPress);

    bool isFollowing() const { return m_following; }

    // Whether the next release of the handle belongs to a move the window system ran. After a
    // system move that release may come late or never; the next press forgets it.
    bool takeStrayRelease();

signals:
    void moveEnded();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void follow(QPoint globalPos);
    void finish();

    QPointer<QWidget> m_handle;
    bool m_following = false;
    bool m_strayRelease = false;
    QPoint m_pressAt;
    QPoint m_windowAt;
};
