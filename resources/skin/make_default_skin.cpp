// Draws the default skin into the folder given as the only argument: skin.ini and its four pictures.
#include "DefaultSkinArt.h"
#include "DefaultSkinIni.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <cstdio>

namespace {

bool saveBitmap(const QImage& image, const QString& folder, const char* name)
{
    // RGB32 without alpha is written as a 24-bit Windows bitmap.
    if (image.save(QDir(folder).filePath(QLatin1String(name)), "BMP"))
        return true;
    std::fprintf(stderr, "make_default_skin: cannot write %s\n", name);
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_default_skin FOLDER\n");
        return 2;
    }
    // Nothing is shown; the platform is needed only for the fonts.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "make_default_skin: cannot create %s\n", argv[1]);
        return 1;
    }
    using namespace defaultskin;
    bool written = saveBitmap(drawMask(), folder, MaskFile) &&
                   saveBitmap(drawLook(Look::Rest), folder, RestFile) &&
                   saveBitmap(drawLook(Look::Hover), folder, HoverFile) &&
                   saveBitmap(drawLook(Look::Pressed), folder, PressedFile);
    QFile ini(QDir(folder).filePath(QStringLiteral("skin.ini")));
    const QByteArray text = defaultSkinIni();
    written = written && ini.open(QIODevice::WriteOnly) && ini.write(text) == text.size();
    if (!written) {
        std::fprintf(stderr, "make_default_skin: cannot write the skin into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
