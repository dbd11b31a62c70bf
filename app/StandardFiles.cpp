#include "app/StandardFiles.h"

#include "app/InstallTracks.h"
#include "core/SlotTable.h"
#include "platform/FileName.h"
#include "platform/FileSystem.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace fs = platform::fs;

namespace standard {

namespace {

const QString kFileName = QStringLiteral("standard.dat");
const QByteArray kLineEnd("\r\n");
// A file's time is trusted only when it is older than the manifest by more than the coarsest time
// stamps in use (FAT keeps two seconds), so that a change made just after the reading shows.
constexpr qint64 kSettledMs = 3000;
// Nineteen slots of 21 files with a path each: far below this.
constexpr qint64 kLongestManifestFile = 64 << 20;

bool isTrackFileName(const QString& name)
{
    return trackslots::TrackFileSet().contains(name, Qt::CaseInsensitive);
}

// BLAKE2b rather than SHA-256: Qt's SHA-256 is portable code without the processor's SHA
// instructions and reads about 250 MB/s here, BLAKE2b about 650 MB/s, and both tell any change
// apart. "b2sum -l 256" gives the same hash.
QByteArray hashFile(const QString& path)
{
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Blake2b_256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        return {};
    return hash.result().toHex();
}

qint64 modifiedMs(const QFileInfo& info)
{
    return info.lastModified().toMSecsSinceEpoch();
}

QList<Manifest> readAll(const QString& homeDir)
{
    QFile file(homeDir + kFileName);
    if (!fs::fileExists(homeDir + kFileName) || !file.open(QIODevice::ReadOnly))
        return {};
    return parseManifests(file.read(kLongestManifestFile));
}

} // namespace

const File* Manifest::find(const QString& slot, const QString& name) const
{
    for (const File& file : files) {
        if (file.slot == slot && file.name.compare(name, Qt::CaseInsensitive) == 0)
            return &file;
    }
    return nullptr;
}

QByteArray manifestBytes(const QList<Manifest>& manifests)
{
    using platform::encodeFileName;
    QByteArray bytes;
    for (const Manifest& manifest : manifests) {
        bytes += "game\t" + QByteArray::number(manifest.taken) + '\t' + encodeFileName(manifest.gameDir) +
                 kLineEnd;
        for (const File& file : manifest.files)
            bytes += encodeFileName(file.slot) + '\t' + encodeFileName(file.name) + '\t' +
                     QByteArray::number(file.size) + '\t' + QByteArray::number(file.modified) + '\t' +
                     file.hash + kLineEnd;
    }
    return bytes;
}

QList<Manifest> parseManifests(const QByteArray& bytes)
{
    QList<Manifest> manifests;
    for (QByteArray line : bytes.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        const QList<QByteArray> fields = line.split('\t');
        if (fields.size() >= 3 && fields[0] == "game") {
            // The folder is the rest of the line, tabs and all.
            manifests.append({platform::decodeFileName(line.mid(fields[0].size() + fields[1].size() + 2)),
                              fields[1].toLongLong(),
                              {}});
        } else if (fields.size() == 5 && !manifests.isEmpty()) {
            bool sized = false;
            File file{platform::decodeFileName(fields[0]), platform::decodeFileName(fields[1]),
                      fields[2].toLongLong(&sized), fields[3].toLongLong(), fields[4]};
            if (sized && !file.hash.isEmpty())
                manifests.last().files.append(file);
        }
    }
    return manifests;
}

std::optional<Manifest> read(const QString& homeDir, const QString& gameDir)
{
    for (const Manifest& manifest : readAll(homeDir)) {
        if (manifest.gameDir == gameDir)
            return manifest;
    }
    return std::nullopt;
}

bool write(const QString& homeDir, const Manifest& manifest)
{
    QList<Manifest> manifests = readAll(homeDir);
    manifests.removeIf([&](const Manifest& other) { return other.gameDir == manifest.gameDir; });
    manifests.append(manifest);
    return fs::writeFileAtomically(homeDir + kFileName, manifestBytes(manifests)).isEmpty();
}

QList<StandardFile> standardFilesIn(const QString& slotFolder, const QStringList& addOnOnly)
{
    QList<StandardFile> files;
    const auto add = [&](const QString& name, const QString& entry) {
        const bool known = std::any_of(files.begin(), files.end(), [&](const StandardFile& file) {
            return file.name.compare(name, Qt::CaseInsensitive) == 0;
        });
        if (!known)
            files.append({name, slotFolder + entry});
    };
    const QStringList names = fs::findEntries(slotFolder, QStringLiteral("*.*"));
    // Backups first: a backup wins over the add-on that has its name.
    for (const QString& name : names) {
        if (name.startsWith(u'0') && isTrackFileName(name.mid(1)))
            add(name.mid(1), name);
    }
    for (const QString& name : names) {
        if (isTrackFileName(name) && !addOnOnly.contains(name, Qt::CaseInsensitive))
            add(name, name);
    }
    return files;
}

Manifest take(const QString& gameDir, const QMap<QString, QStringList>& addOnOnly)
{
    Manifest manifest{gameDir, QDateTime::currentMSecsSinceEpoch(), {}};
    for (const QString& slot : trackslots::SlotNames()) {
        for (const StandardFile& file :
             standardFilesIn(install::gameSlotFolder(gameDir, slot), addOnOnly.value(slot))) {
            const QFileInfo info(file.path);
            if (info.isFile())
                manifest.files.append({slot, file.name, info.size(), modifiedMs(info), hashFile(file.path)});
        }
    }
    return manifest;
}

bool anySlotHoldsBackups(const QString& gameDir)
{
    for (const QString& slot : trackslots::SlotNames()) {
        if (install::holdsBackups(install::gameSlotFolder(gameDir, slot)))
            return true;
    }
    return false;
}

bool takeAtFirstSight(const QString& homeDir, const QString& gameDir)
{
    if (gameDir.isEmpty() || gameDir == QStringLiteral("не выбран"))
        return false;
    const bool hasSlots =
        std::any_of(trackslots::SlotNames().begin(), trackslots::SlotNames().end(), [&](const QString& slot) {
            return fs::folderExists(install::gameSlotFolder(gameDir, slot));
        });
    if (!hasSlots || read(homeDir, gameDir) || anySlotHoldsBackups(gameDir))
        return false;
    return write(homeDir, take(gameDir));
}

Verdict compare(const File* recorded, const QString& path, qint64 taken, bool trustTimes)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile())
        return recorded ? Verdict::Missing : Verdict::Same;
    if (!recorded)
        return Verdict::Added;
    if (info.size() != recorded->size)
        return Verdict::Changed;
    if (trustTimes && modifiedMs(info) == recorded->modified && recorded->modified < taken - kSettledMs)
        return Verdict::Same;
    return hashFile(path) == recorded->hash ? Verdict::Same : Verdict::Changed;
}

} // namespace standard
