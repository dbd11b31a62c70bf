#include "skin/BitmapCheck.h"

#include <QtEndian>

#include <cstdlib>

namespace {

constexpr qsizetype FileHeaderSize = 14;
constexpr quint32 CoreHeaderSize = 12;
// Sides beyond this are refused by the reader's own limits; they would only overflow the sums here.
constexpr qint64 MaxSide = 32767;

enum Compression : quint32
{
    Uncompressed = 0,
    RunLength8 = 1,
    RunLength4 = 2,
    BitFields = 3,
    AlphaBitFields = 6,
};

quint32 u32At(const QByteArray& data, qsizetype at)
{
    return qFromLittleEndian<quint32>(data.constData() + at);
}

quint16 u16At(const QByteArray& data, qsizetype at)
{
    return qFromLittleEndian<quint16>(data.constData() + at);
}

} // namespace

bool BitmapHeader::isRunLength() const
{
    return (compression == RunLength8 && bitsPerPixel == 8) ||
           (compression == RunLength4 && bitsPerPixel == 4);
}

std::optional<BitmapHeader> readBitmapHeader(const QByteArray& data)
{
    if (data.size() < FileHeaderSize + 4 || !data.startsWith("BM"))
        return std::nullopt;
    BitmapHeader header;
    header.pixelsAt = u32At(data, 10);
    header.headerSize = u32At(data, FileHeaderSize);
    const bool core = header.headerSize == CoreHeaderSize;
    if (data.size() < FileHeaderSize + (core ? 12 : 36))
        return std::nullopt;
    header.width = core ? u16At(data, 18) : qint64(qint32(u32At(data, 18)));
    header.height = core ? u16At(data, 20) : qint64(qint32(u32At(data, 22)));
    header.bitsPerPixel = u16At(data, core ? 24 : 28);
    header.compression = core ? Uncompressed : u32At(data, 30);
    header.colorsUsed = core ? 0 : u32At(data, 46);
    return header;
}

bool bitmapIsComplete(const QByteArray& data)
{
    const std::optional<BitmapHeader> header = readBitmapHeader(data);
    if (!header)
        return data.size() < FileHeaderSize + 4 || !data.startsWith("BM") || u32At(data, 10) <= data.size();
    if (header->pixelsAt > data.size())
        return false;
    const qint64 width = std::abs(header->width);
    const qint64 height = std::abs(header->height);
    if (width > MaxSide || height > MaxSide)
        return true;
    switch (header->compression) {
    case Uncompressed:
    case BitFields:
    case AlphaBitFields: {
        const qint64 stride = (width * header->bitsPerPixel + 31) / 32 * 4;
        return header->pixelsAt + stride * height <= data.size();
    }
    default:
        return true;
    }
}
