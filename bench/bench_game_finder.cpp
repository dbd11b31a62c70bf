// Speed of the search for the game at a first start, on a home with ten Wine prefixes of every kind
// (~/.wine, Lutris, Bottles, PlayOnLinux, Steam), each with a drive C as installed programs leave it.
// The folders are in the cache (just made); prints figures; run by hand.
#include "platform/GameFinder.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

constexpr qint64 kBudgetMs = 200;
constexpr int kRuns = 9;
int folders = 0;

void touch(const QString& path)
{
    QFile(path).open(QIODevice::WriteOnly);
}

// Program folders of `vendors` makers with `products` each, every product holding files and folders.
void programs(const QString& folder, int vendors, int products)
{
    for (int vendor = 0; vendor < vendors; ++vendor) {
        for (int product = 0; product < products; ++product) {
            const QString path =
                QStringLiteral("%1/Vendor %2/Product %3").arg(folder).arg(vendor).arg(product);
            for (const char* sub : {"bin", "data", "locale"}) {
                QDir().mkpath(path + "/" + sub);
                ++folders;
            }
            for (int file = 0; file < 20; ++file)
                touch(QStringLiteral("%1/file%2.dll").arg(path).arg(file));
        }
    }
}

void prefix(const QString& path, bool withGame)
{
    const QString drive = path + "/drive_c";
    QDir().mkpath(drive + "/windows/system32");
    for (int file = 0; file < 600; ++file)
        touch(QStringLiteral("%1/windows/system32/lib%2.dll").arg(drive).arg(file));
    programs(drive + "/Program Files", 12, 4);
    programs(drive + "/Program Files (x86)", 12, 4);
    programs(drive + "/users/player", 6, 4);
    programs(drive + "/ProgramData", 6, 2);
    if (withGame) {
        QDir().mkpath(drive + "/Games/EA Games/Need for Speed/Data/Tracks");
        touch(drive + "/Games/EA Games/Need for Speed/nfshs.exe");
    }
    touch(path + "/system.reg");
}

void write(const QString& path, const QByteArray& text)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(text);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir root;
    const QString home = root.path();
    prefix(home + "/.wine", false);
    for (int game = 0; game < 3; ++game) {
        const QString gamePrefix = QStringLiteral("%1/Games/game-%2").arg(home).arg(game);
        prefix(gamePrefix, game == 2);
        write(QStringLiteral("%1/.config/lutris/games/game-%2-1700000000.yml").arg(home).arg(game),
              QStringLiteral("game:\n  exe: drive_c/Program Files/Vendor 1/Product 1/bin/game.exe\n"
                             "  prefix: %1\nrunner: wine\n")
                  .arg(gamePrefix)
                  .toUtf8());
    }
    for (const char* bottle : {"Gaming", "Office"})
        prefix(home + "/.local/share/bottles/bottles/" + bottle, false);
    for (const char* pol : {"Game1", "Game2"})
        prefix(home + "/.PlayOnLinux/wineprefix/" + pol, false);
    for (const char* app : {"1001", "2002"})
        prefix(home + "/.local/share/Steam/steamapps/compatdata/" + app + "/pfx", false);

    platform::UserFolders user;
    user.home = home;
    user.config = home + "/.config";
    user.data = home + "/.local/share";
    QList<qint64> times;
    platform::GameSearch search;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer clock;
        clock.start();
        search = platform::findGames(user, 10000);
        times.append(clock.nsecsElapsed() / 1000);
    }
    std::sort(times.begin(), times.end());
    const double medianMs = times.at(kRuns / 2) / 1000.0;
    std::printf(
        "10 prefixes, %d program folders: search %.1f ms (median of %d, slowest %.1f ms; target: under "
        "%lld ms) %s\n",
        folders, medianMs, kRuns, times.last() / 1000.0, static_cast<long long>(kBudgetMs),
        times.last() < kBudgetMs * 1000 ? "met" : "MISSED");
    std::printf("games found: %lld (expected 1)%s\n", static_cast<long long>(search.games.size()),
                search.games.isEmpty() ? "" : qPrintable(QStringLiteral(": ") + search.games.first().source));
    return search.games.size() == 1 ? 0 : 1;
}
