#include "app/SkinAccent.h"

#include <QImage>

#include <algorithm>
#include <array>

namespace {

constexpr int HueBuckets = 36;
constexpr int MinSaturation = 110;
constexpr int MinValue = 110;

struct Bucket
{
    double weight = 0;
    double red = 0;
    double green = 0;
    double blue = 0;
};

} // namespace

QColor skinAccent(const QImage& rest, const QImage& hover, const QColor& fallback)
{
    if (rest.isNull() || rest.size() != hover.size())
        return fallback;
    const QImage before = rest.convertToFormat(QImage::Format_RGB32);
    const QImage after = hover.convertToFormat(QImage::Format_RGB32);
    std::array<Bucket, HueBuckets> buckets{};
    // Every other pixel of every other row is plenty for a colour that covers whole buttons.
    for (int y = 0; y < after.height(); y += 2) {
        const auto* was = reinterpret_cast<const QRgb*>(before.constScanLine(y));
        const auto* is = reinterpret_cast<const QRgb*>(after.constScanLine(y));
        for (int x = 0; x < after.width(); x += 2) {
            if (was[x] == is[x])
                continue;
            const QColor colour(is[x]);
            const int saturation = colour.hsvSaturation();
            const int value = colour.value();
            if (saturation < MinSaturation || value < MinValue)
                continue;
            Bucket& bucket = buckets[colour.hsvHue() * HueBuckets / 360];
            const double weight = double(saturation) * value;
            bucket.weight += weight;
            bucket.red += weight * colour.red();
            bucket.green += weight * colour.green();
            bucket.blue += weight * colour.blue();
        }
    }
    const Bucket& best = *std::max_element(
        buckets.begin(), buckets.end(), [](const Bucket& a, const Bucket& b) { return a.weight < b.weight; });
    if (best.weight == 0)
        return fallback;
    const QColor mean(int(best.red / best.weight), int(best.green / best.weight),
                      int(best.blue / best.weight));
    // Vivid, and dark enough to read on white.
    return QColor::fromHsv(mean.hsvHue(), std::max(mean.hsvSaturation(), 200),
                           std::clamp(mean.value(), 170, 230));
}
