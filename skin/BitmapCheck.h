#pragma once

#include <QByteArray>

#include <optional>

// What the headers of a Windows bitmap file say, as far as the skin reader needs it.
struct BitmapHeader
{
    quint32 headerSize = 0;
    qint64 width = 0;
    qint64 height = 0; // negative for a picture stored top row first
    quint16 bitsPerPixel = 0;
    quint32 compression = 0;
    quint32 colorsUsed = 0;
    qint64 pixelsAt = 0;

    bool isRunLength() const;
};

// The headers of `data`; none when it is no bitmap file or they are cut short.
std::optional<BitmapHeader> readBitmapHeader(const QByteArray& data);

// Whether the Windows bitmap file `data` holds all the pixel data its header announces: the pixels
// start inside the file and an uncompressed picture has every row. Qt's reader leaves what is missing
// unset. Run-length encoded pictures are checked as they are decoded (RunLengthBitmap.h); files it
// cannot measure (unknown compression, a header cut short) are left to the decoder.
bool bitmapIsComplete(const QByteArray& data);
