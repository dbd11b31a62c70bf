#include "tools/demo/SlotReport.h"

#include <QDir>

QList<SlotState> readSlotStates(const QString& gameFolder)
{
    QList<SlotState> states;
    const QDir tracks(gameFolder + QStringLiteral("/Data/Tracks"));
    const QStringList slotNames =
        tracks.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString& slot : slotNames) {
        SlotState state{slot, {}};
        const QDir folder(tracks.filePath(slot));
        const QStringList backups =
            folder.entryList({QStringLiteral("0*")}, QDir::Files | QDir::Hidden, QDir::Name);
        for (const QString& backup : backups)
            state.replacedFiles.append(backup.mid(1));
        states.append(state);
    }
    return states;
}

QStringList reportLines(const QList<SlotState>& states)
{
    QStringList lines;
    for (const SlotState& state : states) {
        if (state.replacedFiles.isEmpty())
            lines.append(QStringLiteral("%1: стандартная трасса").arg(state.slot));
        else
            lines.append(QStringLiteral("%1: дополнительная трасса, заменены файлы: %2")
                             .arg(state.slot, state.replacedFiles.join(QStringLiteral(", "))));
    }
    return lines;
}
