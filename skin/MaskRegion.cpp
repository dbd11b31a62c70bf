#include "skin/MaskRegion.h"

#include "skin/SkinColor.h"

#include <algorithm>
#include <vector>

namespace {

// Runs are turned into a region this many at a time: building each batch with setRects and adding
// it in place, below what is there, lets QRegion append instead of re-merging the whole result.
constexpr int RunsPerBatch = 2000;

struct ChannelRange
{
    int low;
    int high;
    bool holds(int value) const { return value >= low && value <= high; }
};

ChannelRange rangeOf(int key, int tolerance)
{
    return {key, std::min(key + tolerance, 255)};
}

// A pixel is a key pixel when each of its channels lies in that channel's range.
class KeyTest
{
public:
    KeyTest(qint32 keyColor, qint32 tolerance)
    {
        const QRgb key = resolveColor(keyColor);
        const QRgb width = resolveColor(tolerance);
        m_red = rangeOf(qRed(key), qRed(width));
        m_green = rangeOf(qGreen(key), qGreen(width));
        m_blue = rangeOf(qBlue(key), qBlue(width));
    }

    bool operator()(QRgb pixel) const
    {
        return m_red.holds(qRed(pixel)) && m_green.holds(qGreen(pixel)) && m_blue.holds(qBlue(pixel));
    }

private:
    ChannelRange m_red{};
    ChannelRange m_green{};
    ChannelRange m_blue{};
};

// 32-bit pixels with colour in the low three bytes; any alpha byte is ignored, as a plain copy would.
QImage scanImage(const QImage& mask)
{
    return mask.format() == QImage::Format_RGB32 || mask.format() == QImage::Format_ARGB32
               ? mask
               : mask.convertToFormat(QImage::Format_RGB32);
}

class RunCollector
{
public:
    RunCollector() { m_batch.reserve(RunsPerBatch); }

    void add(int x0, int x1, int y)
    {
        m_batch.emplace_back(x0, y, x1 - x0, 1);
        if (int(m_batch.size()) == RunsPerBatch)
            flush();
    }

    QRegion finish()
    {
        flush();
        return m_result;
    }

private:
    void flush()
    {
        if (m_batch.empty())
            return;
        // Row runs come sorted by y, then x, and never touch: what setRects requires.
        QRegion batch;
        batch.setRects(m_batch.data(), int(m_batch.size()));
        m_result += batch;
        m_batch.clear();
    }

    std::vector<QRect> m_batch;
    QRegion m_result;
};

} // namespace

std::optional<QRegion> BuildMaskRegion(const QImage& mask, qint32 keyColor, qint32 tolerance)
{
    if (mask.isNull())
        return std::nullopt;
    const QImage scan = scanImage(mask);
    const KeyTest isKey(keyColor, tolerance);

    RunCollector runs;
    const int columns = scan.width();
    for (int y = 0; y < scan.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(scan.constScanLine(y));
        int x = 0;
        while (x < columns) {
            const int x0 = x;
            while (x < columns && !isKey(row[x]))
                ++x;
            if (x > x0)
                runs.add(x0, x, y);
            ++x;
        }
    }
    return runs.finish();
}

QImage BuildMaskAlpha(const QImage& mask, qint32 keyColor, qint32 tolerance)
{
    if (mask.isNull())
        return {};
    const QImage scan = scanImage(mask);
    const KeyTest isKey(keyColor, tolerance);
    QImage alpha(scan.size(), QImage::Format_Alpha8);
    for (int y = 0; y < scan.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(scan.constScanLine(y));
        uchar* out = alpha.scanLine(y);
        for (int x = 0; x < scan.width(); ++x)
            out[x] = isKey(row[x]) ? 0 : 255;
    }
    return alpha;
}
