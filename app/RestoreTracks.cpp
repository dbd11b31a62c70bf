#include "app/InstallTracks.h"
#include "app/main_window.h"
#include "core/SlotTable.h"

// Gives every slot its standard files back from their backups, ticked or not, in window order.
QList<install::SlotRestore> TForm1::StandartTracks()
{
    QList<install::SlotRestore> unfinished;
    for (const trackslots::SlotRow& row : trackslots::windowOrder()) {
        const QString slot = QString::fromUtf8(row.name);
        install::SlotRestore result = install::restoreSlotFolder(install::gameSlotFolder(gameDir(), slot));
        if (!result.complete()) {
            result.slot = slot;
            unfinished.append(result);
        }
    }
    return unfinished;
}
