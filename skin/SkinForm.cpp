#include "skin/SkinForm.h"

#include "skin/MaskRegion.h"
#include "skin/SkinError.h"
#include "skin/SkinMessages.h"
#include "skin/SurfaceLayers.h"

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>

#include <cstring>

QString skinMessageText(const char* text)
{
    return QString::fromLatin1(text).replace(u'\r', u'\n');
}

TSkinForm::TSkinForm(QWidget* parent)
    : QWidget(parent)
{
    if (parent) {
        // Throwing here unwinds the base too, so a refused component is never left on the control.
        if (!parent->isWindow())
            throw SkinError(QStringLiteral("Please Drop me on a Form"));
        const bool wasVisible = parent->isVisible();
        parent->setWindowFlags(parent->windowFlags() | Qt::Window | Qt::FramelessWindowHint);
        // Cut-out pixels are painted transparent: where a mask only cuts input, the outline still shows.
        parent->setAttribute(Qt::WA_TranslucentBackground);
        parent->installEventFilter(this);
        fillParent();
        if (wasVisible)
            parent->show();
    }
    setMouseTracking(true);
}

TSkinForm::~TSkinForm() = default;

void TSkinForm::setMessages(SkinMessages* messages)
{
    m_messages = messages;
}

SkinMessages& TSkinForm::messages() const
{
    return m_messages ? *m_messages : boxSkinMessages();
}

// The outline is rebuilt from these only at the next LoadSkin.
void TSkinForm::setKeyColor(qint32 color)
{
    if (color != m_keyColor)
        m_keyColor = color;
}

void TSkinForm::setTolerance(qint32 color)
{
    if (color != m_tolerance)
        m_tolerance = color;
}

void TSkinForm::setHint(const QString& hint)
{
    if (hint == m_hint)
        return;
    m_hint = hint;
    setToolTip(hint);
    setStatusTip(hint);
    emit hintChanged(hint);
}

void TSkinForm::fillParent()
{
    if (parentWidget())
        setGeometry(parentWidget()->rect());
}

bool TSkinForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        fillParent();
    return QWidget::eventFilter(watched, event);
}

void TSkinForm::ApplyMask()
{
    QWidget* form = window();
    const QSize size = MaskBitmap.size();
    form->resize(size);
    m_surface = QImage();
    // A hidden window delivers its resize event only when shown: size the component now.
    if (form != this)
        setGeometry(QRect(QPoint(0, 0), size));

    WindowRegion = BuildMaskRegion(MaskBitmap, m_keyColor, m_tolerance);
    m_outline = BuildMaskAlpha(MaskBitmap, m_keyColor, m_tolerance);
    m_outlineCuts.assign(std::size_t(m_outline.height()), {INT_MAX, -1});
    for (int y = 0; y < m_outline.height(); ++y) {
        const uchar* alpha = m_outline.constScanLine(y);
        auto& [first, last] = m_outlineCuts[std::size_t(y)];
        for (int x = 0; x < m_outline.width(); ++x) {
            if (alpha[x] == 0) {
                first = qMin(first, x);
                last = x;
            }
        }
    }
    if (!WindowRegion) {
        form->clearMask();
    } else if (WindowRegion->isEmpty()) {
        // An empty QRegion would clear the mask and show the whole rectangle; a region wholly
        // outside the window keeps every pixel cut out, as a mask made only of key pixels asks.
        form->setMask(QRegion(-1, -1, 1, 1));
    } else {
        form->setMask(*WindowRegion);
    }
}

void TSkinForm::ensureSurface()
{
    if (m_surface.isNull() || m_surface.size() != size()) {
        m_surface = QImage(size(), QImage::Format_ARGB32_Premultiplied);
        m_surface.fill(Qt::transparent);
        m_base = QImage(size(), QImage::Format_ARGB32_Premultiplied);
        m_base.fill(Qt::transparent);
        m_baseChanged = QRegion();
        m_stale = QRegion();
        m_hoverShown = QRect();
        // Recorded at once, so that every later change of an item is told.
        m_painted.forget();
        std::vector<QRect> everything;
        m_painted.update(*this, m_surface.rect(), everything);
        itemsChanged(everything);
    }
}

void TSkinForm::copyLookRect(const QImage& look, const QRect& rect)
{
    ensureSurface();
    const QRect part = rect & look.rect() & m_surface.rect();
    if (part.isEmpty())
        return;
    const SurfaceLayer layer = pictureLayerPart(look, part, part);
    composeLayers(m_surface, {&layer, 1}, part);
    markStale(part);
    update(part);
}

void TSkinForm::markStale(const QRect& rect)
{
    const QRect part = rect & m_surface.rect();
    m_stale += part;
    if (m_hoverShown.intersects(part))
        m_hoverShown = QRect();
}

// Many scattered changes are painted as the one rectangle round them: uniting them one by one would
// cost more than painting the pixels between them.
void TSkinForm::itemsChanged(const std::vector<QRect>& rects)
{
    constexpr std::size_t MaxSeparateChanges = 16;
    if (rects.size() > MaxSeparateChanges) {
        QRect around;
        for (const QRect& rect : rects)
            around |= rect;
        m_baseChanged += around;
        markStale(around);
        return;
    }
    for (const QRect& rect : rects) {
        m_baseChanged += rect;
        markStale(rect);
    }
}

void TSkinForm::hotAreaChanged(qsizetype index)
{
    std::vector<QRect> changed;
    m_painted.updateHotArea(*this, index, changed);
    itemsChanged(changed);
}

void TSkinForm::trackBarChanged(qsizetype index)
{
    std::vector<QRect> changed;
    m_painted.updateTrackBar(*this, index, changed);
    itemsChanged(changed);
}

// The base is only ever copied where the rest look lies (see putBack).
void TSkinForm::refreshBase()
{
    const QRegion changed = m_baseChanged & (MouseUpBitmap.rect() & m_base.rect());
    for (const QRect& part : changed)
        paintPart(m_base, part);
    m_baseChanged = QRegion();
}

// Where the rest look does not reach, a pixel no item covers keeps what it had when painted over;
// there the surface is painted over as before, and everywhere else copied from the base.
void TSkinForm::putBack(const QRegion& region)
{
    refreshBase();
    const QRect restLook = MouseUpBitmap.rect() & m_surface.rect();
    for (const QRect& part : region) {
        if (const QRect copied = part & restLook; !copied.isEmpty()) {
            const SurfaceLayer layer = pictureLayerPart(m_base, copied, copied);
            composeLayers(m_surface, {&layer, 1}, copied);
        }
        for (const QRect& painted : QRegion(part) - restLook)
            paintPart(m_surface, painted);
        update(part);
    }
}

// The hover copy replaces every pixel of its rectangle, so what is stale under it needs no redraw;
// a hover look already shown and untouched since is left as it is.
void TSkinForm::showHoverLook(const QRect& rect)
{
    ensureSurface();
    const QRect hover = rect & MouseOnBitmap.rect() & m_surface.rect();
    const QRegion redraw = m_stale - hover;
    putBack(redraw);
    m_stale -= redraw;
    // Where the last hover look still shows, it is this one's too.
    for (const QRect& part : QRegion(hover) - m_hoverShown)
        copyLookRect(MouseOnBitmap, part);
    m_hoverShown = hover;
}

void TSkinForm::repaintStale()
{
    if (m_surface.isNull() || m_surface.size() != size()) {
        PaintSkin();
        return;
    }
    showPainted();
}

void TSkinForm::showPainted()
{
    putBack(m_stale);
    m_stale = QRegion();
    m_hoverShown = QRect();
    RepaintPending = false;
}

QImage TSkinForm::shapedSurface() const
{
    QImage shaped;
    shapePart(m_surface.rect(), shaped);
    return shaped;
}

std::pair<int, int> TSkinForm::outlineCuts(int y, const QRect& rect) const
{
    if (y < 0 || std::size_t(y) >= m_outlineCuts.size())
        return {INT_MAX, -1};
    const auto [first, last] = m_outlineCuts[std::size_t(y)];
    return {qMax(first, rect.left()), qMin(last, rect.right())};
}

void TSkinForm::shapePart(const QRect& rect, QImage& out) const
{
    if (out.size() != rect.size() || out.format() != m_surface.format())
        out = QImage(rect.size(), m_surface.format());
    for (int y = 0; y < rect.height(); ++y) {
        const auto* from =
            reinterpret_cast<const QRgb*>(m_surface.constScanLine(rect.top() + y)) + rect.left();
        auto* to = reinterpret_cast<QRgb*>(out.scanLine(y));
        std::memcpy(to, from, std::size_t(rect.width()) * sizeof(QRgb));
        const auto [first, last] = outlineCuts(rect.top() + y, rect);
        const uchar* alpha = first <= last ? m_outline.constScanLine(rect.top() + y) : nullptr;
        for (int x = first; x <= last; ++x) {
            if (alpha[x] == 0)
                to[x - rect.left()] = 0;
        }
    }
}

// Only the rectangles of the region are drawn, not the one round them, which may take in most of the
// window between two small changes. They go in strips small enough to stay in the cache between being
// cut to the outline and drawn.
void TSkinForm::paintEvent(QPaintEvent* event)
{
    constexpr qsizetype StripBytes = 256 * 1024;
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    QImage strip;
    for (const QRect& changed : event->region()) {
        const QRect rect = changed & m_surface.rect();
        if (rect.isEmpty())
            continue;
        const int rows = int(qMax<qsizetype>(1, StripBytes / (qsizetype(rect.width()) * 4)));
        for (int top = rect.top(); top <= rect.bottom(); top += rows) {
            const QRect part(rect.left(), top, rect.width(), qMin(rows, rect.bottom() + 1 - top));
            bool cut = false;
            for (int y = part.top(); y <= part.bottom() && !cut; ++y) {
                const auto [first, last] = outlineCuts(y, part);
                cut = first <= last;
            }
            if (!cut) {
                painter.drawImage(part.topLeft(), m_surface, part);
                continue;
            }
            shapePart(part, strip);
            painter.drawImage(part.topLeft(), strip);
        }
    }
}

qint32 TSkinForm::IndexOfHotArea(const QString& id) const
{
    for (qsizetype i = 0; i < HotAreas.size(); ++i) {
        if (HotAreas[i].ID == id)
            return static_cast<qint32>(i);
    }
    return -1;
}

QString TSkinForm::HotAreaID(qint32 index) const
{
    return index >= 0 && index < HotAreas.size() ? HotAreas[index].ID : QString();
}

void TSkinForm::SetHotAreaChecked(const QString& id, bool checked)
{
    const qint32 index = IndexOfHotArea(id);
    if (index < 0)
        return;
    HotAreas[index].Checked = checked;
    PaintSkin();
}

namespace {

// Built from coordinates rather than QRect(x, y, w, h) so that a right or bottom edge at or before
// the left or top gives an empty rectangle, which nothing lies inside.
QRect edgeRect(qint32 left, qint32 top, qint64 right, qint64 bottom)
{
    if (right <= left || bottom <= top)
        return {};
    return QRect(QPoint(left, top), QPoint(static_cast<int>(qMin<qint64>(right, INT_MAX) - 1),
                                           static_cast<int>(qMin<qint64>(bottom, INT_MAX) - 1)));
}

} // namespace

QRect TSkinForm::hotAreaRect(const HotAreaInfoRec& area)
{
    return edgeRect(area.X, area.Y, qint64(area.X) + area.Width, qint64(area.Y) + area.Height);
}

QRect TSkinForm::displayRect(const DisplayInfoRec& display)
{
    return edgeRect(display.X, display.Y, qint64(display.X) + display.Width,
                    qint64(display.Y) + display.Height);
}

QRect TSkinForm::trackRect(const TrackBarInfoRec& bar)
{
    if (bar.Horizontal)
        return edgeRect(bar.X, bar.Y, qint64(bar.X) + bar.Length, qint64(bar.Y) + bar.ThumbHeight);
    return edgeRect(bar.X, bar.Y, qint64(bar.X) + bar.ThumbWidth, qint64(bar.Y) + bar.Length);
}

QRect TSkinForm::thumbRect(const TrackBarInfoRec& bar)
{
    const qint64 left = bar.Horizontal ? qint64(bar.X) + bar.ThumbOffset : bar.X;
    const qint64 top = bar.Horizontal ? bar.Y : qint64(bar.Y) + bar.ThumbOffset;
    if (left < INT_MIN || top < INT_MIN || left > INT_MAX || top > INT_MAX)
        return {};
    return edgeRect(static_cast<qint32>(left), static_cast<qint32>(top), left + bar.ThumbWidth,
                    top + bar.ThumbHeight);
}

ThumbLook TSkinForm::thumbLook(qsizetype index) const
{
    const TrackBarInfoRec& bar = TrackBars[index];
    const std::shared_ptr<QImage>& thumb = index == ActiveTrackBar ? bar.ThumbDownBitmap : bar.ThumbBitmap;
    if (!thumb || thumb->isNull())
        return {};
    return {thumb.get(), bar.Horizontal ? qint64(bar.X) + bar.ThumbOffset : bar.X,
            bar.Horizontal ? bar.Y : qint64(bar.Y) + bar.ThumbOffset};
}

qint32 TSkinForm::trackTravel(const TrackBarInfoRec& bar)
{
    return static_cast<qint32>(qint64(bar.Length) - (bar.Horizontal ? bar.ThumbWidth : bar.ThumbHeight));
}

int TSkinForm::hotAreaAt(QPoint point) const
{
    for (qsizetype i = 0; i < HotAreas.size(); ++i) {
        if (hotAreaRect(HotAreas[i]).contains(point))
            return static_cast<int>(i);
    }
    return -1;
}

int TSkinForm::displayAt(QPoint point) const
{
    for (qsizetype i = 0; i < Displays.size(); ++i) {
        if (displayRect(Displays[i]).contains(point))
            return static_cast<int>(i);
    }
    return -1;
}
