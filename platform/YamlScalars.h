#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

// The few settings Rovex reads from the game files of Lutris and Bottles: "key: value" lines, each
// placed in the tree by its indentation. Only plain scalars are read: list items, flow collections and
// block texts are passed over, and a value in single or double quotes loses them.
namespace platform {

// The path of keys joined by "/" ("game/exe") -> its value; the first line of a path wins.
QHash<QString, QString> readYamlScalars(const QByteArray& text);

} // namespace platform
