// The skin loader on any skin file, beside small valid pictures it may name ("mask.bmp", "up.bmp",
// "down.bmp", "numbers.bmp", "text.bmp"); a loaded skin is painted once. A broken skin is refused
// with SkinError; nothing else may escape.
#include "fuzz/FuzzSupport.h"
#include "skin/SkinError.h"
#include "skin/SkinForm.h"
#include "skin/SkinMessages.h"

#include <QImage>
#include <QWidget>

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
    const QString folder = fuzz::scratchFolder();
    for (const char* name : {"mask.bmp", "up.bmp", "down.bmp", "numbers.bmp", "text.bmp"}) {
        QImage image(QSize(40, 24), QImage::Format_RGB32);
        image.fill(qRgb(0x20, 0x80, 0xC0));
        image.setPixel(0, 0, qRgb(0xFF, 0x00, 0xFF));
        fuzz::expect(image.save(folder + QLatin1Char('/') + QLatin1String(name), "BMP"),
                     "the pictures are written");
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = fuzz::writeScratchFile(QStringLiteral("skin.ini"), data, size);
    QWidget window;
    TSkinForm* skin = new TSkinForm(&window);
    NoMessages messages;
    skin->setMessages(&messages);
    try {
        skin->LoadSkin(path);
        skin->PaintSkin();
    } catch (const SkinError&) {
    }
    return 0;
}
