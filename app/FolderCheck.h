#pragma once

#include <QString>

// A look at a folder the user has just chosen, so that a wrong choice is told at once rather than at
// the start command. Names are matched without regard to letter case, as the game's own files are (a
// game copied from a CD may spell "DATA/TRACKS"). Each gives the warning to show, empty when the folder
// looks right.
namespace foldercheck {

// A track library holds at least one of the 19 slot folders, and every one it holds can be read.
QString libraryProblem(const QString& folder);

// A game folder holds "nfshs.exe" and the folder "Data/Tracks".
QString gameProblem(const QString& folder);

// That `folder` cannot be listed, with the system's reason; empty when it can or is not there.
QString readProblem(const QString& folder);

} // namespace foldercheck
