#pragma once

#include <QLabel>
#include <QWidget>

// Reports a click: the left button pressed and released over the widget.
class ClickTracker
{
public:
    bool press(QMouseEvent* event);
    bool release(QMouseEvent* event, const QRect& rect);

private:
    bool m_pressed = false;
};

// A clickable area that draws nothing: the skin beneath provides its picture.
class ClickArea : public QWidget
{
    Q_OBJECT

public:
    explicit ClickArea(QWidget* parent);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    ClickTracker m_tracker;
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
