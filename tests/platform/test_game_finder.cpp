#include "platform/GameFinder.h"
#include "platform/GameRunner.h"
#include "tests/support/Files.h"
#include "tests/support/HomeFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTest>

class TestGameFinder : public QObject
{
    Q_OBJECT

private slots:
    void findsTheGameInEveryKindOfPrefix_data();
    void findsTheGameInEveryKindOfPrefix();
};

void TestGameFinder::findsTheGameInEveryKindOfPrefix_data()
{
    QTest::addColumn<QStringList>("layout");      // under the user's home, see layOut()
    QTest::addColumn<QStringList>("environment"); // "NAME=folder under the home"
    QTest::addColumn<QStringList>("commands");    // stand-ins on the PATH, which holds nothing else
    QTest::addColumn<QStringList>("found");       // "folder (source)", the folder under the home
    QTest::addColumn<QStringList>("runner");      // what starts the first game found; empty: wine

    const QString bottle = QStringLiteral(".local/share/bottles/bottles/NFS");
    const QString flatpakBottle =
        QStringLiteral(".var/app/com.usebottles.bottles/data/bottles/bottles/Games");
    QTest::newRow("nothing anywhere") << QStringList{".wine/drive_c/windows/"} << QStringList{}
                                      << QStringList{} << QStringList{} << QStringList{};
    QTest::newRow("~/.wine, two levels below Program Files")
        << QStringList{"game .wine/drive_c/Program Files/EA Games/NFS"} << QStringList{}
        << QStringList{"lutris"} << QStringList{".wine/drive_c/Program Files/EA Games/NFS/ (~/.wine)"}
        << QStringList{};
    QTest::newRow("the game's names in any letter case")
        << QStringList{".wine/drive_c/Program Files (x86)/NFS/NFSHS.EXE",
                       ".wine/drive_c/Program Files (x86)/NFS/data/TRACKS/"}
        << QStringList{} << QStringList{} << QStringList{".wine/drive_c/Program Files (x86)/NFS/ (~/.wine)"}
        << QStringList{};
    QTest::newRow("two levels below Games, one below the drive's root")
        << QStringList{"game .wine/drive_c/Games/EA/NFS", "game .wine/drive_c/NFS"} << QStringList{}
        << QStringList{}
        << QStringList{".wine/drive_c/Games/EA/NFS/ (~/.wine)", ".wine/drive_c/NFS/ (~/.wine)"}
        << QStringList{};
    QTest::newRow("three levels below Program Files is too deep")
        << QStringList{"game .wine/drive_c/Program Files/A/B/NFS"} << QStringList{} << QStringList{}
        << QStringList{} << QStringList{};
    QTest::newRow("nfshs.exe without Data/Tracks")
        << QStringList{".wine/drive_c/NFS/nfshs.exe", ".wine/drive_c/NFS/Data/"} << QStringList{}
        << QStringList{} << QStringList{} << QStringList{};
    QTest::newRow("WINEPREFIX first, each prefix searched once")
        << QStringList{"game .wine/drive_c/NFS"} << QStringList{"WINEPREFIX=.wine"} << QStringList{}
        << QStringList{".wine/drive_c/NFS/ (WINEPREFIX)"} << QStringList{};
    QTest::newRow("Lutris game named by its exe and working folder")
        << QStringList{"game Games/NFS",
                       ".config/lutris/games/nfs-high-stakes-1700000000.yml = name: NFS High Stakes\n"
                       "game:\n  exe: $HOME/Games/NFS/nfshs.exe # the game\n  working_dir: "
                       "$HOME/Games/NFS\nrunner: wine\n"}
        << QStringList{} << QStringList{"lutris", "bottles-cli"}
        << QStringList{"Games/NFS/ (Lutris: NFS High Stakes)"}
        << QStringList{"lutris", "lutris:rungame/nfs-high-stakes"};
    QTest::newRow("Lutris game deep in its prefix, without lutris on the PATH")
        << QStringList{"game Games/nfs-prefix/drive_c/Games/A/B/NFS",
                       ".local/share/lutris/games/nfs-1.yml = game:\n  prefix: \"$HOME/Games/nfs-prefix\"\n"
                       "  exe: drive_c/Games/A/B/NFS/nfshs.exe\n"}
        << QStringList{} << QStringList{}
        << QStringList{"Games/nfs-prefix/drive_c/Games/A/B/NFS/ (Lutris: nfs)"} << QStringList{};
    QTest::newRow("Lutris games under XDG_CONFIG_HOME")
        << QStringList{"game NFS", "settings/lutris/games/x-2.yml = game:\n  working_dir: '$HOME/NFS'\n"}
        << QStringList{"XDG_CONFIG_HOME=settings"} << QStringList{} << QStringList{"NFS/ (Lutris: x)"}
        << QStringList{};
    QTest::newRow("bottle that lists the game as a program")
        << QStringList{"game " + bottle + "/drive_c/Program Files/NFS",
                       bottle +
                           "/bottle.yml = Name: Need for Speed\nExternal_Programs:\n  7f3a:\n"
                           "    name: High Stakes\n    path: $HOME/" +
                           bottle + "/drive_c/Program Files/NFS/nfshs.exe\n"}
        << QStringList{} << QStringList{"bottles-cli"}
        << QStringList{bottle + "/drive_c/Program Files/NFS/ (Bottles: Need for Speed)"}
        << QStringList{"bottles-cli", "run", "-b", "Need for Speed", "-p", "High Stakes"};
    QTest::newRow("Flatpak bottle without a bottle file")
        << QStringList{"game " + flatpakBottle + "/drive_c/NFS"} << QStringList{}
        << QStringList{"bottles-cli"} << QStringList{flatpakBottle + "/drive_c/NFS/ (Bottles: Games)"}
        << QStringList{"bottles-cli", "run", "-b",
                       "Games",       "-e",  "$HOME/" + flatpakBottle + "/drive_c/NFS/nfshs.exe"};
    QTest::newRow("PlayOnLinux prefix")
        << QStringList{"game .PlayOnLinux/wineprefix/NFS/drive_c/Program Files/EA/NFS"} << QStringList{}
        << QStringList{}
        << QStringList{".PlayOnLinux/wineprefix/NFS/drive_c/Program Files/EA/NFS/ "
                       "(PlayOnLinux: NFS)"}
        << QStringList{};
    QTest::newRow("Proton prefixes of Steam and of a library it lists")
        << QStringList{"game .local/share/Steam/steamapps/compatdata/1234/pfx/drive_c/Games/NFS",
                       ".steam/steam/steamapps/libraryfolders.vdf = \"libraryfolders\"\n{\n\t\"1\"\n\t{\n"
                       "\t\t\"path\"\t\t\"$HOME/SteamLibrary\"\n\t}\n}\n",
                       "game SteamLibrary/steamapps/compatdata/99/pfx/drive_c/NFS"}
        << QStringList{} << QStringList{}
        << QStringList{".local/share/Steam/steamapps/compatdata/1234/pfx/drive_c/Games/NFS/ (Steam: 1234)",
                       "SteamLibrary/steamapps/compatdata/99/pfx/drive_c/NFS/ (Steam: 99)"}
        << QStringList{};
}

void TestGameFinder::findsTheGameInEveryKindOfPrefix()
{
    QFETCH(QStringList, layout);
    QFETCH(QStringList, environment);
    QFETCH(QStringList, commands);
    QFETCH(QStringList, found);
    QFETCH(QStringList, runner);
    HomeFolder fixture; // HOME in a temporary folder, no XDG folders of the user's, no WINEPREFIX
    const QString home = QDir(fixture.makeFolder("user")).canonicalPath();
    QVERIFY(layOut(home, layout));
    for (const QString& command : commands)
        QVERIFY(writeBytes(home + "/bin/" + command, "#!/bin/sh\n") &&
                QFile::setPermissions(home + "/bin/" + command, QFile::ReadOwner | QFile::ExeOwner));
    qputenv("HOME", QFile::encodeName(home));
    const auto restorePath = qScopeGuard([path = qgetenv("PATH")] { qputenv("PATH", path); });
    qputenv("PATH", QFile::encodeName(home + "/bin"));
    for (const QString& variable : environment)
        qputenv(variable.section('=', 0, 0).toUtf8().constData(),
                QFile::encodeName(home + '/' + variable.section('=', 1)));

    const platform::UserFolders user = platform::UserFolders::fromEnvironment();
    const platform::GameSearch search = platform::findGames(user, 10000);
    QStringList games;
    for (const platform::FoundGame& game : search.games)
        games.append(QStringLiteral("%1 (%2)").arg(game.folder.mid(home.size() + 1), game.source));
    QCOMPARE(games, found);
    QVERIFY(search.complete);
    if (search.games.isEmpty())
        return;
    const std::optional<platform::RunnerCommand> command =
        platform::runnerCommand(search.games.first().folder + "nfshs.exe", user);
    QStringList started;
    if (command)
        started = QStringList{QFileInfo(command->program).fileName()} + command->arguments;
    QCOMPARE(started, runner.replaceInStrings("$HOME", home));
}

QTEST_GUILESS_MAIN(TestGameFinder)
#include "test_game_finder.moc"
