#include "app/InstallTracks.h"

#include "app/LibraryFolders.h"
#include "core/SlotTable.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <cerrno>

namespace fs = platform::fs;

namespace install {

namespace {

bool isTrackFileName(const QString& name)
{
    return trackslots::TrackFileSet().contains(name, Qt::CaseInsensitive);
}

QString withSlash(const QString& folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

// One add-on file put in place: under `name`, with the standard file under "0" + name when there was one.
struct Exchange
{
    QString name;
    bool replacedStandard;
};

// Takes the exchanges back, last first: the add-on goes, the standard file gets its name back.
QStringList undo(const QString& folder, const QList<Exchange>& made)
{
    QStringList backupsLeft;
    for (auto exchange = made.rbegin(); exchange != made.rend(); ++exchange) {
        fs::removeFile(folder + exchange->name);
        if (exchange->replacedStandard &&
            !fs::moveNoReplace(folder + QLatin1Char('0') + exchange->name, folder + exchange->name))
            backupsLeft.prepend(exchange->name);
    }
    return backupsLeft;
}

} // namespace

QString gameSlotFolder(const QString& gameDir, const QString& slot)
{
    QString path = gameDir + QLatin1Char('/');
    for (const QString& component : {QStringLiteral("Data"), QStringLiteral("Tracks"), slot})
        path = fs::resolveIgnoringCase(path + component) + QLatin1Char('/');
    return path;
}

QString workFolder(const QString& trackDir)
{
    return trackDir + QStringLiteral("../Temp");
}

QString libraryArchive(const QString& trackDir, const QString& slot, const QString& archive)
{
    return library::slotFolder(trackDir, slot) + QLatin1Char('/') + archive;
}

bool prepareWorkFolder(const QString& folder)
{
    if (!fs::folderExists(folder))
        return fs::createFolder(folder);
    // The archiver and the moves see letter case as Windows does: a stale "TR.FRD" is a track file too.
    const QString prefix = withSlash(folder);
    for (const QString& name : fs::findEntries(folder, QStringLiteral("*.*"))) {
        if (isTrackFileName(name) && fs::fileExists(prefix + name) && !fs::removeFile(prefix + name))
            return false;
    }
    return true;
}

SlotInstall moveTrackFilesIn(const QString& work, const QString& slotFolder)
{
    const QString from = withSlash(work);
    const QString to = withSlash(slotFolder);
    SlotInstall result;
    if (!fs::folderExists(to)) {
        result.error = ENOENT;
        return result;
    }
    QList<Exchange> made;
    for (const QString& name : fs::findEntries(work, QStringLiteral("*.*"))) {
        // A "Temp" beside the library may hold files of someone else's: only track files go in.
        if (!isTrackFileName(name) || !fs::fileExists(from + name))
            continue;
        const QString standard = fs::findNameIgnoringCase(to, name);
        const QString target = standard.isEmpty() ? name : standard;
        if (!standard.isEmpty() && !fs::moveNoReplace(to + standard, to + QLatin1Char('0') + standard)) {
            result = {{}, {}, errno, name, true, {}, 0};
            break;
        }
        if (!fs::moveNoReplace(from + name, to + target)) {
            result = {{}, {}, errno, name, false, {}, 0};
            // The standard file goes back under its own name at once: the game must never miss it.
            if (!standard.isEmpty() && !fs::moveNoReplace(to + QLatin1Char('0') + standard, to + standard))
                result.backupsLeft.append(standard);
            break;
        }
        made.append({target, !standard.isEmpty()});
    }
    if (result.succeeded()) {
        for (const Exchange& exchange : made) {
            result.installed.append(exchange.name);
            if (exchange.replacedStandard)
                result.backedUp.append(exchange.name);
        }
    } else {
        result.backupsLeft = undo(to, made) + result.backupsLeft;
    }
    if ((!made.isEmpty() || !result.succeeded()) && !fs::flushFolder(to))
        result.flushError = errno;
    return result;
}

bool holdsBackups(const QString& slotFolder)
{
    const QStringList backups = fs::findEntries(slotFolder, QStringLiteral("0*.*"));
    return std::any_of(backups.begin(), backups.end(),
                       [](const QString& backup) { return isTrackFileName(backup.mid(1)); });
}

SlotRestore restoreSlotFolder(const QString& slotFolder)
{
    const QString folder = withSlash(slotFolder);
    SlotRestore result;
    const QStringList backups = fs::findEntries(folder, QStringLiteral("0*.*"));
    for (const QString& backup : backups) {
        const QString name = backup.mid(1);
        if (name.isEmpty())
            continue;
        const QString addOn = fs::resolveIgnoringCase(folder + name);
        int failure = 0;
        if (fs::fileExists(addOn) && !fs::removeFile(addOn))
            failure = errno;
        if (!fs::moveNoReplace(folder + backup, folder + name)) {
            // The add-on that could not be deleted is the cause, not the name it still holds.
            if (result.notRestored.isEmpty())
                result.error = failure ? failure : errno;
            result.notRestored.append(name);
        }
    }
    // Flushed before anyone records the standard state: a power cut must not undo the renames behind
    // a recorded "1".
    if (!backups.isEmpty() && !fs::flushFolder(folder))
        result.flushError = errno;
    return result;
}

} // namespace install
