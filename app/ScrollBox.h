#pragma once

#include <QScrollArea>

// A box that scrolls its strips sideways. Its horizontal range is the width of its content and is set
// by the program only (it never follows the content); the vertical bar never shows.
class ScrollBox : public QScrollArea
{
    Q_OBJECT

public:
    // `range` is the starting width of the content; `arrowStep` the pixels per arrow click.
    ScrollBox(int range, int arrowStep, QWidget* parent);

    // The widget that holds the strips.
    QWidget* content() const { return widget(); }

    int range() const;
    void setRange(int range);
    int position() const;
    void setPosition(int position);
    int arrowStep() const;

protected:
    void resizeEvent(QResizeEvent* event) override;
};
