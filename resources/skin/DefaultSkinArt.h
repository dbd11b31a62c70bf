#pragma once

#include <QImage>

namespace defaultskin {

// The three looks of the skin: they differ only inside the hot areas.
enum class Look
{
    Rest,
    Hover,
    Pressed
};

// White outside the window, black inside: the outline of a rounded panel with a title bump.
QImage drawMask();

// The whole window in one look, 595 x 510, without alpha.
QImage drawLook(Look look);

} // namespace defaultskin
