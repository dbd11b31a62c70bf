#pragma once

#include "platform/WineLaunchers.h"

#include <QList>
#include <QString>

// Finds the game in the Wine prefixes a user has: $WINEPREFIX, ~/.wine, the games of Lutris, the
// bottles of Bottles (native and Flatpak), the prefixes of PlayOnLinux and of Steam's Proton. A game
// folder holds "nfshs.exe" beside a "Data/Tracks" folder, in any letter case; it is looked for one and
// two levels below "Program Files", "Program Files (x86)" and "Games" of a prefix's drive C and below
// the drive's root.
namespace platform {

struct FoundGame
{
    QString folder; // ends with "/"
    QString source; // where it was found, for the user: "~/.wine", "Lutris: <game>", "Bottles: <bottle>"…
};

struct GameSearch
{
    QList<FoundGame> games; // in the order of the places above; each folder once
    bool complete = true;   // false when the time limit ended the search early
};

GameSearch findGames(const UserFolders& user, int timeLimitMs);

} // namespace platform
