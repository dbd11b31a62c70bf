#include "skin/SurfaceLayers.h"

#include <QHash>

#include <algorithm>
#include <cstring>

namespace {

// The rectangle [left, right) x [top, bottom) cut to `clip`, computed in 64 bits.
QRect clippedRect(qint64 left, qint64 top, qint64 right, qint64 bottom, const QRect& clip)
{
    left = std::max<qint64>(left, clip.left());
    top = std::max<qint64>(top, clip.top());
    right = std::min<qint64>(right, qint64(clip.right()) + 1);
    bottom = std::min<qint64>(bottom, qint64(clip.bottom()) + 1);
    if (left >= right || top >= bottom)
        return {};
    return QRect(int(left), int(top), int(right - left), int(bottom - top));
}

// Which layer is on top in each column of a band of rows. A segment tree over the columns: each node
// keeps, as a max-heap of layer numbers, the layers whose columns cover it whole but not its parent.
// A layer leaves by being marked gone; its heap entries are dropped when they come to the top.
class TopLayerTree
{
public:
    TopLayerTree(int columns, std::size_t layerCount)
        : m_columns(columns)
        , m_heaps(4 * std::size_t(columns))
        , m_load(4 * std::size_t(columns), 0)
        , m_gone(layerCount, false)
    {
    }

    void insert(int layer, int left, int right) { update(1, 0, m_columns, left, right, layer, 1); }

    void remove(int layer, int left, int right)
    {
        m_gone[std::size_t(layer)] = true;
        update(1, 0, m_columns, left, right, layer, -1);
    }

    bool empty() const { return m_load[1] == 0; }

    // report(left, right, layer) for the columns left to right, in runs; layer -1 where there is none.
    template <typename Report>
    void walk(Report&& report)
    {
        walk(1, 0, m_columns, -1, report);
    }

private:
    // `m_load` counts, per node, the live layers held in its subtree, so empty subtrees are skipped.
    void update(std::size_t node, int low, int high, int left, int right, int layer, int delta)
    {
        m_load[node] += delta;
        if (left <= low && high <= right) {
            if (delta > 0) {
                m_heaps[node].push_back(layer);
                std::push_heap(m_heaps[node].begin(), m_heaps[node].end());
            }
            return;
        }
        const int middle = low + (high - low) / 2;
        if (left < middle)
            update(2 * node, low, middle, left, right, layer, delta);
        if (right > middle)
            update(2 * node + 1, middle, high, left, right, layer, delta);
    }

    int top(std::size_t node)
    {
        std::vector<int>& heap = m_heaps[node];
        while (!heap.empty() && m_gone[std::size_t(heap.front())]) {
            std::pop_heap(heap.begin(), heap.end());
            heap.pop_back();
        }
        return heap.empty() ? -1 : heap.front();
    }

    template <typename Report>
    void walk(std::size_t node, int low, int high, int above, Report& report)
    {
        if (m_load[node] == 0) {
            report(low, high, above);
            return;
        }
        const int here = std::max(above, top(node));
        if (high - low == 1) {
            report(low, high, here);
            return;
        }
        const int middle = low + (high - low) / 2;
        walk(2 * node, low, middle, here, report);
        walk(2 * node + 1, middle, high, here, report);
    }

    int m_columns;
    std::vector<std::vector<int>> m_heaps;
    std::vector<int> m_load;
    std::vector<bool> m_gone;
};

struct Segment
{
    int left;
    int right;
    int layer;
};

// RGB32 keeps whatever is in its unused byte; the surface needs it opaque.
void copyRun(QRgb* to, const QRgb* from, int count, bool forceOpaque)
{
    if (!forceOpaque) {
        std::memcpy(to, from, std::size_t(count) * sizeof(QRgb));
        return;
    }
    for (int i = 0; i < count; ++i)
        to[i] = from[i] | 0xff000000u;
}

void copySegment(uchar* bits, qsizetype stride, const SurfaceLayer& layer, const QImage& picture,
                 const Segment& segment, int top, int bottom)
{
    const bool forceOpaque = picture.format() == QImage::Format_RGB32;
    for (int y = top; y < bottom; ++y) {
        auto* to = reinterpret_cast<QRgb*>(bits + y * stride);
        const int pictureRow = int(y - layer.originY);
        if (layer.cellWidth == 0) {
            const auto* from = reinterpret_cast<const QRgb*>(picture.constScanLine(pictureRow));
            copyRun(to + segment.left, from + (segment.left - layer.originX), segment.right - segment.left,
                    forceOpaque);
            continue;
        }
        for (int x = segment.left; x < segment.right;) {
            const qint64 cell = (x - layer.originX) / layer.cellWidth;
            const qint64 cellLeft = layer.originX + cell * layer.cellWidth;
            const int end = int(std::min<qint64>(segment.right, cellLeft + layer.cellWidth));
            const QPoint source = layer.cells[std::size_t(cell - layer.firstCell)];
            const auto* from = reinterpret_cast<const QRgb*>(picture.constScanLine(source.y() + pictureRow));
            copyRun(to + x, from + source.x() + (x - cellLeft), end - x, forceOpaque);
            x = end;
        }
    }
}

// The picture in a format whose pixels are copied as they are, or made opaque on the way (RGB32).
QImage copyable(const QImage& picture)
{
    const bool direct =
        picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_ARGB32_Premultiplied;
    return direct ? picture : picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

struct Edge
{
    int y;
    int layer;
    int left;
    int right;
    bool enters;
};

// Walks the rows of `area` in bands, a band being rows where the same rectangles are present, and calls
// band(top, bottom, segments) with the band's columns left to right in runs, each with the number of
// the last rectangle holding it (-1 for none). Bands that no rectangle touches are passed over.
template <typename Band>
void sweepRects(std::span<const QRect> rects, const QRect& area, Band&& band)
{
    if (area.isEmpty())
        return;
    std::vector<Edge> edges;
    for (std::size_t i = 0; i < rects.size(); ++i) {
        const QRect rect = rects[i] & area;
        if (rect.isEmpty())
            continue;
        edges.push_back(
            {rect.top(), int(i), rect.left() - area.left(), rect.right() + 1 - area.left(), true});
        edges.push_back(
            {rect.bottom() + 1, int(i), rect.left() - area.left(), rect.right() + 1 - area.left(), false});
    }
    std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.y < b.y; });
    TopLayerTree tree(area.width(), rects.size());
    std::vector<Segment> segments;
    std::size_t next = 0;
    while (next < edges.size()) {
        const int top = edges[next].y;
        for (; next < edges.size() && edges[next].y == top; ++next) {
            const Edge& edge = edges[next];
            edge.enters ? tree.insert(edge.layer, edge.left, edge.right)
                        : tree.remove(edge.layer, edge.left, edge.right);
        }
        if (next == edges.size() || tree.empty())
            continue;
        segments.clear();
        tree.walk([&](int left, int right, int layer) {
            if (!segments.empty() && segments.back().layer == layer &&
                segments.back().right == left + area.left())
                segments.back().right = right + area.left();
            else
                segments.push_back({left + area.left(), right + area.left(), layer});
        });
        band(top, edges[next].y, segments);
    }
}

} // namespace

SurfaceLayer pictureLayer(const QImage& picture, qint64 x, qint64 y, const QRect& clip)
{
    SurfaceLayer layer;
    layer.picture = &picture;
    layer.originX = x;
    layer.originY = y;
    layer.rect = clippedRect(x, y, x + picture.width(), y + picture.height(), clip);
    return layer;
}

SurfaceLayer pictureLayerPart(const QImage& picture, const QRect& part, const QRect& clip)
{
    SurfaceLayer layer;
    layer.picture = &picture;
    layer.rect = part & picture.rect() & clip;
    return layer;
}

SurfaceLayer stripLayer(const QImage& picture, qint64 x, qint64 y, QSize cell, const QString& text,
                        const QRect& clip, const std::function<QPoint(char32_t)>& cellOf)
{
    SurfaceLayer layer;
    layer.picture = &picture;
    layer.originX = x;
    layer.originY = y;
    layer.cellWidth = cell.width();
    if (cell.isEmpty() || text.isEmpty())
        return layer;
    // A string has no more characters than UTF-16 units: a strip out of sight is known as such before
    // its characters are counted.
    if (clippedRect(x, y, x + text.size() * cell.width(), y + cell.height(), clip).isEmpty())
        return layer;
    const QList<uint> characters = text.toUcs4();
    layer.rect = clippedRect(x, y, x + characters.size() * cell.width(), y + cell.height(), clip);
    if (layer.rect.isEmpty())
        return layer;
    layer.firstCell = (layer.rect.left() - x) / cell.width();
    const qint64 lastCell = (qint64(layer.rect.right()) - x) / cell.width();
    layer.cells.reserve(std::size_t(lastCell - layer.firstCell + 1));
    for (qint64 i = layer.firstCell; i <= lastCell; ++i)
        layer.cells.push_back(cellOf(characters[i]));
    return layer;
}

void composeLayers(QImage& surface, std::span<const SurfaceLayer> layers, const QRect& clip)
{
    const QRect area = clip & surface.rect();
    // Nothing under the last layer that fills the whole area shows.
    std::size_t first = layers.size();
    while (first > 0 && !(layers[first - 1].picture && layers[first - 1].rect.contains(area)))
        --first;
    if (first > 0)
        --first;
    if (area.isEmpty() || first == layers.size())
        return;
    uchar* bits = surface.bits();
    const qsizetype stride = surface.bytesPerLine();
    // One layer over the whole area is a plain copy.
    if (first + 1 == layers.size() && layers[first].picture && layers[first].rect.contains(area)) {
        const SurfaceLayer& layer = layers[first];
        copySegment(bits, stride, layer, copyable(*layer.picture),
                    {area.left(), area.right() + 1, int(first)}, area.top(), area.bottom() + 1);
        return;
    }
    std::vector<QRect> rects(layers.size());
    QHash<const QImage*, QImage> pictures;
    for (std::size_t i = first; i < layers.size(); ++i) {
        const QImage* picture = layers[i].picture;
        if (!picture)
            continue;
        rects[i] = layers[i].rect;
        if (!pictures.contains(picture))
            pictures.insert(picture, copyable(*picture));
    }
    sweepRects(rects, area, [&](int top, int bottom, const std::vector<Segment>& segments) {
        for (const Segment& segment : segments) {
            if (segment.layer < 0)
                continue;
            const SurfaceLayer& layer = layers[std::size_t(segment.layer)];
            copySegment(bits, stride, layer, *pictures.constFind(layer.picture), segment, top, bottom);
        }
    });
}
