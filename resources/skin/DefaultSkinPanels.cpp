#include "DefaultSkinPanels.h"

#include "DefaultSkinLayout.h"

#include <QPainterPathStroker>

namespace defaultskin {

namespace {

// Edges are stroked this wide; anti-aliasing may touch one pixel more on either side.
constexpr qreal EdgeWidth = 2;
constexpr qreal AntiAliasing = 1;

QPainterPath roundedRect(const QRect& rect, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(QRectF(rect), radius, radius);
    return path;
}

// The buttons' bay joined to the recess around both status bars.
QPainterPath console()
{
    const int m = ConsoleMargin;
    QPainterPath path = roundedRect(ButtonBay, ConsoleRadius);
    // One pixel less above the hint bar: the settings' lowest controls end six pixels above it.
    path = path.united(roundedRect(HintBar.adjusted(-m, -m + 1, m, m), ConsoleRadius));
    path = path.united(roundedRect(ProgressBar.adjusted(-m, -m, m, m), ConsoleRadius));
    return path.simplified();
}

} // namespace

QList<Panel> panels()
{
    return {
        {QStringLiteral("deck"), roundedRect(Deck, DeckRadius)},
        {QStringLiteral("slots"), roundedRect(SlotInset, SlotInsetRadius)},
        {QStringLiteral("console"), console()},
        {QStringLiteral("exit"), roundedRect(ExitRing, ExitRadius)},
    };
}

QPainterPath panelOutline(const QString& name)
{
    for (const Panel& panel : panels()) {
        if (panel.name == name)
            return panel.area;
    }
    return {};
}

QPainterPath drawnLines()
{
    QPainterPathStroker stroker;
    stroker.setWidth(EdgeWidth + 2 * AntiAliasing);
    QPainterPath lines;
    for (const Panel& panel : panels())
        lines.addPath(stroker.createStroke(panel.area));
    return lines;
}

} // namespace defaultskin
