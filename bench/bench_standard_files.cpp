// Cost of the manifest of the standard track files: reading and hashing 19 slots of 21 files (about
// 160 MB) once at the first sight of a game folder, and what the start command adds per slot to compare
// the files it moves, when they match. Files are in the page cache (just written); a cold disk adds its
// reading time to the first sight. Prints figures; run by hand.
#include "app/InstallTracks.h"
#include "app/StandardCheck.h"
#include "app/StandardFiles.h"
#include "core/SlotTable.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr qsizetype kGameBytes = 160 * 1024 * 1024;
constexpr double kSlotBudgetMs = 5.0;

bool writeOldFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    // An installed game's files are years old: their time is trusted.
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() &&
           file.setFileTime(QDateTime(QDate(2001, 1, 1), QTime(12, 0)), QFile::FileModificationTime);
}

double throughput(QCryptographicHash::Algorithm algorithm, const QByteArray& data)
{
    QElapsedTimer clock;
    clock.start();
    QCryptographicHash::hash(data, algorithm);
    return data.size() / 1048576.0 / (clock.nsecsElapsed() / 1e9);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir root;
    const QString home = root.path() + "/home/";
    const QString game = root.path() + "/game/";
    const QString work = root.path() + "/Temp/";
    QDir().mkpath(home);
    QDir().mkpath(work);
    const QStringList& names = trackslots::TrackFileSet();
    const QStringList& slotNames = trackslots::SlotNames();
    QByteArray data(kGameBytes / (slotNames.size() * names.size()), Qt::Uninitialized);
    for (const QString& slot : slotNames) {
        QDir().mkpath(game + "Data/Tracks/" + slot);
        for (const QString& name : names) {
            QRandomGenerator::global()->fillRange(reinterpret_cast<quint32*>(data.data()), data.size() / 4);
            if (!writeOldFile(game + "Data/Tracks/" + slot + "/" + name, data)) {
                std::fprintf(stderr, "cannot write the game\n");
                return 1;
            }
        }
    }
    // An add-on that replaces every track file: the most a slot's check can touch.
    for (const QString& name : names)
        QFile(work + name).open(QIODevice::WriteOnly);

    QByteArray sample(8 * 1024 * 1024, 'x');
    QRandomGenerator::global()->fillRange(reinterpret_cast<quint32*>(sample.data()), sample.size() / 4);
    std::printf("hash speed: SHA-256 %.0f MB/s, BLAKE2b-256 %.0f MB/s\n",
                throughput(QCryptographicHash::Sha256, sample),
                throughput(QCryptographicHash::Blake2b_256, sample));

    QElapsedTimer clock;
    clock.start();
    if (!standard::takeAtFirstSight(home, game)) {
        std::fprintf(stderr, "the manifest was not taken\n");
        return 1;
    }
    const qint64 firstSightMs = clock.elapsed();
    std::printf("first sight: %lld ms for %lld MB in %lld files\n", static_cast<long long>(firstSightMs),
                static_cast<long long>(kGameBytes >> 20),
                static_cast<long long>(slotNames.size() * names.size()));

    // What one start adds: the manifest read, each slot's files compared before their backup, and
    // after a restore of every slot.
    clock.restart();
    StandardCheck check(home, game);
    for (const QString& slot : slotNames)
        check.compareBeforeBackup(slot, install::gameSlotFolder(game, slot), work);
    const double beforeBackupMs = clock.nsecsElapsed() / 1e6 / slotNames.size();
    for (const QString& slot : slotNames) {
        const QString folder = install::gameSlotFolder(game, slot);
        for (const QString& name : names)
            QFile::rename(folder + name, folder + "0" + name);
    }
    check.noteBackups();
    clock.restart();
    for (const QString& slot : slotNames) {
        const QString folder = install::gameSlotFolder(game, slot);
        for (const QString& name : names)
            QFile::rename(folder + "0" + name, folder + name);
    }
    clock.restart();
    check.compareRestored();
    const double afterRestoreMs = clock.nsecsElapsed() / 1e6 / slotNames.size();

    // For comparison: the same files hashed, as when their times cannot be trusted.
    const std::optional<standard::Manifest> manifest = standard::read(home, game);
    clock.restart();
    for (const standard::File& file : manifest->files)
        standard::compare(&file, install::gameSlotFolder(game, file.slot) + file.name, manifest->taken,
                          false);
    const double hashedMs = clock.nsecsElapsed() / 1e6 / slotNames.size();

    const bool met = beforeBackupMs <= kSlotBudgetMs && afterRestoreMs <= kSlotBudgetMs;
    std::printf("start command, files matching: %.3f ms per slot before the backups, %.3f ms per slot "
                "after the restore (target: at most %.0f ms) %s\n",
                beforeBackupMs, afterRestoreMs, kSlotBudgetMs, met ? "met" : "MISSED");
    std::printf("the same files hashed whole: %.1f ms per slot\n", hashedMs);
    std::printf("differences found: %lld (expected 0)\n", static_cast<long long>(check.differences().size()));
    return check.differences().isEmpty() ? 0 : 1;
}
