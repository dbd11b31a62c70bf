#pragma once

#include "app/StandardFiles.h"

#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

// The start command's look at the standard files it moves: those about to be given their backup
// names, and those a restore has just put back, compared with the manifest of the game folder (see
// StandardFiles.h). Only the files a run moves are looked at, and only a file whose size agrees and
// whose time has changed is hashed. What differs is told after the run; nothing is refused for it.
class StandardCheck
{
public:
    // Reads the game folder's manifest, taking it first when this is the game folder's first sight.
    StandardCheck(const QString& homeDir, const QString& gameDir);

    // Before the restore: which standard files lie under backup names now.
    void noteBackups();
    // After the restore: the noted files that are back under their own names. A game folder seen
    // before with backups in it is known from now on, if the restore left none.
    void compareRestored();
    // Before an install into `slotFolder`: the standard files the track files in `work` will replace.
    void compareBeforeBackup(const QString& slot, const QString& slotFolder, const QString& work);

    // Slot -> its files that differ, each with what is wrong ("Tr.frd (изменён)").
    const QMap<QString, QStringList>& differences() const { return m_differences; }

private:
    void compare(const QString& slot, const QString& name, const QString& path);

    QString m_homeDir;
    QString m_gameDir;
    std::optional<standard::Manifest> m_manifest;
    QMap<QString, QStringList> m_backups; // slot -> standard names under backup names
    QMap<QString, QStringList> m_differences;
};
