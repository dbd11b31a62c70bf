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
