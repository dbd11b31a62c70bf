// The skin's JPEG decoder on any bytes: it gives a 32-bit picture within the size limits, or an error
// code and the picture as it was.
#include "fuzz/FuzzSupport.h"
#include "skin/JpegReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QImage image;
    const int code =
        DecodeJpeg(QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)), image);
    if (code == 0) {
        fuzz::expect(image.format() == QImage::Format_RGB32, "a decoded picture has 32-bit pixels");
        fuzz::expect(image.width() <= MaxJpegSide && image.height() <= MaxJpegSide &&
                         qint64(image.width()) * image.height() <= MaxJpegPixels,
                     "a decoded picture is within the limits");
    } else {
        fuzz::expect(image.isNull(), "a failed decode leaves the picture as it was");
    }
    return 0;
}
