#pragma once

#include "platform/Process.h"
#include "platform/WineLaunchers.h"

#include <QString>
#include <QStringList>

#include <optional>

// A game that Lutris or Bottles runs is started through them, so that it gets the Wine build and the
// settings they keep for it; otherwise wine starts it in the prefix around it.
namespace platform {

struct RunnerCommand
{
    QString program; // found on the PATH
    QStringList arguments;
};

// The command that starts `executable` (an existing file) through Lutris, when a Lutris game runs that
// very file, or through Bottles, when it lies in a bottle; nothing when that command is not on the PATH.
// Lutris keeps its games' numbers in a database of its own, so a game is started by its slug
// ("lutris:rungame/<slug>"). Bottles runs a program it lists by its name, any other file by its path.
std::optional<RunnerCommand> runnerCommand(const QString& executable, const UserFolders& user);

// Starts the game through the runner that runnerCommand() names for it, and otherwise as startGame()
// does. Does not wait.
StartResult startGameThroughRunner(const QString& executable, const QString& workingFolder);

} // namespace platform
