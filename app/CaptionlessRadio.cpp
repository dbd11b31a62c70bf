#include "app/CaptionlessRadio.h"

#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace {

// The circle's box: an odd size, so that it centres exactly in the 17-pixel buttons; the two mode
// buttons, 15 pixels apart, keep three pixels of skin between their circles.
constexpr int CircleSize = 13;

} // namespace

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
    option.rect = QRect(0, 0, CircleSize, CircleSize);
    option.rect.moveCenter(rect().center());
    painter.drawPrimitive(QStyle::PE_IndicatorRadioButton, option);
}

bool CaptionlessRadio::hitButton(const QPoint& pos) const
{
    return rect().contains(pos);
}
