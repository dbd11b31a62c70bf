#pragma once

#include <QStringList>
#include <QWidget>

// The stand-in game's window: the state of every track slot of its game folder.
class StandinWindow : public QWidget
{
    Q_OBJECT

public:
    explicit StandinWindow(const QStringList& lines, QWidget* parent = nullptr);
};
