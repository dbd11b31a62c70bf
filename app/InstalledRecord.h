#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

// Which archive each slot has in the game while add-on tracks are installed. It is kept in a file of
// its own beside "options.dat" ("installed.dat"; the settings file keeps its three lines), written
// whole at once: the game folder, then one line per installed slot with the slot name, the archive
// name and the entries the install left in the slot folder (the add-on names and their backups "0" +
// name), separated by tabs (no archive name with a tab is ever installed); lines end with CR LF. Names
// are UTF-8, or their own bytes where they are not (see platform/FileName.h).
namespace installed {

struct Slot
{
    QString slot;
    QString archive;
    QStringList entries;
};

struct Record
{
    QString gameDir;
    QList<Slot> archives; // not "slots": Qt defines that word as an empty macro
};

QByteArray recordBytes(const Record& record);
// Nothing when the text is not a record.
std::optional<Record> parseRecord(const QByteArray& bytes);

// Whether the record could be written; a record is a convenience, so the caller need not tell.
bool write(const QString& path, const Record& record);
std::optional<Record> read(const QString& path);

// Slot name -> archive for the slots of `record` whose folders in `gameDir` still hold every entry it
// names; a record of another game folder matches nothing.
QMap<QString, QString> archivesInGame(const Record& record, const QString& gameDir);

} // namespace installed
