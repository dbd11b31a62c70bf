#include "app/ScrollBox.h"

#include <QScrollBar>

ScrollBox::ScrollBox(int range, int arrowStep, QWidget* parent)
    : QScrollArea(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setWidgetResizable(false);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setFocusPolicy(Qt::NoFocus);
    horizontalScrollBar()->setSingleStep(arrowStep);

    auto* inner = new QWidget;
    inner->setObjectName(QStringLiteral("content"));
    inner->setAutoFillBackground(true);
    setWidget(inner);
    inner->resize(range, contentsRect().height());
}

void ScrollBox::resizeEvent(QResizeEvent* event)
{
    // The strips are laid out against the inner height, whether or not the sideways bar shows.
    widget()->resize(range(), contentsRect().height());
    QScrollArea::resizeEvent(event);
}

int ScrollBox::range() const
{
    return widget()->width();
}

void ScrollBox::setRange(int range)
{
    widget()->resize(range, widget()->height());
}

int ScrollBox::position() const
{
    return horizontalScrollBar()->value();
}

void ScrollBox::setPosition(int position)
{
    horizontalScrollBar()->setValue(position);
}

int ScrollBox::arrowStep() const
{
    return horizontalScrollBar()->singleStep();
}
