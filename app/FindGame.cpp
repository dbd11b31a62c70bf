#include "app/StatusBar.h"
#include "app/main_window.h"
#include "platform/Dialogs.h"
#include "platform/GameFinder.h"

#include <QLineEdit>

namespace {

// The window waits no longer for the search at its first start.
constexpr int kSearchTimeLimitMs = 150;

} // namespace

void TForm1::findGameFolder()
{
    const QList<platform::FoundGame> games =
        platform::findGames(platform::UserFolders::fromEnvironment(), kSearchTimeLimitMs).games;
    if (games.isEmpty())
        return;
    qsizetype chosen = 0;
    if (games.size() > 1) {
        QStringList items;
        for (const platform::FoundGame& game : games)
            items.append(QStringLiteral("%1 (%2)").arg(game.folder, game.source));
        chosen = platform::dialogs().chooseItem(
            this, QStringLiteral("Игра найдена в нескольких местах. Выберите папку игры:"), items);
        if (chosen < 0 || chosen >= games.size())
            return;
    }
    const platform::FoundGame& game = games.at(chosen);
    PaGa->setText(game.folder);
    m_folderChosen = true;
    SBar->setText(QStringLiteral(" Папка игры найдена: %1 (%2)").arg(game.folder, game.source));
}
