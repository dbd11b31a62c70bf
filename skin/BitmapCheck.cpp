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

// Walks the runs without drawing them. Every step moves on by at least two bytes.
bool runsAreComplete(const QByteArray& data, qsizetype pos, qint64 rows, bool fourBit)
{
    const auto byte = [&data](qsizetype at) {
        return static_cast<quint8>(data[at]);
    };
    qint64 row = 0;
    while (pos + 2 <= data.size()) {
        const quint8 count = byte(pos);
        const quint8 code = byte(pos + 1);
        pos += 2;
        if (count > 0)
            continue; // a run of one colour
        if (code == 1)
            return true; // end of the picture
        if (code == 0) {
            if (++row >= rows)
                return true; // end of the last row
            continue;
        }
        if (code == 2) {
            if (pos + 2 > data.size())
                return false;
            row += byte(pos + 1);
            pos += 2;
            if (row >= rows)
                return true;
            continue;
        }
        // `code` pixels given one by one, padded to a whole 16-bit word.
        const qsizetype bytes = fourBit ? (code + 1) / 2 : code;
        pos += bytes + (bytes % 2);
    }
    return false;
}

} // namespace

bool bitmapIsComplete(const QByteArray& data)
{
    if (data.size() < FileHeaderSize + 4 || !data.startsWith("BM"))
        return true;
    const qint64 pixelsAt = u32At(data, 10);
    if (pixelsAt > data.size())
        return false;
    const quint32 headerSize = u32At(data, FileHeaderSize);
    const bool core = headerSize == CoreHeaderSize;
    const qsizetype needed = FileHeaderSize + (core ? 12 : 20);
    if (data.size() < needed)
        return true;
    const qint64 width = core ? u16At(data, 18) : std::abs(qint64(qint32(u32At(data, 18))));
    const qint64 height = core ? u16At(data, 20) : std::abs(qint64(qint32(u32At(data, 22))));
    const quint16 bitsPerPixel = u16At(data, core ? 24 : 28);
    const quint32 compression = core ? Uncompressed : u32At(data, 30);
    if (width > MaxSide || height > MaxSide)
        return true;

    switch (compression) {
    case Uncompressed:
    case BitFields:
    case AlphaBitFields: {
        const qint64 stride = (width * bitsPerPixel + 31) / 32 * 4;
        return pixelsAt + stride * height <= data.size();
    }
    case RunLength8:
    case RunLength4:
        return runsAreComplete(data, pixelsAt, height, compression == RunLength4);
    default:
        return true;
    }
}
