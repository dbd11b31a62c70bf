#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>

#include <functional>
#include <span>
#include <vector>

// One picture copied opaquely onto the drawing surface: a whole picture whose top left lies at
// (originX, originY), or a strip of equal cells (a glyph display) where cell i covers the columns from
// originX + i * cellWidth on and is copied from cells[i - firstCell] of the picture.
struct SurfaceLayer
{
    // The part copied, on the surface; every pixel of it comes from inside the picture.
    QRect rect;
    const QImage* picture = nullptr;
    qint64 originX = 0;
    qint64 originY = 0;
    int cellWidth = 0; // 0 for a whole picture
    qint64 firstCell = 0;
    std::vector<QPoint> cells;
};

// `picture` with its top left at (x, y), or only its part `part` in place (a look of a hot area);
// cut to `clip`. Coordinates far outside the surface give an empty layer, never an overflow.
SurfaceLayer pictureLayer(const QImage& picture, qint64 x, qint64 y, const QRect& clip);
SurfaceLayer pictureLayerPart(const QImage& picture, const QRect& part, const QRect& clip);

// One cell of `cell` size per character of `text`, laid left to right from (x, y); cellOf(c) is the top
// left of the cell of character c in `picture`, asked only for the characters inside `clip`.
SurfaceLayer stripLayer(const QImage& picture, qint64 x, qint64 y, QSize cell, const QString& text,
                        const QRect& clip, const std::function<QPoint(char32_t)>& cellOf);

// Copies `layers` onto `surface` (Format_ARGB32_Premultiplied) inside `clip`, with the result of
// copying them one after the other, later ones over earlier ones. Each pixel is written once, by the
// last layer holding it, so the work grows with the clipped area and the number of layers and never
// with how much they overlap. Pixels no layer holds keep what they had.
void composeLayers(QImage& surface, std::span<const SurfaceLayer> layers, const QRect& clip);
