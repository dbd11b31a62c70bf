// Speed of the start command's extraction: 19 slots of about 8 MB archives through our batch runner
// against plain archiver runs on the same archives, and the processor time our process spends while
// it waits for the archiver. Prints figures; run by hand.
#include "app/BatchRunner.h"
#include "app/InstallTracks.h"
#include "core/SlotTable.h"
#include "platform/Process.h"
#include "tools/archiver/ZipWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>
#include <sys/resource.h>

namespace {

constexpr qsizetype kArchiveBytes = 8 * 1024 * 1024;

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

bool makeArchive(const QString& path)
{
    const QStringList& names = trackslots::TrackFileSet();
    QList<ZipEntry> entries;
    for (const QString& name : names) {
        QByteArray data(kArchiveBytes / names.size(), Qt::Uninitialized);
        QRandomGenerator::global()->fillRange(reinterpret_cast<quint32*>(data.data()), data.size() / 4);
        entries.append(ZipEntry::file(name, data, ZipEntry::Method::Store));
    }
    return writeZip(path, entries);
}

void emptyFolder(const QString& folder)
{
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir root;
    const QString home = root.path() + "/home/";
    const QString library = root.path() + "/library/";
    const QString game = root.path() + "/game/";
    QDir().mkpath(home);
    QFile::link(QStringLiteral(ROVEX_TOOL_ARCHIVER), home + "7zip.exe");
    QFile pif(home + "extrc.pif");
    if (!pif.open(QIODevice::WriteOnly))
        return 1;
    pif.close();
    platform::setInterpreterPath(QStringLiteral(ROVEX_TOOL_ROVEX_CMD));

    const auto& rows = trackslots::windowOrder();
    for (const auto& row : rows) {
        const QString slot = QString::fromUtf8(row.name);
        QDir().mkpath(library + slot);
        QDir().mkpath(game + "Data/Tracks/" + slot);
        if (!makeArchive(library + slot + "/track.zip")) {
            std::fprintf(stderr, "cannot write the archives\n");
            return 1;
        }
    }
    BatchRunner runner(home, home + "7zip.exe");
    runner.writeTrackList();
    const QString work = install::workFolder(library);

    QElapsedTimer clock;
    clock.start();
    for (const auto& row : rows) {
        emptyFolder(work);
        QProcess::execute(home + "7zip.exe",
                          {"e", library + row.name + "/track.zip", "-o" + work, "@" + home + "files.lst"});
    }
    const qint64 plainMs = clock.elapsed();

    double waitingCpu = 0;
    qint64 waitingMs = 0;
    clock.restart();
    for (const auto& row : rows) {
        const QString slot = QString::fromUtf8(row.name);
        emptyFolder(work);
        install::prepareWorkFolder(work);
        const double cpuBefore = cpuSeconds();
        QElapsedTimer wait;
        wait.start();
        if (runner.extractTrackFiles(library + slot + "/track.zip", work) != BatchRunner::Outcome::Done) {
            std::fprintf(stderr, "extraction of %s failed: %s\n", row.name, qPrintable(runner.reason()));
            return 1;
        }
        waitingMs += wait.elapsed();
        waitingCpu += cpuSeconds() - cpuBefore;
        install::moveTrackFilesIn(work, install::gameSlotFolder(game, slot));
    }
    const qint64 oursMs = clock.elapsed();

    const qint64 budgetMs = plainMs + 20 * qint64(rows.size());
    const double cpuShare = waitingMs > 0 ? 100.0 * waitingCpu * 1000.0 / waitingMs : 0.0;
    std::printf("plain archiver runs:       %lld ms for %zu archives of %lld MB\n",
                static_cast<long long>(plainMs), rows.size(), static_cast<long long>(kArchiveBytes >> 20));
    std::printf("start command extraction:  %lld ms (target: within %lld ms) %s\n",
                static_cast<long long>(oursMs), static_cast<long long>(budgetMs),
                oursMs <= budgetMs ? "met" : "MISSED");
    std::printf("processor time while waiting: %.1f ms of %lld ms waiting = %.2f%% (target: below 5%%) %s\n",
                waitingCpu * 1000.0, static_cast<long long>(waitingMs), cpuShare,
                cpuShare < 5.0 ? "met" : "MISSED");
    return 0;
}
