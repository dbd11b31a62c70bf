#pragma once

#include <QHash>
#include <QList>
#include <QString>

// Where the user keeps Wine prefixes, and what Lutris and Bottles, which run games in prefixes of
// their own, say about those games in their files.
namespace platform {

// The user's folders, as the XDG rules and Wine take them from the environment.
struct UserFolders
{
    QString home;       // $HOME
    QString config;     // $XDG_CONFIG_HOME; ~/.config when it is unset or not absolute
    QString data;       // $XDG_DATA_HOME; ~/.local/share when it is unset or not absolute
    QString winePrefix; // $WINEPREFIX; empty when unset

    static UserFolders fromEnvironment();
};

// A game of Lutris: one file of "lutris/games" in the configuration or the data folder.
struct LutrisGame
{
    QString slug;       // what "lutris lutris:rungame/<slug>" starts it by
    QString name;       // as Lutris shows it
    QString exe;        // absolute: a relative one is taken inside the prefix, else the working folder
    QString prefix;     // the game's Wine prefix, when named
    QString workingDir; // the folder the game runs in, when named
};
QList<LutrisGame> lutrisGames(const UserFolders& user);

// A bottle of Bottles, installed natively or from Flathub: a Wine prefix of its own.
struct Bottle
{
    QString folder;                   // the bottle's folder, which is its Wine prefix
    QString name;                     // what "bottles-cli run -b <name>" knows it by
    QHash<QString, QString> programs; // program name -> path of its executable, as the bottle lists them
};
QList<Bottle> bottles(const UserFolders& user);

} // namespace platform
