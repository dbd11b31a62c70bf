// The skin's bitmap reader on any bytes, as a ".bmp" file: it gives a 32-bit picture or throws
// SkinError and leaves the target as it was.
#include "fuzz/FuzzSupport.h"
#include "skin/SkinError.h"
#include "skin/SkinImage.h"
#include "skin/SkinMessages.h"

namespace {

class NoMessages final : public SkinMessages
{
public:
    void show(const QString&) override {}
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::startGuiApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = fuzz::writeScratchFile(QStringLiteral("picture.bmp"), data, size);
    QImage target(1, 1, QImage::Format_RGB32);
    target.fill(Qt::red);
    NoMessages messages;
    try {
        LoadSkinImage(target, path, messages);
        fuzz::expect(target.format() == QImage::Format_RGB32, "a loaded picture has 32-bit pixels");
    } catch (const SkinError&) {
        fuzz::expect(target.size() == QSize(1, 1) && target.pixel(0, 0) == qRgb(255, 0, 0),
                     "a refused picture leaves the target as it was");
    }
    return 0;
}
