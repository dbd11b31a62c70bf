#pragma once

#include <QColor>

class QImage;

// The skin's accent colour: the dominant vivid colour its hover look adds to the rest look (the glow
// and rims of the skin's buttons under the pointer), toned so that it stands out on white and aqua
// too. `fallback` when the hover look adds no vivid colour.
QColor skinAccent(const QImage& rest, const QImage& hover, const QColor& fallback);
