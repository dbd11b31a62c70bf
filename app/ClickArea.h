#pragma once

#include <QLabel>
#include <QPointer>
#include <QWidget>

class TSkinForm;

// Reports a click: the left button pressed and released over the widget.
class ClickTracker
{
public:
    bool press(QMouseEvent* event);
    bool release(QMouseEvent* event, const QRect& rect);

private:
    bool m_pressed = false;
};

// A clickable area that draws nothing: the skin beneath provides its picture. Given that skin, it also
// shows the picture's hover and pressed looks: the pointer over the area reaches the skin's hot area
// there as if nothing lay above it, while the click stays the area's own.
class ClickArea : public QWidget
{
    Q_OBJECT

public:
    explicit ClickArea(QWidget* parent);

    void showLooksOf(TSkinForm* skin);

signals:
    void clicked();

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // The skin's point under `position` (in this area's pixels).
    QPoint onSkin(QPointF position) const;

    ClickTracker m_tracker;
    QPointer<TSkinForm> m_skin;
    bool m_skinPressed = false; // the skin took the current press on a hot area
};

// A label that reports clicks.
class ClickLabel : public QLabel
{
    Q_OBJECT

public:
    explicit ClickLabel(QWidget* parent);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    ClickTracker m_tracker;
};
