#pragma once

#include <QString>
#include <QStringList>

// Starting programs the way the program's Windows design does (WinExec): start and do not wait,
// never through a shell.
namespace platform {

struct StartResult
{
    bool started = false;
    QString reason; // why it did not start, for the user; empty when started
};

// Splits a command line as the Windows command line does: blanks separate, double quotes group
// (also in the middle of an argument: -o"a b" is the one argument -oa b), "" inside quotes is a quote.
QStringList splitCommandLine(const QString& commandLine);

// Starts the program of `commandLine` (first argument) with the rest as arguments and returns at once.
// A ".bat" program runs in the command interpreter with the settings of the ".pif" file of the same
// name. `showWindow` is the Windows show-window value (0 hidden, 1 normal); the started programs are
// not asked to show anything, so it only documents intent.
StartResult winExec(const QString& commandLine, int showWindow);

// How winExec runs the ".bat" program of `commandLine`: the command interpreter, its arguments and
// the folder it runs in; `failure` says, for the user, why the batch cannot run (empty when it can).
struct BatchInvocation
{
    QString interpreter;
    QStringList arguments;
    QString folder;
    QString failure;
};
BatchInvocation batchInvocation(const QString& commandLine);

// Starts the game executable in `workingFolder`: a file with the execute bit directly, a Windows
// executable (starting with "MZ") through wine when wine is installed; otherwise says why not. A game
// inside a Wine prefix (a folder with "drive_c" and "system.reg" above it) runs with WINEPREFIX set to it.
StartResult startGame(const QString& executable, const QString& workingFolder);

// The command interpreter used for ".bat" files; by default "rovex-cmd" beside the running executable.
QString interpreterPath();
void setInterpreterPath(const QString& path);

} // namespace platform
