#pragma once

#include <QRadioButton>

// A radio button without caption (the two mode buttons, the choice buttons of the strips). The style
// marks a radio button's focus around its caption, which these lack; this one marks it around the
// whole button instead, so the keyboard user sees where the focus is.
class CaptionlessRadio : public QRadioButton
{
    Q_OBJECT

public:
    explicit CaptionlessRadio(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};
