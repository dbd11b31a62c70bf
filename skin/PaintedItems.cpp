#include "skin/PaintedItems.h"

#include "skin/SkinForm.h"
#include "skin/SurfaceLayers.h"

PaintedItems::Basis PaintedItems::basisOf(const TSkinForm& skin, const QRect& bounds)
{
    return {bounds,
            skin.MouseUpBitmap.cacheKey(),
            skin.MouseDownBitmap.cacheKey(),
            skin.NumbersBitmap.cacheKey(),
            skin.TextBitmap.cacheKey(),
            skin.HotAreas.size(),
            skin.TrackBars.size(),
            skin.Displays.size()};
}

PaintedItems::Display PaintedItems::displayOf(const DisplayInfoRec& display)
{
    Display look{display.Kind, display.Value, display.X, display.Y, std::nullopt};
    if (display.Font)
        look.font = *display.Font;
    return look;
}

QRect PaintedItems::pressedRect(const TSkinForm& skin, qsizetype index) const
{
    const HotAreaInfoRec& area = skin.HotAreas[index];
    if (!(area.Toggle && area.Checked) && !area.Pressed)
        return {};
    return TSkinForm::hotAreaRect(area) & skin.MouseDownBitmap.rect() & m_basis.bounds;
}

PaintedItems::Thumb PaintedItems::thumbOf(const TSkinForm& skin, qsizetype index) const
{
    const ThumbLook look = skin.thumbLook(index);
    if (!look.picture)
        return {};
    return {look.picture, look.picture->cacheKey(), look.left, look.top,
            pictureLayer(*look.picture, look.left, look.top, m_basis.bounds).rect};
}

// Compared in place: copying the strings of every display at every paint would cost more.
bool PaintedItems::displaysChanged(const TSkinForm& skin) const
{
    for (qsizetype i = 0; i < skin.Displays.size(); ++i) {
        const DisplayInfoRec& now = skin.Displays[i];
        const Display& recorded = m_displays[std::size_t(i)];
        if (now.Kind != recorded.kind || now.Value != recorded.value || now.X != recorded.x ||
            now.Y != recorded.y || bool(now.Font) != recorded.font.has_value() ||
            (now.Font && !(*now.Font == *recorded.font)))
            return true;
    }
    return false;
}

void PaintedItems::recordAll(const TSkinForm& skin)
{
    m_pressed.resize(std::size_t(skin.HotAreas.size()));
    for (qsizetype i = 0; i < skin.HotAreas.size(); ++i)
        m_pressed[std::size_t(i)] = pressedRect(skin, i);
    m_thumbs.resize(std::size_t(skin.TrackBars.size()));
    for (qsizetype i = 0; i < skin.TrackBars.size(); ++i)
        m_thumbs[std::size_t(i)] = thumbOf(skin, i);
    m_displays.clear();
    m_displays.reserve(std::size_t(skin.Displays.size()));
    for (const DisplayInfoRec& display : skin.Displays)
        m_displays.push_back(displayOf(display));
}

void PaintedItems::update(const TSkinForm& skin, const QRect& bounds, std::vector<QRect>& changed)
{
    const Basis basis = basisOf(skin, bounds);
    // Displays change only with a new skin, and a font text's reach is costly to know: any change of
    // one paints everything again.
    if (!m_recorded || !(basis == m_basis) || displaysChanged(skin)) {
        m_recorded = true;
        m_basis = basis;
        recordAll(skin);
        if (!bounds.isEmpty())
            changed.push_back(bounds);
        return;
    }
    for (qsizetype i = 0; i < skin.HotAreas.size(); ++i)
        updateHotArea(skin, i, changed);
    for (qsizetype i = 0; i < skin.TrackBars.size(); ++i)
        updateTrackBar(skin, i, changed);
}

void PaintedItems::updateHotArea(const TSkinForm& skin, qsizetype index, std::vector<QRect>& changed)
{
    if (!m_recorded || index < 0 || std::size_t(index) >= m_pressed.size() || index >= skin.HotAreas.size())
        return;
    QRect& recorded = m_pressed[std::size_t(index)];
    const QRect now = pressedRect(skin, index);
    if (now == recorded)
        return;
    for (const QRect& rect : {recorded, now}) {
        if (!rect.isEmpty())
            changed.push_back(rect);
    }
    recorded = now;
}

void PaintedItems::updateTrackBar(const TSkinForm& skin, qsizetype index, std::vector<QRect>& changed)
{
    if (!m_recorded || index < 0 || std::size_t(index) >= m_thumbs.size() || index >= skin.TrackBars.size())
        return;
    Thumb& recorded = m_thumbs[std::size_t(index)];
    const Thumb now = thumbOf(skin, index);
    if (now.sameLook(recorded))
        return;
    for (const QRect& rect : {recorded.rect, now.rect}) {
        if (!rect.isEmpty())
            changed.push_back(rect);
    }
    recorded = now;
}
