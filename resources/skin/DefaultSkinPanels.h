#pragma once

#include <QList>
#include <QPainterPath>
#include <QString>

// The default skin's panels and the lines it draws, as shapes in window pixels: the pictures are
// painted from them and the layout test holds the window's controls against them.
namespace defaultskin {

struct Panel
{
    QString name;
    QPainterPath area; // the whole panel, its edge included
};

// Name and shape of every panel a control group sits in: "deck", "slots", "exit".
QList<Panel> panels();

// The panel's outline as the skin strokes it.
QPainterPath panelOutline(const QString& name);

// Every pixel a drawn edge or line may touch, anti-aliasing included.
QPainterPath drawnLines();

} // namespace defaultskin
