#pragma once

#include "tests/skin/SkinFixtures.h"

#include <QByteArray>
#include <QColor>
#include <QDir>
#include <QStringList>

// A skin written to a folder for the pointer tests: every look is one solid colour, so a pixel of the
// surface tells which look is drawn there. The mask keeps the whole rectangle.
namespace interaction {

inline const QColor Rest(128, 128, 128);
inline const QColor Pressed(200, 0, 0);
inline const QColor Hover(0, 160, 0);
inline const QColor Thumb(0, 0, 200);
inline const QColor ThumbDown(250, 200, 0);

// Thumb images: "thumb.bmp"/"thumbdown.bmp" are 10 x 6 (for horizontal bars), "vthumb.bmp"/
// "vthumbdown.bmp" 6 x 10 (for vertical bars).
struct SkinFile
{
    QSize size{200, 120};
    QStringList hotAreas;
    QStringList displays;
    QStringList trackBars;
    // The hover look's file name; "down.bmp" turns hover looks off.
    QString hoverName = QStringLiteral("on.bmp");

    static QByteArray section(const char* name, const QStringList& lines)
    {
        QByteArray text = QByteArray("[") + name + "]\r\nCount=" + QByteArray::number(lines.size()) + "\r\n";
        for (qsizetype i = 0; i < lines.size(); ++i)
            text += QByteArray::number(i + 1) + "=" + lines[i].toUtf8() + "\r\n";
        return text;
    }

    // Writes the skin into `folder` (made when missing); returns the path of its "skin.ini", empty
    // when a file could not be written.
    QString write(const QString& folder) const
    {
        QDir().mkpath(folder);
        const QString at = QDir(folder).absolutePath() + QLatin1Char('/');
        const bool written =
            writeBmp(at + "mask.bmp", size, Qt::black) && writeBmp(at + "up.bmp", size, Rest) &&
            writeBmp(at + "down.bmp", size, Pressed) && writeBmp(at + "on.bmp", size, Hover) &&
            writeBmp(at + "thumb.bmp", {10, 6}, Thumb) &&
            writeBmp(at + "thumbdown.bmp", {10, 6}, ThumbDown) &&
            writeBmp(at + "vthumb.bmp", {6, 10}, Thumb) &&
            writeBmp(at + "vthumbdown.bmp", {6, 10}, ThumbDown);
        const QByteArray ini = "[Version]\r\nVer=210\r\n[BITMAPINFO]\r\nMaskBitmap=mask.bmp\r\n"
                               "MouseUpBitmap=up.bmp\r\nMouseDownBitmap=down.bmp\r\nMouseOnBitmap=" +
                               hoverName.toUtf8() + "\r\n" + section("HOTAREAINFO", hotAreas) +
                               section("DISPLAYINFO", displays) + section("TRACKBARINFO", trackBars);
        if (!written || !writeFile(at + "skin.ini", ini))
            return QString();
        return at + "skin.ini";
    }
};

inline QColor colorAt(const TSkinForm& skin, int x, int y)
{
    return skin.surface().pixelColor(x, y);
}

} // namespace interaction
