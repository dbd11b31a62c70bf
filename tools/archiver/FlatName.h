#pragma once

#include <QByteArray>
#include <QString>

// The name an archive entry gets in the output folder: the last component of its path, with both
// "/" and "\" taken as separators (archives made on Windows use either). Empty when the entry has
// no usable name ("", "." or ".."), which means it is skipped.
QByteArray flatName(const QByteArray& entryPath);

// The form in which names are compared: without regard to letter case, as on Windows.
QString comparableName(const QByteArray& name);
