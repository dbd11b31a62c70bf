#include "platform/WineLaunchers.h"

#include "platform/FsNative.h"
#include "platform/YamlScalars.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace platform {
namespace {

// A settings file is a few kilobytes: anything much larger is not one.
constexpr qint64 kLongestSettingsFile = 1 << 20;

QString absoluteFolder(const QByteArray& variable, const QString& fallback)
{
    const QString value = qEnvironmentVariable(variable.constData());
    return value.startsWith(u'/') ? value : fallback;
}

QHash<QString, QString> readSettingsFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return readYamlScalars(file.read(kLongestSettingsFile));
}

QString expandHome(const QString& path, const UserFolders& user)
{
    return path.startsWith(QStringLiteral("~/")) ? user.home + path.mid(1) : path;
}

// Lutris names its game files "<slug>-<timestamp>.yml".
QString slugOfFileName(const QString& fileName)
{
    static const QRegularExpression timestamp(QStringLiteral("-[0-9]+$"));
    QString slug = fileName.chopped(4);
    slug.remove(timestamp);
    return slug;
}

LutrisGame readLutrisGame(const QString& path, const UserFolders& user)
{
    const QHash<QString, QString> values = readSettingsFile(path);
    LutrisGame game;
    game.slug = values.value(QStringLiteral("game_slug"),
                             values.value(QStringLiteral("slug"), slugOfFileName(fs::native::nameOf(path))));
    game.name = values.value(QStringLiteral("name"), game.slug);
    game.prefix = expandHome(values.value(QStringLiteral("game/prefix")), user);
    game.workingDir = expandHome(values.value(QStringLiteral("game/working_dir")), user);
    game.exe = expandHome(values.value(QStringLiteral("game/exe")), user);
    if (!game.exe.isEmpty() && !game.exe.startsWith(u'/')) {
        const QString base = game.prefix.isEmpty() ? game.workingDir : game.prefix;
        game.exe = base.isEmpty() ? QString() : base + u'/' + game.exe;
    }
    return game;
}

} // namespace

UserFolders UserFolders::fromEnvironment()
{
    UserFolders user;
    user.home = QDir::homePath();
    user.config = absoluteFolder("XDG_CONFIG_HOME", user.home + QStringLiteral("/.config"));
    user.data = absoluteFolder("XDG_DATA_HOME", user.home + QStringLiteral("/.local/share"));
    user.winePrefix = qEnvironmentVariable("WINEPREFIX");
    return user;
}

QList<LutrisGame> lutrisGames(const UserFolders& user)
{
    QList<LutrisGame> games;
    for (const QString& folder :
         {user.config + QStringLiteral("/lutris/games"), user.data + QStringLiteral("/lutris/games")}) {
        for (const QString& name : fs::native::listNames(folder)) {
            if (name.endsWith(QStringLiteral(".yml")))
                games.append(readLutrisGame(folder + u'/' + name, user));
        }
    }
    return games;
}

QList<Bottle> bottles(const UserFolders& user)
{
    QList<Bottle> found;
    for (const QString& root :
         {user.data + QStringLiteral("/bottles/bottles"),
          user.home + QStringLiteral("/.var/app/com.usebottles.bottles/data/bottles/bottles")}) {
        for (const QString& name : fs::native::listNames(root)) {
            Bottle bottle;
            bottle.folder = root + u'/' + name;
            struct stat info;
            if (!fs::native::statTarget(bottle.folder, info) || !S_ISDIR(info.st_mode))
                continue;
            const QHash<QString, QString> values =
                readSettingsFile(bottle.folder + QStringLiteral("/bottle.yml"));
            // Bottles since 2022 know a bottle by the name in its file; older ones by its folder.
            bottle.name = values.value(QStringLiteral("Name"), name);
            for (auto value = values.begin(); value != values.end(); ++value) {
                const QStringList path = value.key().split(u'/');
                if (path.size() == 3 && path[0] == QLatin1String("External_Programs") &&
                    path[2] == QLatin1String("path"))
                    bottle.programs.insert(values.value(path[0] + u'/' + path[1] + QStringLiteral("/name")),
                                           value.value());
            }
            found.append(bottle);
        }
    }
    return found;
}

} // namespace platform
