#include "skin/ShiftState.h"

TShiftState shiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons, bool doubleClick)
{
    TShiftState state;
    state.setFlag(ShiftFlag::Shift, modifiers.testFlag(Qt::ShiftModifier));
    state.setFlag(ShiftFlag::Alt, modifiers.testFlag(Qt::AltModifier));
    state.setFlag(ShiftFlag::Ctrl, modifiers.testFlag(Qt::ControlModifier));
    state.setFlag(ShiftFlag::Left, buttons.testFlag(Qt::LeftButton));
    state.setFlag(ShiftFlag::Right, buttons.testFlag(Qt::RightButton));
    state.setFlag(ShiftFlag::Middle, buttons.testFlag(Qt::MiddleButton));
    state.setFlag(ShiftFlag::Double, doubleClick);
    return state;
}
