#include "skin/RunLengthBitmap.h"

#include <QtEndian>

#include <cstdlib>

namespace {

constexpr qint64 FileHeaderSize = 14;
constexpr qint64 MaxColors = 256;
constexpr QRgb Black = 0xff000000u;

// The pixels being written: rows counted from the bottom, as the runs give them.
class RunTarget
{
public:
    RunTarget(QImage& image, bool topDown)
        : m_bits(image.bits())
        , m_stride(image.bytesPerLine())
        , m_width(image.width())
        , m_height(image.height())
        , m_topDown(topDown)
    {
    }

    // Pixels past the right edge or the top row are dropped.
    void put(qint64 x, qint64 y, QRgb color)
    {
        if (x < m_width && y < m_height) {
            const qint64 row = m_topDown ? y : m_height - 1 - y;
            reinterpret_cast<QRgb*>(m_bits + row * m_stride)[x] = color;
        }
    }

private:
    uchar* m_bits;
    qsizetype m_stride;
    qint64 m_width;
    qint64 m_height;
    bool m_topDown;
};

} // namespace

QImage decodeRunLengthBitmap(const QByteArray& data, const BitmapHeader& header)
{
    const qint64 width = header.width;
    const qint64 height = std::abs(header.height);
    const bool fourBit = header.bitsPerPixel == 4;
    const qint64 colors = header.colorsUsed ? qint64(header.colorsUsed) : (fourBit ? 16 : 256);
    const qint64 paletteAt = FileHeaderSize + header.headerSize;
    if (width <= 0 || height <= 0 || colors > MaxColors || paletteAt + colors * 4 > data.size())
        return {};
    QRgb palette[MaxColors];
    for (qint64 i = 0; i < MaxColors; ++i) {
        const auto* entry = reinterpret_cast<const uchar*>(data.constData() + paletteAt + i * 4);
        palette[i] = i < colors ? qRgb(entry[2], entry[1], entry[0]) : Black;
    }

    QImage image(int(width), int(height), QImage::Format_RGB32);
    if (image.isNull())
        return {};
    image.fill(Black);
    RunTarget target(image, header.height < 0);
    const auto byte = [&data](qint64 at) {
        return static_cast<quint8>(data[at]);
    };
    // Two pixels a byte in four-bit pictures, high half first.
    const auto colorOf = [&](quint8 value, qint64 i) {
        return palette[fourBit ? (i % 2 ? value & 0x0f : value >> 4) : value];
    };
    qint64 x = 0;
    qint64 y = 0;
    qint64 pos = header.pixelsAt;
    while (pos + 2 <= data.size()) {
        const quint8 count = byte(pos);
        const quint8 code = byte(pos + 1);
        pos += 2;
        if (count > 0) { // `count` pixels of one value
            for (qint64 i = 0; i < count; ++i)
                target.put(x + i, y, colorOf(code, i));
            x += count;
            continue;
        }
        if (code == 1) // end of the picture
            return image;
        if (code == 0) { // end of the row
            x = 0;
            if (++y >= height)
                return image;
            continue;
        }
        if (code == 2) { // jump right and up
            if (pos + 2 > data.size())
                return {};
            x += byte(pos);
            y += byte(pos + 1);
            pos += 2;
            if (y >= height)
                return image;
            continue;
        }
        // `code` pixels given one by one, padded to a whole 16-bit word.
        const qint64 bytes = fourBit ? (code + 1) / 2 : code;
        if (pos + bytes > data.size())
            return {};
        for (qint64 i = 0; i < code; ++i)
            target.put(x + i, y, colorOf(byte(pos + (fourBit ? i / 2 : i)), i));
        x += code;
        pos += bytes + (bytes % 2);
    }
    return {};
}
