#include "platform/GameRunner.h"

#include "platform/FileSystem.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace platform {
namespace {

QString canonical(const QString& path)
{
    return QFileInfo(path).canonicalFilePath();
}

} // namespace

std::optional<RunnerCommand> runnerCommand(const QString& executable, const UserFolders& user)
{
    const QString game = canonical(executable);
    if (game.isEmpty())
        return std::nullopt;
    if (const QString lutris = QStandardPaths::findExecutable(QStringLiteral("lutris")); !lutris.isEmpty()) {
        for (const LutrisGame& known : lutrisGames(user)) {
            if (!known.exe.isEmpty() && canonical(known.exe) == game)
                return RunnerCommand{lutris, {QStringLiteral("lutris:rungame/") + known.slug}};
        }
    }
    const QString bottlesCli = QStandardPaths::findExecutable(QStringLiteral("bottles-cli"));
    if (bottlesCli.isEmpty())
        return std::nullopt;
    for (const Bottle& bottle : bottles(user)) {
        const QString folder = canonical(bottle.folder);
        if (folder.isEmpty() || !game.startsWith(folder + u'/'))
            continue;
        for (auto program = bottle.programs.begin(); program != bottle.programs.end(); ++program) {
            if (canonical(program.value()) == game)
                return RunnerCommand{bottlesCli,
                                     {QStringLiteral("run"), QStringLiteral("-b"), bottle.name,
                                      QStringLiteral("-p"), program.key()}};
        }
        return RunnerCommand{
            bottlesCli,
            {QStringLiteral("run"), QStringLiteral("-b"), bottle.name, QStringLiteral("-e"), game}};
    }
    return std::nullopt;
}

StartResult startGameThroughRunner(const QString& executable, const QString& workingFolder)
{
    const std::optional<RunnerCommand> runner =
        runnerCommand(fs::resolveIgnoringCase(executable), UserFolders::fromEnvironment());
    if (!runner)
        return startGame(executable, workingFolder);
    QProcess process;
    process.setProgram(runner->program);
    process.setArguments(runner->arguments);
    process.setWorkingDirectory(workingFolder);
    process.setStandardInputFile(QProcess::nullDevice());
    if (!process.startDetached())
        return {false, QStringLiteral("Не удалось запустить игру через %1.").arg(runner->program)};
    return {true, {}};
}

} // namespace platform
