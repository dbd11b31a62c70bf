#pragma once

#include "skin/PaintedItems.h"
#include "skin/ShiftState.h"
#include "skin/SkinItems.h"

#include <QImage>
#include <QRect>
#include <QRegion>
#include <QStringList>
#include <QWidget>

#include <optional>
#include <vector>

class QHelpEvent;
class SkinMessages;
class SkinPictures;
class WindowMover;
struct SurfaceLayer;

namespace platform {
class IniFile;
}

// The picture a track bar's thumb shows now and where its top left lies; no picture when it shows none.
struct ThumbLook
{
    const QImage* picture = nullptr;
    qint64 left = 0;
    qint64 top = 0;
};

// The banner every skin load shows first, and the warning for skins older than MinSkinVersion; lines
// are separated by carriage returns as the skin builder writes them. skinMessageText() turns them
// into line breaks for display.
inline constexpr char SkinBannerText[] =
    "     Rovex 1.0  \r\r                          \r          build 25/05/2001   ";
inline constexpr char SkinOldVersionText[] =
    "Skin File is an old version.\rPlease use skin builder to update it.";
QString skinMessageText(const char* text);

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
    // Sets the hint (tool tip and status tip) and tells hintChanged() when it differs.
    void setHint(const QString& hint);

    // Redraws the whole drawing surface: the rest look, pressed and checked hot areas, track-bar
    // thumbs, then displays. Hover looks are not drawn here.
    void PaintSkin();

    // Hot-area operations: the first area with exactly this ID, -1 when none; the ID at an index,
    // empty outside the array; check or uncheck the first area with this ID and repaint.
    qint32 IndexOfHotArea(const QString& id) const;
    QString HotAreaID(qint32 index) const;
    void SetHotAreaChecked(const QString& id, bool checked);

    // The pointer handlers, in component coordinates; the widget's mouse events call them. A left
    // press on no item (or on a track beside its thumb) moves the window, and its mouseDownNotify
    // follows when the move has ended.
    void MouseDown(Qt::MouseButton button, TShiftState shift, int x, int y);
    void MouseMove(TShiftState shift, int x, int y);
    void MouseUp(Qt::MouseButton button, TShiftState shift, int x, int y);
    // The pointer has left the component, off the window or onto a control lying over the skin: no
    // move over the skin will come to take a hover look away, so it goes now.
    void MouseLeave();
    // Makes hot area `index` the current member of its radio group and unchecks the one before.
    void SelectInGroup(qint32 index);
    // Brings the bar's position into Min..Max and puts the thumb on that percentage of its travel.
    static void ApplyTrackBarPosition(TrackBarInfoRec& bar);

    // Hit tests: right and bottom edges lie outside. The first item containing `point`, -1 for none.
    int hotAreaAt(QPoint point) const;
    int displayAt(QPoint point) const;
    static QRect hotAreaRect(const HotAreaInfoRec& area);
    static QRect displayRect(const DisplayInfoRec& display);
    // A bar's track (also its hint rectangle) and its thumb at the current offset.
    static QRect trackRect(const TrackBarInfoRec& bar);
    static QRect thumbRect(const TrackBarInfoRec& bar);
    // How far the thumb can travel: the track length less the thumb's extent along the track.
    static qint32 trackTravel(const TrackBarInfoRec& bar);
    // The thumb image bar `index` shows now (the pressed one while it is dragged) and where.
    ThumbLook thumbLook(qsizetype index) const;

    // Copies `rect` of a full-size look (MouseDownBitmap, MouseOnBitmap, ...) onto the surface.
    void copyLookRect(const QImage& look, const QRect& rect);
    // Shows the hover look of `rect` over a surface that is otherwise as PaintSkin leaves it, redrawing
    // only what changed since.
    void showHoverLook(const QRect& rect);
    // Redraws the parts of the surface that differ from what PaintSkin would draw now (hover and
    // pressed looks copied since, areas whose state changed); clears RepaintPending.
    void repaintStale();

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
    // The surface as the screen shows it: transparent outside the outline.
    QImage shapedSurface() const;

signals:
    void mouseDownNotify(const QString& id, Qt::MouseButton button, TShiftState shift, int x, int y);
    void mouseUpNotify(const QString& id, Qt::MouseButton button, TShiftState shift, int x, int y);
    void mouseMoveNotify(const QString& id, TShiftState shift, int x, int y);
    void trackBarNotify(const QString& id, int position);
    void skinChanged(TSkinForm* sender);
    void hintChanged(const QString& hint);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    // Gives the window and the component the mask's size and the mask's outline.
    void ApplyMask();

private:
    void fillParent();
    void ensureSurface();
    void loadHotAreas(const platform::IniFile& ini);
    void loadDisplays(const platform::IniFile& ini);
    void loadTrackBars(const platform::IniFile& ini, const QString& folder, SkinPictures& pictures);
    bool SkinShowHint(QHelpEvent* event);
    void pressTrackBars(QPoint point);
    void dragTrackBar(QPoint point);
    QString trackBarHint(QPoint point) const;
    void moveWindow(Qt::MouseButton button, TShiftState shift, int x, int y);
    // Draws `part` of `target` as PaintSkin draws the whole surface.
    void paintPart(QImage& target, const QRect& part);
    // The cells of Text from the number strip and from the text sheet, laid out from (x, y) and cut
    // to `part`.
    SurfaceLayer DrawNumberText(qint32 x, qint32 y, const QString& text, const QRect& part) const;
    SurfaceLayer DrawGlyphText(qint32 x, qint32 y, const QString& text, const QRect& part) const;
    static void drawFontText(QImage& target, const DisplayInfoRec& display, const QFont& font,
                             const QRect& part);
    // Records that `rect` of the surface no longer shows what PaintSkin would draw.
    void markStale(const QRect& rect);
    // An item's look changed in `rects`: the base is painted there again and the surface put back.
    void itemsChanged(const std::vector<QRect>& rects);
    void hotAreaChanged(qsizetype index);
    void trackBarChanged(qsizetype index);
    // Paints the base again where items changed.
    void refreshBase();
    // Makes `region` of the surface, or all of it that is stale, show what PaintSkin draws.
    void putBack(const QRegion& region);
    void showPainted();
    // `rect` of the surface into `out`, transparent where the outline cuts the window away (its alpha
    // is 0 or 255, so a pixel is kept whole or cleared; past the outline's edge it is kept).
    void shapePart(const QRect& rect, QImage& out) const;
    // The first and last column of `rect` that the outline cuts away in row `y`; first > last for none.
    std::pair<int, int> outlineCuts(int y, const QRect& rect) const;

    qint32 m_keyColor = 0xFFFFFF;
    qint32 m_tolerance = 0;
    QString m_hint;
    QImage m_surface;
    // Where the surface differs from what PaintSkin would draw, and the hover look on it, if any.
    QRegion m_stale;
    QRect m_hoverShown;
    // What PaintSkin draws for the items as `m_painted` recorded them, except in `m_baseChanged`. Hover
    // and press looks go onto the surface alone, so the surface is put back from the base by copying,
    // however many items lie there; the base is painted again only where an item's look changed.
    QImage m_base;
    PaintedItems m_painted;
    QRegion m_baseChanged;
    // The outline last given to the window, as alpha (see BuildMaskAlpha); null without a mask.
    QImage m_outline;
    // Per row of the outline, the first and last column it cuts away (INT_MAX and -1 for none), so
    // that what it keeps whole is drawn without looking at it.
    std::vector<std::pair<int, int>> m_outlineCuts;
    SkinMessages* m_messages = nullptr;
    WindowMover* m_mover = nullptr;
    // The press whose notification waits for the window move it started.
    struct HeldPress
    {
        QString id;
        Qt::MouseButton button = Qt::NoButton;
        TShiftState shift;
        int x = 0;
        int y = 0;
    };
    HeldPress m_heldPress;
};
