// The outline builder on any mask: bytes 0 and 1 give the width and height (1 to 64), bytes 2 to 4
// the key colour, 5 to 7 the tolerance, and the rest the pixels' red, green and blue bytes, repeated
// as needed. The outline holds exactly the pixels outside the key range.
#include "fuzz/FuzzSupport.h"
#include "skin/MaskRegion.h"

#include <QImage>

#include <algorithm>

namespace {

bool inRange(int value, int key, int tolerance)
{
    return value >= key && value <= std::min(key + tolerance, 255);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::startGuiApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 8)
        return 0;
    const int width = data[0] % 64 + 1;
    const int height = data[1] % 64 + 1;
    const QRgb key = qRgb(data[2], data[3], data[4]);
    const QRgb tolerance = qRgb(data[5], data[6], data[7]);
    QImage mask(width, height, QImage::Format_RGB32);
    const size_t pixelBytes = std::max<size_t>(size - 8, 1);
    size_t at = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const auto byte = [&] {
                return size > 8 ? data[8 + at++ % pixelBytes] : 0;
            };
            const int red = byte();
            const int green = byte();
            mask.setPixel(x, y, qRgb(red, green, byte()));
        }
    }
    // Colour values are $00BBGGRR.
    const auto colourValue = [](QRgb rgb) {
        return qint32(qRed(rgb) | qGreen(rgb) << 8 | qBlue(rgb) << 16);
    };
    const std::optional<QRegion> region = BuildMaskRegion(mask, colourValue(key), colourValue(tolerance));
    fuzz::expect(region.has_value(), "a mask gives an outline");
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const QRgb pixel = mask.pixel(x, y);
            const bool isKey = inRange(qRed(pixel), qRed(key), qRed(tolerance)) &&
                               inRange(qGreen(pixel), qGreen(key), qGreen(tolerance)) &&
                               inRange(qBlue(pixel), qBlue(key), qBlue(tolerance));
            fuzz::expect(region->contains(QPoint(x, y)) == !isKey,
                         "the outline holds exactly the non-key pixels");
        }
    }
    fuzz::expect(QRect(0, 0, width, height).contains(region->boundingRect()) || region->isEmpty(),
                 "the outline stays inside the mask");
    return 0;
}
