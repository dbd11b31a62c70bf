#pragma once

#include "skin/BitmapCheck.h"

#include <QByteArray>
#include <QImage>

// Run-length encoded Windows bitmaps (8 or 4 bits a pixel) are decoded here rather than by Qt, whose
// reader leaves the pixels that no run sets (passed over by a jump, or after an early end mark) as
// whatever the memory held: here they are black, every time.
//
// The picture of `data`, whose headers are `header`, in Format_RGB32; a null image when it is not a
// valid picture: sides not positive, a colour table too large or cut short, runs that end before
// their end mark or last row. Indices past the colour table are black. The caller has checked the
// sides against its limits.
QImage decodeRunLengthBitmap(const QByteArray& data, const BitmapHeader& header);
