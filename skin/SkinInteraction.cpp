#include "skin/SkinForm.h"
#include "skin/WindowMover.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QToolTip>

namespace {

// The thumb's offset as a percentage of the travel. A bar whose thumb fills its track has no travel
// to measure against: it stays at 0 rather than dividing by zero.
qint64 percentOfTravel(qint64 offset, qint32 travel)
{
    return travel == 0 ? 0 : offset * 100 / travel;
}

qint64 alongAxis(const TrackBarInfoRec& bar, QPoint point)
{
    return bar.Horizontal ? qint64(point.x()) - bar.X : qint64(point.y()) - bar.Y;
}

qint32 thumbExtent(const TrackBarInfoRec& bar)
{
    return bar.Horizontal ? bar.ThumbWidth : bar.ThumbHeight;
}

} // namespace

void TSkinForm::MouseDown(Qt::MouseButton button, TShiftState shift, int x, int y)
{
    const qint32 wasActive = ActiveTrackBar;
    CurrentID.clear();
    ItemPressed = false;
    Dragging = false;
    ActiveTrackBar = -1;
    trackBarChanged(wasActive);
    if (button != Qt::LeftButton) {
        emit mouseDownNotify(CurrentID, button, shift, x, y);
        return;
    }

    const QPoint point(x, y);
    const int area = hotAreaAt(point);
    if (area >= 0) {
        copyLookRect(MouseDownBitmap, hotAreaRect(HotAreas[area]));
        ItemPressed = true;
        HotAreas[area].Pressed = true;
        CurrentID = HotAreas[area].ID;
        if (!HotAreas[area].Group.isEmpty())
            SelectInGroup(area);
        HotAreaInfoRec& pressed = HotAreas[area];
        if (pressed.Toggle) {
            pressed.Checked = !pressed.Checked;
            copyLookRect(pressed.Checked ? MouseDownBitmap : MouseUpBitmap, hotAreaRect(pressed));
        }
        hotAreaChanged(area);
    }
    const int display = displayAt(point);
    if (display >= 0) {
        ItemPressed = true;
        CurrentID = Displays[display].ID;
    }
    pressTrackBars(point);

    if (!ItemPressed && !Dragging) {
        moveWindow(button, shift, x, y);
        return;
    }
    emit mouseDownNotify(CurrentID, button, shift, x, y);
}

// The press notification waits until the move is over, as the press that started it.
void TSkinForm::moveWindow(Qt::MouseButton button, TShiftState shift, int x, int y)
{
    if (!m_mover) {
        m_mover = new WindowMover(this);
        connect(m_mover, &WindowMover::moveEnded, this, [this] {
            const HeldPress press = m_heldPress;
            emit mouseDownNotify(press.id, press.button, press.shift, press.x, press.y);
        });
    }
    // Starting ends a move still followed, which reports its own press first.
    if (m_mover->start(mapToGlobal(QPoint(x, y))))
        m_heldPress = {CurrentID, button, shift, x, y};
    else
        emit mouseDownNotify(CurrentID, button, shift, x, y);
}

void TSkinForm::SelectInGroup(qint32 index)
{
    if (index < 0 || index >= HotAreas.size())
        return;
    qsizetype group = 0;
    while (group < GroupNames.size() &&
           GroupNames[group].compare(HotAreas[index].Group, Qt::CaseInsensitive) != 0)
        ++group;
    if (group == GroupNames.size() || group >= GroupCurrent.size())
        return;
    bool isNumber = false;
    const qint32 previous = GroupCurrent[group].toInt(&isNumber);
    GroupCurrent[group] = QString::number(index);
    if (!isNumber || previous == -1)
        return;
    SetHotAreaChecked(HotAreaID(previous), false);
}

void TSkinForm::MouseMove(TShiftState shift, int x, int y)
{
    if (RepaintPending)
        repaintStale();
    const QPoint point(x, y);
    QString hint;
    WasOverHotArea = OverHotArea;
    CurrentID.clear();

    if (Dragging)
        dragTrackBar(point);
    else
        hint = trackBarHint(point);

    for (qsizetype i = 0; i < HotAreas.size(); ++i) {
        HotAreaInfoRec& area = HotAreas[i];
        if (hotAreaRect(area).contains(point)) {
            OverHotArea = true;
            CurrentID = area.ID;
            if (HoverEnabled)
                showHoverLook(hotAreaRect(area));
            hint = area.Hint;
            break;
        }
        if (area.Pressed) {
            area.Pressed = false;
            hotAreaChanged(i);
        }
        OverHotArea = false;
    }

    const int display = displayAt(point);
    if (display >= 0) {
        CurrentID = Displays[display].ID;
        hint = Displays[display].Hint;
    }
    // The hover look of an area the pointer has left goes with the repaint of the next move.
    if (WasOverHotArea != OverHotArea)
        RepaintPending = true;
    setHint(hint);
    emit mouseMoveNotify(CurrentID, shift, x, y);
}

void TSkinForm::MouseUp(Qt::MouseButton button, TShiftState shift, int x, int y)
{
    CurrentID.clear();
    ItemPressed = false;
    Dragging = false;
    ActiveTrackBar = -1;
    const QPoint point(x, y);
    const int area = hotAreaAt(point);
    if (area >= 0) {
        CurrentID = HotAreas[area].ID;
        HotAreas[area].Pressed = false;
    }
    const int display = displayAt(point);
    if (display >= 0)
        CurrentID = Displays[display].ID;
    PaintSkin();
    emit mouseUpNotify(CurrentID, button, shift, x, y);
}

void TSkinForm::MouseLeave()
{
    if (!OverHotArea)
        return;
    OverHotArea = false;
    repaintStale();
}

void TSkinForm::pressTrackBars(QPoint point)
{
    for (qsizetype i = 0; i < TrackBars.size(); ++i) {
        TrackBarInfoRec& bar = TrackBars[i];
        if (thumbRect(bar).contains(point)) {
            CurrentID = bar.ID;
            Dragging = true;
            ActiveTrackBar = static_cast<qint32>(i);
            trackBarChanged(i);
            GrabOffset = static_cast<qint32>(alongAxis(bar, point) - bar.ThumbOffset);
            return;
        }
        if (trackRect(bar).contains(point)) {
            CurrentID = bar.ID;
            const qint32 travel = trackTravel(bar);
            // The thumb's centre jumps to the pointer.
            qint64 offset = alongAxis(bar, point) - thumbExtent(bar) / 2;
            if (offset < 0)
                offset = 0;
            if (offset > travel)
                offset = travel;
            bar.ThumbOffset = static_cast<qint32>(offset);
            bar.Position = static_cast<quint8>(percentOfTravel(offset, travel));
            ApplyTrackBarPosition(bar);
            emit trackBarNotify(CurrentID, bar.Position);
            PaintSkin();
            return;
        }
    }
}

void TSkinForm::dragTrackBar(QPoint point)
{
    if (ActiveTrackBar < 0 || ActiveTrackBar >= TrackBars.size())
        return;
    TrackBarInfoRec& bar = TrackBars[ActiveTrackBar];
    const qint64 along = alongAxis(bar, point);
    // Beyond either end of the track the thumb stays where it was last put.
    if (along < 0 || along > bar.Length)
        return;
    CurrentID = bar.ID;
    const qint32 travel = trackTravel(bar);
    qint64 offset = along - GrabOffset;
    if (offset > travel)
        offset = travel;
    if (offset < 0)
        offset = 0;
    bar.ThumbOffset = static_cast<qint32>(offset);
    bar.Position = static_cast<quint8>(percentOfTravel(offset, travel));
    ApplyTrackBarPosition(bar);
    emit trackBarNotify(CurrentID, bar.Position);
    PaintSkin();
}

QString TSkinForm::trackBarHint(QPoint point) const
{
    QString hint;
    for (const TrackBarInfoRec& bar : TrackBars) {
        if (trackRect(bar).contains(point))
            hint = bar.Hint;
    }
    return hint;
}

void TSkinForm::ApplyTrackBarPosition(TrackBarInfoRec& bar)
{
    if (bar.Position < bar.Min)
        bar.Position = bar.Min;
    if (bar.Position > bar.Max)
        bar.Position = bar.Max;
    bar.Position %= 101;
    bar.ThumbOffset = static_cast<qint32>(qint64(trackTravel(bar)) * bar.Position / 100);
}

// The tool tip is always the hint of the item now under the pointer; its empty cursor rectangle
// lets every move ask again.
bool TSkinForm::SkinShowHint(QHelpEvent* event)
{
    if (m_hint.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(event->globalPos(), m_hint, this, QRect());
    return true;
}

bool TSkinForm::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip)
        return SkinShowHint(static_cast<QHelpEvent*>(event));
    return QWidget::event(event);
}

// The buttons held: on a press they include the pressed one, on a release no longer the released one.
void TSkinForm::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    MouseDown(event->button(), shiftStateOf(event->modifiers(), event->buttons()), at.x(), at.y());
}

void TSkinForm::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    MouseDown(event->button(), shiftStateOf(event->modifiers(), event->buttons(), true), at.x(), at.y());
}

void TSkinForm::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    MouseMove(shiftStateOf(event->modifiers(), event->buttons()), at.x(), at.y());
    // A tool tip already up follows the item under the pointer at once.
    if (QToolTip::isVisible() && QToolTip::text() != m_hint) {
        if (m_hint.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(event->globalPosition().toPoint(), m_hint, this, QRect());
    }
}

void TSkinForm::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && m_mover && m_mover->takeStrayRelease())
        return;
    const QPoint at = event->position().toPoint();
    MouseUp(event->button(), shiftStateOf(event->modifiers(), event->buttons()), at.x(), at.y());
}

void TSkinForm::leaveEvent(QEvent*)
{
    MouseLeave();
}
