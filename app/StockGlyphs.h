#pragma once

#include "app/Layout.h"

#include <QIcon>

// The stock glyphs the layout names for its buttons, drawn by the program itself so that they look the
// same under every style and icon theme: a green tick (OK), a red cross (Cancel), a blue question mark
// (Help) and green circular arrows (Retry). Empty for Glyph::None.
QIcon stockGlyph(layout::Glyph glyph);
