#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

// The game's standard track files as the program first saw them, so that a slot folder changed by
// hand or by another tool before that, or a backup damaged since, is told instead of being passed off
// as standard. They are kept in "standard.dat" in the home folder, one block per game folder: a line
// "game", the time the files were read (milliseconds since 1970) and the game folder; then one line
// per file: slot, file name, size, modification time (milliseconds since 1970) and BLAKE2b-256 hash
// in hex. Fields are separated by tabs, lines end with CR LF, names are UTF-8 or their own bytes (see
// platform/FileName.h). The file is written whole or not at all.
namespace standard {

struct File
{
    QString slot;
    QString name;
    qint64 size = 0;
    qint64 modified = 0;
    QByteArray hash; // hex
};

struct Manifest
{
    QString gameDir;
    qint64 taken = 0;
    QList<File> files;

    // The file `name` (in any letter case) of `slot`; nullptr when there is none.
    const File* find(const QString& slot, const QString& name) const;
};

QByteArray manifestBytes(const QList<Manifest>& manifests);
// Lines that are not of the form are passed over.
QList<Manifest> parseManifests(const QByteArray& bytes);

// The manifest of `gameDir` in the home folder's "standard.dat"; nothing when it has none.
std::optional<Manifest> read(const QString& homeDir, const QString& gameDir);
// Puts `manifest` in place of the one of its game folder, keeping the other games'. False (errno set)
// when the file could not be written; the old one is then whole.
bool write(const QString& homeDir, const Manifest& manifest);

struct StandardFile
{
    QString name; // the standard name
    QString path; // where the file lies now
};

// The standard track files of a slot folder: a track file name with "0" in front is the backup of the
// standard file of that name, which stands there while an add-on has its name; any other track file
// is standard unless it is in `addOnOnly` (files an add-on brought without replacing one). Names are
// told apart without regard to letter case.
QList<StandardFile> standardFilesIn(const QString& slotFolder, const QStringList& addOnOnly = {});

// Reads and hashes the standard files of every slot folder of `gameDir`. `addOnOnly`: slot -> names.
Manifest take(const QString& gameDir, const QMap<QString, QStringList>& addOnOnly = {});

// Whether a slot folder of `gameDir` holds a backup made by an install.
bool anySlotHoldsBackups(const QString& gameDir);

// When the first sight of a game folder is: it has a slot folder, none holds a backup, and the home
// folder keeps no manifest of it yet. Takes and writes the manifest then; true when it did.
bool takeAtFirstSight(const QString& homeDir, const QString& gameDir);

enum class Verdict
{
    Same,
    Changed,
    Missing, // the manifest has the file, the folder does not
    Added,   // the folder has it, the manifest does not
};

// Compares the file at `path` (empty: there is none) with `recorded` (nullptr: the manifest has none).
// Sizes are compared first, hashes only when they agree. With `trustTimes` a file whose modification
// time is still the recorded one is taken as unchanged without hashing, when it had settled before the
// manifest of `taken` was made: any change made since would have given it a later time.
Verdict compare(const File* recorded, const QString& path, qint64 taken, bool trustTimes);

} // namespace standard
