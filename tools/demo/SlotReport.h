#pragma once

#include <QString>
#include <QStringList>

// What the stand-in game sees in its track folders: for every slot folder under "Data/Tracks", whether
// add-on files are in place (backups "0" + name present) and which files they replaced.
struct SlotState
{
    QString slot;
    QStringList replacedFiles; // names whose backup "0" + name lies beside them, sorted
};

QList<SlotState> readSlotStates(const QString& gameFolder);

// One line per slot, in Russian, as the stand-in's window shows them.
QStringList reportLines(const QList<SlotState>& states);
