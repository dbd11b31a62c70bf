#include "app/FolderCheck.h"

#include "app/LibraryFolders.h"
#include "app/SlotTable.h"
#include "platform/FileSystem.h"

#include <QStringList>

namespace fs = platform::fs;

namespace foldercheck {

namespace {

const QString SeeHelp = QStringLiteral("Выбор сохранён. Подробнее — в справке, раздел «Неверная папка».");

// The entry `name` of `folder` in whatever letter case it has there; empty when there is none.
QString entryIgnoringCase(const QString& folder, const QString& name)
{
    const QString found = fs::findNameIgnoringCase(folder, name);
    return found.isEmpty() ? QString() : folder + QLatin1Char('/') + found;
}

} // namespace

QString libraryProblem(const QString& folder)
{
    // The scan finds the slot folders the same way.
    for (const QString& slot : trackslots::SlotNames()) {
        if (fs::folderExists(library::slotFolder(folder, slot)))
            return {};
    }
    return QStringLiteral("В папке \"%1\" нет ни одной папки трасс (Aquatica, Atlantic, … UK): архивы "
                          "дополнительных трасс лежат в библиотеке по папкам стандартных трасс.\n")
               .arg(folder) +
           SeeHelp;
}

QString gameProblem(const QString& folder)
{
    QStringList missing;
    const QString game = entryIgnoringCase(folder, QStringLiteral("nfshs.exe"));
    if (game.isEmpty() || !fs::fileExists(game))
        missing.append(QStringLiteral("файла nfshs.exe"));
    const QString data = entryIgnoringCase(folder, QStringLiteral("Data"));
    const QString tracks = data.isEmpty() ? QString() : entryIgnoringCase(data, QStringLiteral("Tracks"));
    if (tracks.isEmpty() || !fs::folderExists(tracks))
        missing.append(QStringLiteral("папки Data/Tracks"));
    if (missing.isEmpty())
        return {};
    return QStringLiteral("В папке \"%1\" нет %2: похоже, это не каталог игры.\n")
               .arg(folder, missing.join(QStringLiteral(" и "))) +
           SeeHelp;
}

} // namespace foldercheck
