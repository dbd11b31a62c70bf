#include "app/InstallTracks.h"
#include "app/SlotTable.h"
#include "app/main_window.h"

// Gives every slot its standard files back from their backups, ticked or not, in window order.
void TForm1::StandartTracks()
{
    for (const trackslots::SlotRow& row : trackslots::windowOrder())
        install::restoreSlotFolder(install::gameSlotFolder(gameDir(), QString::fromUtf8(row.name)));
}
