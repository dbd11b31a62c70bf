#pragma once

#include <QFont>
#include <QImage>
#include <QList>
#include <QString>
#include <QtGlobal>

#include <memory>

// The skin items, one record per line of the skin file, in file order.

struct HotAreaInfoRec
{
    QString ID;
    qint32 X = 0;
    qint32 Y = 0;
    qint32 Width = 0;
    qint32 Height = 0;
    bool Toggle = false;
    bool Checked = false;
    QString Group;
    QString Hint;
    bool Pressed = false;
};

// Face, size, colour and style of a display drawn with a system font.
struct DisplayFont
{
    QString face;
    int size = 0;     // points
    qint32 color = 0; // colour value, $00BBGGRR
    bool bold = false;
    bool italic = false;
    quint8 charset = 1;

    // `size` in pixels at the 96 dots per inch skins are drawn for; 0 when the size is not positive.
    // Capped at 32767, the largest side of a skin picture: no text needs more, and the sum must not
    // overflow.
    int pixelSize() const;

    bool operator==(const DisplayFont&) const = default;
};

struct DisplayInfoRec
{
    QString ID;
    qint32 X = 0;
    qint32 Y = 0;
    std::shared_ptr<DisplayFont> Font;
    QString Kind;
    QString Value;
    QString Hint;
    qint32 Width = 0;
    qint32 Height = 0;
};

struct TrackBarInfoRec
{
    QString ID;
    std::shared_ptr<QImage> ThumbBitmap;
    std::shared_ptr<QImage> ThumbDownBitmap;
    qint32 X = 0;
    qint32 Y = 0;
    qint32 Length = 0;
    bool Horizontal = false;
    quint8 Position = 0;
    qint32 ThumbOffset = 0;
    qint32 ThumbWidth = 0;
    qint32 ThumbHeight = 0;
    QString Hint;
    quint8 Min = 0;
    quint8 Max = 100;
};

using THotAreaInfoArray = QList<HotAreaInfoRec>;
using TDisplayInfoArray = QList<DisplayInfoRec>;
using TTrackBarInfoArray = QList<TrackBarInfoRec>;
