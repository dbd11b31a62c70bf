#pragma once

#include "skin/SkinForm.h"
#include "skin/SkinMessages.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QStringList>
#include <QWidget>

#include <memory>

// Records the component's message boxes instead of showing them.
class CollectedMessages final : public SkinMessages
{
public:
    QStringList texts;
    void show(const QString& text) override { texts.append(text); }
};

inline bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline bool writeBmp(const QString& path, QSize size, QColor color)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    return image.save(path, "BMP");
}

inline HotAreaInfoRec hotArea(const QString& id, qint32 x = 0, qint32 y = 0, qint32 width = 0,
                              qint32 height = 0)
{
    HotAreaInfoRec area;
    area.ID = id;
    area.X = x;
    area.Y = y;
    area.Width = width;
    area.Height = height;
    return area;
}

inline TrackBarInfoRec trackBar(const QString& id, qint32 x, qint32 y, qint32 length, bool horizontal,
                                qint32 thumbOffset, QSize thumb)
{
    TrackBarInfoRec bar;
    bar.ID = id;
    bar.X = x;
    bar.Y = y;
    bar.Length = length;
    bar.Horizontal = horizontal;
    bar.ThumbOffset = thumbOffset;
    bar.ThumbWidth = thumb.width();
    bar.ThumbHeight = thumb.height();
    return bar;
}

// A window holding a skin component whose message boxes are collected.
struct SkinHost
{
    QWidget window;
    TSkinForm* skin = nullptr;
    CollectedMessages messages;

    SkinHost()
        : skin(new TSkinForm(&window))
    {
        skin->setMessages(&messages);
    }
};

// The banner and the old-version warning as shown.
inline QString bannerShown()
{
    return skinMessageText(SkinBannerText);
}

inline QString oldVersionShown()
{
    return skinMessageText(SkinOldVersionText);
}
