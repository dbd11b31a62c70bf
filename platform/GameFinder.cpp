#include "platform/GameFinder.h"

#include "platform/FileName.h"
#include "platform/FsNative.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include <dirent.h>
#include <sys/stat.h>

namespace platform {
namespace {

// One folder's entries, told apart by kind; a link counts as what it leads to.
struct Listing
{
    QStringList files;
    QStringList folders;
};

Listing list(const QString& folder)
{
    Listing listing;
    const QByteArray path = fs::native::encodePath(folder);
    DIR* dir = opendir(path.constData());
    if (!dir)
        return listing;
    while (const dirent* entry = readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name == "." || name == "..")
            continue;
        unsigned char type = entry->d_type;
        if (type == DT_LNK || type == DT_UNKNOWN) {
            struct stat info;
            type = stat((path + '/' + name).constData(), &info) != 0 ? DT_UNKNOWN
                   : S_ISDIR(info.st_mode)                           ? DT_DIR
                                                                     : DT_REG;
        }
        if (type == DT_DIR)
            listing.folders.append(decodeFileName(name));
        else if (type == DT_REG)
            listing.files.append(decodeFileName(name));
    }
    closedir(dir);
    return listing;
}

QString named(const QStringList& names, const QString& name)
{
    for (const QString& candidate : names) {
        if (candidate.compare(name, Qt::CaseInsensitive) == 0)
            return candidate;
    }
    return {};
}

QString canonical(const QString& path)
{
    const QString resolved = QFileInfo(path).canonicalFilePath();
    return resolved.isEmpty() ? path : resolved;
}

class Search
{
public:
    explicit Search(int timeLimitMs)
        : m_deadline(timeLimitMs)
    {
    }

    // A folder named as the game's own.
    void folder(const QString& path, const QString& source)
    {
        if (!path.isEmpty() && !m_deadline.hasExpired())
            consider(path, list(path), source);
    }

    // A Wine prefix: its drive C is searched.
    void prefix(const QString& path, const QString& source)
    {
        const QString key = canonical(path);
        if (path.isEmpty() || m_prefixes.contains(key))
            return;
        m_prefixes.insert(key);
        const QString drive = path + QStringLiteral("/drive_c");
        const Listing root = list(drive);
        for (const QString& place : {QStringLiteral("Program Files"), QStringLiteral("Program Files (x86)"),
                                     QStringLiteral("Games")}) {
            if (const QString found = named(root.folders, place); !found.isEmpty()) {
                for (const QString& name : list(drive + u'/' + found).folders)
                    visit(drive + u'/' + found + u'/' + name, 1, source);
            }
        }
        for (const QString& name : root.folders) {
            // Wine's own system folder holds no games, only thousands of files.
            if (name.compare(QStringLiteral("windows"), Qt::CaseInsensitive) != 0)
                visit(drive + u'/' + name, 1, source);
        }
    }

    GameSearch result() const { return {m_games, !m_deadline.hasExpired()}; }

private:
    void visit(const QString& path, int levelsBelow, const QString& source)
    {
        if (m_deadline.hasExpired() || m_visited.contains(path))
            return;
        m_visited.insert(path);
        const Listing listing = list(path);
        consider(path, listing, source);
        if (levelsBelow > 0) {
            for (const QString& name : listing.folders)
                visit(path + u'/' + name, levelsBelow - 1, source);
        }
    }

    void consider(const QString& path, const Listing& listing, const QString& source)
    {
        if (named(listing.files, QStringLiteral("nfshs.exe")).isEmpty())
            return;
        const QString data = named(listing.folders, QStringLiteral("Data"));
        if (data.isEmpty() || named(list(path + u'/' + data).folders, QStringLiteral("Tracks")).isEmpty())
            return;
        const QString folder = path.endsWith(u'/') ? path : path + u'/';
        if (!m_found.contains(canonical(folder))) {
            m_found.insert(canonical(folder));
            m_games.append({folder, source});
        }
    }

    QDeadlineTimer m_deadline;
    QSet<QString> m_prefixes;
    QSet<QString> m_visited;
    QSet<QString> m_found;
    QList<FoundGame> m_games;
};

QStringList subfolders(const QString& folder)
{
    QStringList paths;
    for (const QString& name : list(folder).folders)
        paths.append(folder + u'/' + name);
    return paths;
}

// Steam's own library and the further ones its "libraryfolders.vdf" lists.
QStringList steamLibraries(const UserFolders& user)
{
    QStringList libraries{user.home + QStringLiteral("/.steam/steam"), user.data + QStringLiteral("/Steam")};
    static const QRegularExpression pathLine(QStringLiteral("^\\s*\"path\"\\s+\"(.*)\"\\s*$"));
    for (const QString& steam : QStringList(libraries)) {
        QFile folders(steam + QStringLiteral("/steamapps/libraryfolders.vdf"));
        if (!folders.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray& line : folders.read(1 << 20).split('\n')) {
            const QRegularExpressionMatch match = pathLine.match(QString::fromUtf8(line).remove(u'\r'));
            if (match.hasMatch())
                libraries.append(match.captured(1).replace(QStringLiteral("\\\\"), QStringLiteral("\\")));
        }
    }
    return libraries;
}

} // namespace

GameSearch findGames(const UserFolders& user, int timeLimitMs)
{
    Search search(timeLimitMs);
    search.prefix(user.winePrefix, QStringLiteral("WINEPREFIX"));
    search.prefix(user.home + QStringLiteral("/.wine"), QStringLiteral("~/.wine"));
    for (const LutrisGame& game : lutrisGames(user)) {
        const QString source = QStringLiteral("Lutris: %1").arg(game.name);
        if (!game.exe.isEmpty())
            search.folder(fs::native::folderOf(game.exe), source);
        search.folder(game.workingDir, source);
        search.prefix(game.prefix, source);
    }
    for (const Bottle& bottle : bottles(user))
        search.prefix(bottle.folder, QStringLiteral("Bottles: %1").arg(bottle.name));
    for (const QString& prefix : subfolders(user.home + QStringLiteral("/.PlayOnLinux/wineprefix")))
        search.prefix(prefix, QStringLiteral("PlayOnLinux: %1").arg(fs::native::nameOf(prefix)));
    for (const QString& library : steamLibraries(user)) {
        for (const QString& game : subfolders(library + QStringLiteral("/steamapps/compatdata")))
            search.prefix(game + QStringLiteral("/pfx"),
                          QStringLiteral("Steam: %1").arg(fs::native::nameOf(game)));
    }
    return search.result();
}

} // namespace platform
