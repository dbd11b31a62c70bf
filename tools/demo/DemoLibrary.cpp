#include "tools/demo/DemoLibrary.h"

#include "core/SlotTable.h"
#include "tools/archiver/ZipWriter.h"

#include <QDir>

namespace demo {

namespace {

// One add-on: the first `fileCount` track files, in a folder inside the archive or at its top,
// optionally with upper-case names (as old add-ons made on Windows often have) and one more file
// that the game does not know.
struct AddOn
{
    const char* slot;
    const char* archive;
    const char* folderInArchive;
    int fileCount;
    bool upperCaseNames;
    const char* extraFile;
};

constexpr AddOn kLibraryAddOns[] = {
    {"Aquatica", "aquatica_night.zip", "Aquatica Night/", 21, false, nullptr},
    {"Aquatica", "aquatica_storm.zip", "", 8, true, nullptr},
    {"Aquatica", "aquatica_sunset.zip", "", 5, false, "readme.txt"},
    {"Coastal", "dolphin_reverse.zip", "dolphin/", 12, false, nullptr},
    {"Hometown", "hometown_winter.zip", "", 21, false, "winter_sky.bmp"},
    {"Snowy", "snowy_classic.zip", "tracks/snowy/", 6, true, nullptr},
    {"UK", "london_ring.zip", "", 15, false, nullptr},
};

struct Download
{
    const char* archive;
    const char* descriptionName;
    const char* description;
    int fileCount;
};

// The descriptions name exactly one slot each and hold no other slot name inside a longer word.
constexpr Download kDownloads[] = {
    {"alpine_pass.zip", "readme.txt", "Track: Alpine Pass\r\nSlot: Rockypas\r\n", 10},
    {"city_lights.zip", "info.txt", "Night city\r\nInstall into the Empire slot\r\n", 21},
};

QList<ZipEntry> trackEntries(const QString& archive, const QString& folder, int count, bool upperCase)
{
    QList<ZipEntry> entries;
    if (!folder.isEmpty())
        entries.append(ZipEntry::folder(folder));
    const QStringList& names = trackslots::TrackFileSet();
    for (int i = 0; i < count && i < names.size(); ++i) {
        const QString name = upperCase ? names.at(i).toUpper() : names.at(i);
        entries.append(ZipEntry::file(folder + name, addOnContents(archive, name)));
    }
    return entries;
}

QString writeArchive(const QString& path, const QList<ZipEntry>& entries)
{
    QString error;
    if (!writeZip(path, entries, &error))
        return QStringLiteral("cannot write %1: %2").arg(path, error);
    return {};
}

} // namespace

QByteArray addOnContents(const QString& archive, const QString& file)
{
    return QStringLiteral("add-on %1 %2\r\n").arg(archive, file).toUtf8();
}

QString createLibrary(const QString& libraryFolder)
{
    for (const QString& slot : trackslots::SlotNames()) {
        if (!QDir().mkpath(libraryFolder + QLatin1Char('/') + slot))
            return QStringLiteral("cannot create %1/%2").arg(libraryFolder, slot);
    }
    for (const AddOn& addOn : kLibraryAddOns) {
        const QString archive = QString::fromUtf8(addOn.archive);
        QList<ZipEntry> entries = trackEntries(archive, QString::fromUtf8(addOn.folderInArchive),
                                               addOn.fileCount, addOn.upperCaseNames);
        if (addOn.extraFile)
            entries.append(ZipEntry::file(QString::fromUtf8(addOn.folderInArchive) + addOn.extraFile,
                                          addOnContents(archive, QString::fromUtf8(addOn.extraFile))));
        const QString path = libraryFolder + QLatin1Char('/') + addOn.slot + QLatin1Char('/') + archive;
        const QString error = writeArchive(path, entries);
        if (!error.isEmpty())
            return error;
    }
    return {};
}

QString createDownloads(const QString& downloadsFolder)
{
    if (!QDir().mkpath(downloadsFolder))
        return QStringLiteral("cannot create %1").arg(downloadsFolder);
    for (const Download& download : kDownloads) {
        const QString archive = QString::fromUtf8(download.archive);
        QList<ZipEntry> entries = trackEntries(archive, QString(), download.fileCount, false);
        entries.append(ZipEntry::file(QString::fromUtf8(download.descriptionName), download.description));
        const QString error = writeArchive(downloadsFolder + QLatin1Char('/') + archive, entries);
        if (!error.isEmpty())
            return error;
    }
    return {};
}

} // namespace demo
