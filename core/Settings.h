#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// "options.dat": three lines, each ended by CR LF: the track library folder, the game folder and the
// installation state ("0": add-on tracks are installed and the standard files lie under backup names).
struct Settings
{
    QString trackDir;
    QString gameDir;
    QString state;
};

// Reads the file; std::nullopt when it does not exist. Missing lines read as empty; lines are read
// whole. Throws IoError when the file exists but cannot be read.
std::optional<Settings> readSettings(const QString& path);

// The exact bytes of the file.
QByteArray settingsBytes(const Settings& settings);

// Replaces the file so that a failure at any moment leaves the old one whole. Throws IoError.
void writeSettings(const QString& path, const Settings& settings);
