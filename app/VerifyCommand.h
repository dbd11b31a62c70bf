#pragma once

#include <QString>

#include <optional>

// "rovex --verify": without a window, tells for every slot of the game folder that the home folder's
// "options.dat" names whether it is standard, wholly one add-on over intact backups, or which of its
// files differ from the standard files the program first saw (see StandardFiles.h). Every file is
// hashed. "--verify --accept" first takes the present standard files as the standard ones.
struct VerifyResult
{
    int exitCode = 0; // 0: every slot standard or one add-on; 1: some slot differs; 2: no check made
    QString output;   // one line per slot: its name, a tab, then "standard", "add-on <archive>",
                      // "unknown add-on" (backups without a record of their archive) or the files that differ
    QString errors;   // for the user, in Russian
};

VerifyResult verifyGame(const QString& homeDir, bool accept);

// The program's entry hands its arguments here first: the exit code once the command line asked for
// the check and it ran, nothing when the window is wanted.
std::optional<int> runVerifyCommand(int argc, char* argv[]);
