#include "app/CaptionlessRadio.h"

#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

CaptionlessRadio::CaptionlessRadio(QWidget* parent)
    : QRadioButton(parent)
{
}

void CaptionlessRadio::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    if (option.state & QStyle::State_HasFocus) {
        // The style decides whether the mark shows (for most styles only once the keyboard was used).
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        focus.rect = rect();
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
    painter.drawControl(QStyle::CE_RadioButton, option);
}
