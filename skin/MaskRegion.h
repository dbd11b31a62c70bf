#pragma once

#include <QImage>
#include <QRegion>
#include <QtGlobal>

#include <optional>

// The window outline of a mask image: every pixel outside the key-colour range, as one rectangle per
// run of such pixels in a row. `keyColor` and `tolerance` are colour values (see SkinColor.h); the
// range per channel is key .. min(key + tolerance, 255). A null mask gives no region.
std::optional<QRegion> BuildMaskRegion(const QImage& mask, qint32 keyColor, qint32 tolerance);

// The same outline as an alpha image of the mask's size: 255 for window pixels, 0 for key pixels.
// Painting through it costs the same for any outline, where clipping to a region of a million
// runs breaks Qt's raster engine. A null mask gives a null image.
QImage BuildMaskAlpha(const QImage& mask, qint32 keyColor, qint32 tolerance);
