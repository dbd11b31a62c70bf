#include "app/CaptionBox.h"

#include <QPainter>
#include <QPainterPath>

namespace {

// The tab hangs from the box's top edge a little in from its left edge, so that the caption's text
// lines up with the labels below it; it ends above the first control, 12 pixels down.
constexpr int TabLeft = 4;
constexpr int TabHeight = 12;
constexpr int TabPadding = 4;
constexpr qreal TabRadius = 3;

QFont captionFont(QFont font)
{
    font.setBold(true);
    return font;
}

} // namespace

CaptionBox::CaptionBox(const QString& caption, QWidget* parent)
    : QGroupBox(caption, parent)
{
}

QRect CaptionBox::captionRect() const
{
    if (title().isEmpty())
        return {};
    const QFontMetrics metrics(captionFont(font()));
    return {TabLeft, 0, metrics.horizontalAdvance(title()) + 2 * TabPadding, TabHeight};
}

void CaptionBox::paintEvent(QPaintEvent*)
{
    const QRect tab = captionRect();
    if (tab.isEmpty())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette::ColorGroup group = isEnabled() ? QPalette::Normal : QPalette::Disabled;
    const QColor face = palette().color(group, QPalette::Window);

    // Open at the top: sides and a rounded bottom.
    const QRectF edge = QRectF(tab).adjusted(0.5, -TabRadius, -0.5, -0.5);
    QPainterPath outline;
    outline.addRoundedRect(edge, TabRadius, TabRadius);
    painter.setClipRect(tab);
    painter.setPen(QPen(face.darker(160), 1));
    painter.setBrush(face);
    painter.drawPath(outline);

    // Capitals centred in the tab; a descender may reach its bottom edge.
    const QFont font = captionFont(this->font());
    const QFontMetrics metrics(font);
    const int baseline = (tab.height() + metrics.capHeight()) / 2;
    painter.setFont(font);
    painter.setPen(palette().color(group, QPalette::WindowText));
    painter.drawText(QPoint(tab.left() + TabPadding, baseline), title());
}
