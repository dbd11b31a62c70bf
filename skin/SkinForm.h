#pragma once

#include "skin/SkinItems.h"

#include <QImage>
#include <QRegion>
#include <QStringList>
#include <QWidget>

#include <optional>

class SkinMessages;

// Turns the top-level window it is placed on into a skinned window: frameless, shaped by a mask image,
// painted from full-size skin images, with hot areas, displays and track bars described by a skin file.
// It fills its window; its coordinates are the window's client coordinates and the skin's pixels.
//
// Its hint (the text of the skin item under the pointer) is kept as the widget's statusTip and its
// tool tip; hintChanged() tells when it changes.
class TSkinForm : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(qint32 KeyColor READ keyColor WRITE setKeyColor)
    Q_PROPERTY(qint32 Tolerance READ tolerance WRITE setTolerance)

public:
    static constexpr int MinSkinVersion = 210;

    // Throws SkinError("Please Drop me on a Form") when `parent` is not a top-level window.
    explicit TSkinForm(QWidget* parent);
    ~TSkinForm() override;

    // Loads the skin file `fileName`; throws SkinError with the exact message of a failure, leaving
    // what was loaded before the failing step in place.
    void LoadSkin(const QString& fileName);

    // Where message boxes go; the modal boxes by default. Not owned.
    void setMessages(SkinMessages* messages);
    SkinMessages& messages() const;

    qint32 keyColor() const { return m_keyColor; }
    void setKeyColor(qint32 color);
    qint32 tolerance() const { return m_tolerance; }
    void setTolerance(qint32 color);

    QString hint() const { return m_hint; }

    // The skin's state, by the names skin authors and hosts know.
    QImage MaskBitmap;
    QImage MouseUpBitmap;
    QImage MouseOnBitmap;
    QImage MouseDownBitmap;
    QImage NumbersBitmap;
    QImage TextBitmap;
    bool HoverEnabled = true;
    std::optional<QRegion> WindowRegion;
    THotAreaInfoArray HotAreas;
    TDisplayInfoArray Displays;
    TTrackBarInfoArray TrackBars;
    QString CurrentID;
    quint8 Charset = 1;
    bool RepaintPending = true;
    bool WasOverHotArea = false;
    bool OverHotArea = false;
    QStringList GroupNames;
    QStringList GroupCurrent;
    bool ItemPressed = false;
    bool Dragging = false;
    qint32 ActiveTrackBar = 0;
    qint32 GrabOffset = 0;
    QString SkinFileName;
    qint32 SkinVersion = MinSkinVersion;

    // The drawing surface (back image) that the widget shows.
    const QImage& surface() const { return m_surface; }

signals:
    void mouseDownNotify(const QString& id, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void mouseUpNotify(const QString& id, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void mouseMoveNotify(const QString& id, Qt::KeyboardModifiers shift, int x, int y);
    void trackBarNotify(const QString& id, int position);
    void skinChanged(TSkinForm* sender);
    void hintChanged(const QString& hint);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    qint32 m_keyColor = 0xFFFFFF;
    qint32 m_tolerance = 0;
    QString m_hint;
    QImage m_surface;
    SkinMessages* m_messages = nullptr;
};
