#include "app/InstallTracks.h"

#include "app/SlotTable.h"
#include "platform/FileSystem.h"

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

} // namespace

QString gameSlotFolder(const QString& gameDir, const QString& slot)
{
    return gameDir + QStringLiteral("/Data/Tracks/") + slot + QLatin1Char('/');
}

QString workFolder(const QString& trackDir)
{
    return trackDir + QStringLiteral("../Temp");
}

QString libraryArchive(const QString& trackDir, const QString& slot, const QString& archive)
{
    return trackDir + slot + QLatin1Char('/') + archive;
}

void prepareWorkFolder(const QString& folder)
{
    if (!fs::folderExists(folder)) {
        fs::createFolder(folder);
        return;
    }
    const QString prefix = withSlash(folder);
    for (const QString& name : trackslots::TrackFileSet()) {
        if (fs::fileExists(prefix + name))
            fs::removeFile(prefix + name);
    }
}

QStringList moveTrackFilesIn(const QString& work, const QString& slotFolder)
{
    const QString from = withSlash(work);
    const QString to = withSlash(slotFolder);
    QStringList installed;
    if (!fs::folderExists(to))
        return installed;
    for (const QString& name : fs::findEntries(work, QStringLiteral("*.*"))) {
        // A "Temp" beside the library may hold files of someone else's: only track files go in.
        if (!isTrackFileName(name) || !fs::fileExists(from + name))
            continue;
        const QString standard = fs::findNameIgnoringCase(to, name);
        const QString target = standard.isEmpty() ? name : standard;
        if (!standard.isEmpty() && !fs::moveNoReplace(to + standard, to + QLatin1Char('0') + standard))
            continue;
        if (fs::moveNoReplace(from + name, to + target))
            installed.append(target);
    }
    return installed;
}

void restoreSlotFolder(const QString& slotFolder)
{
    const QString folder = withSlash(slotFolder);
    for (const QString& backup : fs::findEntries(folder, QStringLiteral("0*.*"))) {
        const QString name = backup.mid(1);
        if (name.isEmpty())
            continue;
        const QString addOn = fs::resolveIgnoringCase(folder + name);
        if (fs::fileExists(addOn))
            fs::removeFile(addOn);
        fs::moveNoReplace(folder + backup, folder + name);
    }
}

} // namespace install
