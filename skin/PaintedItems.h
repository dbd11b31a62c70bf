#pragma once

#include "skin/SkinItems.h"

#include <QRect>

#include <optional>
#include <vector>

class TSkinForm;

// The looks the skin's items were last painted with. Held against the items now, they tell where the
// picture must be painted again: where a changed item was and where it is now, or everywhere when
// something all items hang on changed (the size, a look or glyph picture, an item list, a display).
class PaintedItems
{
public:
    // Adds to `changed` the parts of `bounds` (the surface) that the items' changes since the last call
    // touch, and records the items as they are now. Everything, the first time.
    void update(const TSkinForm& skin, const QRect& bounds, std::vector<QRect>& changed);
    // The same when only hot area or track bar `index` can have changed.
    void updateHotArea(const TSkinForm& skin, qsizetype index, std::vector<QRect>& changed);
    void updateTrackBar(const TSkinForm& skin, qsizetype index, std::vector<QRect>& changed);
    // Nothing recorded: the next update() reports everything.
    void forget() { m_recorded = false; }

private:
    struct Basis
    {
        QRect bounds;
        qint64 restLook = 0;
        qint64 pressedLook = 0;
        qint64 numbers = 0;
        qint64 text = 0;
        qsizetype hotAreas = 0;
        qsizetype trackBars = 0;
        qsizetype displays = 0;
        bool operator==(const Basis&) const = default;
    };
    struct Thumb
    {
        const QImage* picture = nullptr;
        qint64 key = 0;
        qint64 left = 0;
        qint64 top = 0;
        QRect rect;
        bool sameLook(const Thumb& other) const
        {
            return picture == other.picture && key == other.key && left == other.left && top == other.top;
        }
    };
    struct Display
    {
        QString kind;
        QString value;
        qint32 x = 0;
        qint32 y = 0;
        std::optional<DisplayFont> font;
    };

    static Basis basisOf(const TSkinForm& skin, const QRect& bounds);
    static Display displayOf(const DisplayInfoRec& display);
    QRect pressedRect(const TSkinForm& skin, qsizetype index) const;
    Thumb thumbOf(const TSkinForm& skin, qsizetype index) const;
    bool displaysChanged(const TSkinForm& skin) const;
    void recordAll(const TSkinForm& skin);

    bool m_recorded = false;
    Basis m_basis;
    std::vector<QRect> m_pressed;
    std::vector<Thumb> m_thumbs;
    std::vector<Display> m_displays;
};
