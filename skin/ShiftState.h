#pragma once

#include <QFlags>
#include <Qt>

// The set given with every pointer notification: the modifier keys and pointer buttons held when the
// event happened, and whether a press is the second one of a double click.
enum class ShiftFlag
{
    Shift = 0x01,
    Alt = 0x02,
    Ctrl = 0x04,
    Left = 0x08,
    Right = 0x10,
    Middle = 0x20,
    Double = 0x40,
};
Q_DECLARE_FLAGS(TShiftState, ShiftFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(TShiftState)

TShiftState shiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons, bool doubleClick = false);
