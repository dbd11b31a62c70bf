#pragma once

#include <QGroupBox>

// A group box that draws no frame: the skin draws the panel its controls sit in, and a frame of the
// toolkit's own would draw that panel a second time. A caption, when it has one, stands on a small tab
// of the box's background colour hanging from its top edge at the left, legible on any skin.
class CaptionBox : public QGroupBox
{
    Q_OBJECT

public:
    CaptionBox(const QString& caption, QWidget* parent);

    // Where the caption's tab lies, in the box's pixels; empty without a caption.
    QRect captionRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};
