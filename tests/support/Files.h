#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Small file helpers for checking folders byte by byte.

// Writes `bytes` to `path`, making its folder first; false when that fails.
bool writeBytes(const QString& path, const QByteArray& bytes);
// The file's bytes, or "<missing>" when it cannot be read, so comparisons name the problem.
QByteArray readAll(const QString& path);
// The names in `folder` (hidden ones too), sorted.
QStringList sortedEntries(const QString& folder);
