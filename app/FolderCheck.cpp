#include "app/FolderCheck.h"

#include "app/LibraryFolders.h"
#include "core/SlotTable.h"
#include "core/SystemErrorText.h"
#include "platform/FileName.h"
#include "platform/FileSystem.h"

#include <QStringList>

#include <cerrno>

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

QString readProblem(const QString& folder)
{
    const int error = fs::listingError(folder);
    if (error == 0 || error == ENOENT)
        return {};
    return QStringLiteral("Папку \"%1\" не удаётся прочитать: %2.")
        .arg(platform::displayFileName(folder), systemErrorInWords(error));
}

QString libraryProblem(const QString& folder)
{
    if (const QString problem = readProblem(folder); !problem.isEmpty())
        return problem + QLatin1Char('\n') + SeeHelp;
    // The scan finds the slot folders the same way.
    bool slotFound = false;
    QStringList unreadable;
    for (const QString& slot : trackslots::SlotNames()) {
        const QString slotFolder = library::slotFolder(folder, slot);
        if (!fs::folderExists(slotFolder))
            continue;
        slotFound = true;
        if (const QString problem = readProblem(slotFolder); !problem.isEmpty())
            unreadable.append(problem);
    }
    if (!unreadable.isEmpty())
        return unreadable.join(QLatin1Char('\n')) + QLatin1Char('\n') + SeeHelp;
    if (slotFound)
        return {};
    return QStringLiteral("В папке \"%1\" нет ни одной папки трасс (Aquatica, Atlantic, … UK): архивы "
                          "дополнительных трасс лежат в библиотеке по папкам стандартных трасс.\n")
               .arg(folder) +
           SeeHelp;
}

QString gameProblem(const QString& folder)
{
    // What cannot be read would only seem to be missing.
    if (const QString problem = readProblem(folder); !problem.isEmpty())
        return problem + QLatin1Char('\n') + SeeHelp;
    QStringList missing;
    const QString game = entryIgnoringCase(folder, QStringLiteral("nfshs.exe"));
    if (game.isEmpty() || !fs::fileExists(game))
        missing.append(QStringLiteral("файла nfshs.exe"));
    const QString data = entryIgnoringCase(folder, QStringLiteral("Data"));
    if (const QString problem = readProblem(data); !problem.isEmpty())
        return problem + QLatin1Char('\n') + SeeHelp;
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
