#pragma once

#include <QByteArray>

// Whether the Windows bitmap file `data` holds all the pixel data its header announces: the pixels
// start inside the file, an uncompressed picture has every row, and a run-length encoded one (8 or 4
// bits) reaches its end mark or its last row before the file ends. Qt's reader fills what is missing
// with black, which a mask would count as window. Files it cannot measure (unknown compression, a
// header cut short) are left to the decoder.
bool bitmapIsComplete(const QByteArray& data);
