#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// Small file helpers for checking folders byte by byte.

// Writes `bytes` to `path`, making its folder first; false when that fails.
bool writeBytes(const QString& path, const QByteArray& bytes);
// The file's bytes, or "<missing>" when it cannot be read, so comparisons name the problem.
QByteArray readAll(const QString& path);
// The names in `folder` (hidden ones too), sorted.
QStringList sortedEntries(const QString& folder);

// Lays out `entries` under `root`: "a/b/" a folder, "a/b" an empty file, "a/b = text" a file holding
// the text (with "$HOME" standing for `root`), "game a/b" a game folder: "nfshs.exe" beside
// "Data/Tracks/". False when something could not be made.
bool layOut(const QString& root, const QStringList& entries);

// A new folder on another file system than `than` (in memory or on the disk, whichever `than` is not
// on); null when the machine has no such place.
std::unique_ptr<QTemporaryDir> folderOnAnotherFileSystem(const QString& than);
