#pragma once

#include <QByteArray>
#include <QString>

// The demo's stand-in game folder: "nfshs.exe" and the 21 standard files of all 19 slots.
namespace demo {

// What the standard file `file` of `slot` holds in the demo game: a short text naming both.
QByteArray standardContents(const QString& slot, const QString& file);

// Lays out `gameFolder` (which must not exist yet) with a copy of `standinExecutable` as "nfshs.exe".
// Returns an error text, empty on success.
QString createGame(const QString& gameFolder, const QString& standinExecutable);

} // namespace demo
