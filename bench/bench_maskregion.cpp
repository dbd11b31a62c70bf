// Outline building speed: BuildMaskRegion against Qt's own mask-to-region path on the same masks.
#include "skin/MaskRegion.h"

#include <QBitmap>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>

#include <cstdio>
#include <functional>

namespace {

constexpr QRgb Key = 0xffffffff;

// A skin-like outline: rounded panel with a header bump, key colour outside.
QImage shapedMask(int width, int height)
{
    QImage mask(width, height, QImage::Format_RGB32);
    mask.fill(Key);
    QPainter painter(&mask);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath outline;
    outline.addRoundedRect(QRectF(width * 0.02, height * 0.08, width * 0.96, height * 0.9), width * 0.05,
                           width * 0.05);
    outline.addEllipse(QRectF(width * 0.33, height * 0.01, width * 0.33, height * 0.16));
    painter.fillPath(outline, QColor(40, 40, 44));
    return mask;
}

// Every third pixel of the key colour at random: the worst case, about one run per two pixels.
QImage noisyMask(int width, int height)
{
    QRandomGenerator random(7);
    QImage mask(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(mask.scanLine(y));
        for (int x = 0; x < width; ++x)
            row[x] = random.bounded(3) == 0 ? Key : 0xff000000 | random.generate();
    }
    return mask;
}

// Best of `rounds` runs, in milliseconds.
double bestMilliseconds(int rounds, const std::function<QRegion()>& build)
{
    double best = 1e300;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer timer;
        timer.start();
        const QRegion region = build();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
        if (region.isEmpty())
            std::printf("  (empty region)\n");
    }
    return best;
}

void compare(const char* name, const QImage& mask, int rounds)
{
    const double ours =
        bestMilliseconds(rounds, [&mask] { return BuildMaskRegion(mask, 0xFFFFFF, 0).value_or(QRegion()); });
    const double qt = bestMilliseconds(
        rounds, [&mask] { return QRegion(QBitmap::fromImage(mask.createMaskFromColor(Key))); });
    const QRegion a = BuildMaskRegion(mask, 0xFFFFFF, 0).value_or(QRegion());
    const QRegion b(QBitmap::fromImage(mask.createMaskFromColor(Key)));
    std::printf("%-22s BuildMaskRegion %9.2f ms   Qt bitmap region %9.2f ms   ratio %5.2f   same area: %s\n",
                name, ours, qt, ours / qt, a.xored(b).isEmpty() ? "yes" : "NO");
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    compare("595x510 shaped", shapedMask(595, 510), 20);
    compare("595x510 noisy", noisyMask(595, 510), 5);
    compare("4000x4000 shaped", shapedMask(4000, 4000), 3);
    compare("1000x1000 noisy", noisyMask(1000, 1000), 1);
    compare("4000x4000 noisy", noisyMask(4000, 4000), 1);
    return 0;
}
