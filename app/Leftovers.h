#pragma once

#include <QString>

// A run cut short (killed, a power cut) leaves the temporary files of its moves and writes and the
// archiver's private extraction folders behind. The next copy that holds the home folder removes
// them from the places the program works in: the home folder, the work folders "Temp" and "Temp1"
// beside the library, the library's slot folders and the game's slot folders. Only names of the
// program's own temporary entries go, each kind only from the places where the program makes it;
// folders not chosen (or empty) are passed over, and so are the work folder and the game's slot
// folders while another copy's start holds them.
void removeLeftovers(const QString& homeDir, const QString& trackDir, const QString& gameDir);
