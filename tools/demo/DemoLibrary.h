#pragma once

#include <QByteArray>
#include <QString>

// The demo's track library (a folder per slot, add-on archives in some) and its downloads folder
// (archives with a description naming a slot, for the add command).
namespace demo {

// What the add-on file `file` of archive `archive` holds: a short text naming both.
QByteArray addOnContents(const QString& archive, const QString& file);

// Creates `libraryFolder` with all 19 slot folders and the add-on archives. Returns an error text,
// empty on success.
QString createLibrary(const QString& libraryFolder);

// Creates `downloadsFolder` with archives waiting to be added. Returns an error text, empty on success.
QString createDownloads(const QString& downloadsFolder);

} // namespace demo
