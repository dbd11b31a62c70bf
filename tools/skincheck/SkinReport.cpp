#include "tools/skincheck/SkinReport.h"

#include "skin/SkinForm.h"

#include <QJsonArray>

namespace {

QJsonValue imageSize(const QImage& image)
{
    return QJsonArray{image.width(), image.height()};
}

QJsonValue regionReport(const std::optional<QRegion>& region)
{
    if (!region)
        return QJsonValue::Null;
    qint64 area = 0;
    for (const QRect& rect : *region)
        area += qint64(rect.width()) * rect.height();
    const QRect bounds = region->boundingRect();
    return QJsonObject{
        {"area", area},
        {"bounds", QJsonArray{bounds.left(), bounds.top(), bounds.left() + bounds.width(),
                              bounds.top() + bounds.height()}},
        {"rects", region->rectCount()},
    };
}

QJsonArray hotAreasReport(const THotAreaInfoArray& areas)
{
    QJsonArray list;
    for (const HotAreaInfoRec& area : areas) {
        list.append(QJsonObject{{"id", area.ID},
                                {"x", area.X},
                                {"y", area.Y},
                                {"width", area.Width},
                                {"height", area.Height},
                                {"toggle", area.Toggle},
                                {"checked", area.Checked},
                                {"group", area.Group},
                                {"hint", area.Hint}});
    }
    return list;
}

QJsonArray displaysReport(const TDisplayInfoArray& displays)
{
    QJsonArray list;
    for (const DisplayInfoRec& display : displays) {
        QJsonObject font;
        if (display.Font) {
            font = QJsonObject{{"face", display.Font->face},     {"size", display.Font->size},
                               {"color", display.Font->color},   {"bold", display.Font->bold},
                               {"italic", display.Font->italic}, {"charset", display.Font->charset}};
        }
        list.append(QJsonObject{{"id", display.ID},
                                {"x", display.X},
                                {"y", display.Y},
                                {"font", font},
                                {"kind", display.Kind},
                                {"value", display.Value},
                                {"hint", display.Hint},
                                {"width", display.Width},
                                {"height", display.Height}});
    }
    return list;
}

QJsonArray trackBarsReport(const TTrackBarInfoArray& bars)
{
    QJsonArray list;
    for (const TrackBarInfoRec& bar : bars) {
        list.append(QJsonObject{{"id", bar.ID},
                                {"x", bar.X},
                                {"y", bar.Y},
                                {"length", bar.Length},
                                {"horizontal", bar.Horizontal},
                                {"position", bar.Position},
                                {"thumbOffset", bar.ThumbOffset},
                                {"thumbWidth", bar.ThumbWidth},
                                {"thumbHeight", bar.ThumbHeight},
                                {"hint", bar.Hint},
                                {"min", bar.Min},
                                {"max", bar.Max}});
    }
    return list;
}

QJsonArray groupsReport(const QStringList& names, const QStringList& current)
{
    QJsonArray list;
    for (qsizetype i = 0; i < names.size(); ++i)
        list.append(QJsonObject{{"name", names[i]}, {"current", current.value(i).toInt()}});
    return list;
}

} // namespace

QJsonObject skinReport(const TSkinForm& skin, const QStringList& messages)
{
    return QJsonObject{
        {"version", skin.SkinVersion},
        {"hover", skin.HoverEnabled},
        {"images", QJsonObject{{"mask", imageSize(skin.MaskBitmap)},
                               {"up", imageSize(skin.MouseUpBitmap)},
                               {"on", imageSize(skin.MouseOnBitmap)},
                               {"down", imageSize(skin.MouseDownBitmap)},
                               {"numbers", imageSize(skin.NumbersBitmap)},
                               {"text", imageSize(skin.TextBitmap)}}},
        {"region", regionReport(skin.WindowRegion)},
        {"hotAreas", hotAreasReport(skin.HotAreas)},
        {"displays", displaysReport(skin.Displays)},
        {"trackBars", trackBarsReport(skin.TrackBars)},
        {"groups", groupsReport(skin.GroupNames, skin.GroupCurrent)},
        {"messages", QJsonArray::fromStringList(messages)},
    };
}
