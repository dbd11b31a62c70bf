// The start command against the archiver's own work: a Start with 19 slots of about 8 MB archives
// (from the press of Старт to the game started) against 19 plain archiver runs on the same archives,
// measured side by side in every round. Also prints where the difference goes: the interpreter's own
// start and marker, the extraction through the batch runner, and the processor time Rovex spends
// while it waits. Run by hand: bench_start [ROUNDS] (default 5).
#include "app/BatchRunner.h"
#include "app/InstallTracks.h"
#include "app/main_window.h"
#include "core/Settings.h"
#include "core/SlotTable.h"
#include "platform/Dialogs.h"
#include "platform/Process.h"
#include "platform/RunningGame.h"
#include "tools/archiver/ZipWriter.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <sys/resource.h>
#include <vector>

namespace {

constexpr qsizetype kArchiveBytes = 8 * 1024 * 1024;
constexpr double kTargetPerSlotMs = 20;
constexpr double kGoalPerSlotMs = 5;

// Counts what the start command tells the user while `counting`: a benchmark run must tell nothing.
class CountingDialogs final : public platform::Dialogs
{
public:
    bool counting = false;
    int shown = 0;
    void message(QWidget*, const QString& text) override { tell(text); }
    void error(QWidget*, const QString& text) override { tell(text); }
    bool askYesNo(QWidget*, const QString&, const QString& text) override
    {
        tell(text);
        return false;
    }
    QString chooseFolder(QWidget*, const QString&) override { return {}; }
    QString chooseOpenFile(QWidget*, const QString&, const QString&, const QString&) override { return {}; }

private:
    void tell(const QString& text)
    {
        if (!counting)
            return;
        ++shown;
        std::fprintf(stderr, "told: %s\n", qPrintable(text));
    }
};

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
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

double millisecondsOf(const std::function<void()>& work)
{
    QElapsedTimer clock;
    clock.start();
    work();
    return clock.nsecsElapsed() / 1e6;
}

// A library with one archive per slot, a game with the 21 standard files in every slot and an
// "nfshs.exe" that ends at once, and a home folder whose settings name both.
class Setup
{
public:
    bool make()
    {
        home = m_root.path() + "/home/";
        library = m_root.path() + "/library/";
        game = m_root.path() + "/game/";
        processes = m_root.path() + "/proc/";
        scratchGame = m_root.path() + "/scratch/";
        QDir().mkpath(home);
        QDir().mkpath(processes);
        if (!QFile::link(QStringLiteral(ROVEX_TOOL_ARCHIVER), home + "7zip.exe") ||
            !writeFile(home + "extrc.pif", "[Batch]\r\nTimeout=600\r\n"))
            return false;
        // The default skin, so that the window paints what a user sees.
        const QDir built(QStringLiteral(ROVEX_HOME_DIR));
        for (const QString& name : built.entryList({"skin*"}, QDir::Files)) {
            if (!QFile::copy(built.filePath(name), home + name))
                return false;
        }
        for (const auto& row : trackslots::windowOrder()) {
            const QString slot = QString::fromUtf8(row.name);
            QDir().mkpath(library + slot);
            QDir().mkpath(game + "Data/Tracks/" + slot);
            if (!makeArchive(library + slot + "/track.zip"))
                return false;
            for (const QString& name : trackslots::TrackFileSet()) {
                if (!writeFile(game + "Data/Tracks/" + slot + "/" + name, "standard " + name.toUtf8()))
                    return false;
            }
        }
        // The game notes the moment it starts (its shell's start-up, a millisecond or two, counts
        // against the start command).
        const QString exe = game + "nfshs.exe";
        if (!writeFile(exe, "#!/bin/sh\ndate +%s%N > started.tmp && mv started.tmp started\n"))
            return false;
        QFile::setPermissions(exe, QFile::permissions(exe) | QFile::ExeOwner);
        writeSettings(home + "options.dat", {library, game, QStringLiteral("1")});
        return true;
    }

    QString home;
    QString library;
    QString game;
    QString processes;
    QString scratchGame; // where the batch runner's extractions are moved, apart from the game

    // Gives every slot of the scratch game its 21 standard files back, without add-ons or backups.
    bool resetScratchGame() const
    {
        QDir(scratchGame).removeRecursively();
        for (const auto& row : trackslots::windowOrder()) {
            const QString folder = scratchGame + "Data/Tracks/" + row.name + "/";
            QDir().mkpath(folder);
            for (const QString& name : trackslots::TrackFileSet()) {
                if (!writeFile(folder + name, "standard " + name.toUtf8()))
                    return false;
            }
        }
        return true;
    }

private:
    QTemporaryDir m_root;
};

qint64 realtimeNs()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// The moment the game noted, waited for up to ten seconds; 0 when it never came.
qint64 gameStartedNs(const QString& game)
{
    QElapsedTimer waited;
    waited.start();
    QFile stamp(game + "started");
    while (!stamp.open(QIODevice::ReadOnly)) {
        if (waited.elapsed() > 10000)
            return 0;
        QThread::msleep(1);
    }
    return stamp.readAll().trimmed().toLongLong();
}

// One press of Старт in a new window on the home folder, in the given mode; milliseconds from the
// press to the game started, or a negative figure when the game was not started.
double pressStart(const Setup& setup, CountingDialogs& dialogs, bool newTracks, double* cpuMs = nullptr)
{
    QFile::remove(setup.game + "started");
    QDir::setCurrent(setup.home);
    TForm1 form;
    if (!form.FormCreate())
        return -1;
    form.show();
    (newTracks ? form.NTr : form.StTr)->setChecked(true);
    for (const auto& row : trackslots::windowOrder())
        form.slotCheckBox(QString::fromUtf8(row.name))->setChecked(true);
    // The skin's banner at start-up is no business of the start command.
    dialogs.shown = 0;
    dialogs.counting = true;
    const double cpuBefore = cpuSeconds();
    const qint64 pressedNs = realtimeNs();
    form.BitBtn2Click();
    dialogs.counting = false;
    if (cpuMs)
        *cpuMs = (cpuSeconds() - cpuBefore) * 1000;
    const qint64 startedNs = form.GameLaunched && dialogs.shown == 0 ? gameStartedNs(setup.game) : 0;
    return startedNs > 0 ? (startedNs - pressedNs) / 1e6 : -1;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    CountingDialogs dialogs;
    platform::setDialogs(&dialogs);
    Setup setup;
    if (!setup.make()) {
        std::fprintf(stderr, "cannot lay out the library and the game\n");
        return 1;
    }
    // No game running elsewhere on the machine may stop the start.
    platform::setProcessTable(setup.processes);
    platform::setInterpreterPath(QStringLiteral(ROVEX_TOOL_ROVEX_CMD));
    const auto& rows = trackslots::windowOrder();
    const QString work = install::workFolder(setup.library);
    const QString list = setup.home + "files.lst";
    const double slotCount = double(rows.size());

    std::vector<double> plain, start, startCpu, interpreter, runner, runnerWaitCpu, moves, restore;
    for (int round = 0; round < rounds; ++round) {
        BatchRunner batches(setup.home, setup.home + "7zip.exe");
        batches.writeTrackList();

        double plainMs = 0;
        for (const auto& row : rows) {
            emptyFolder(work);
            plainMs += millisecondsOf([&] {
                QProcess::execute(setup.home + "7zip.exe",
                                  {"e", setup.library + row.name + "/track.zip", "-o" + work, "@" + list});
            });
        }
        plain.push_back(plainMs);

        // The interpreter on a batch of its marker line alone: its own start and the marker's copy.
        const QString markerBatch = setup.home + "marker.bat";
        writeFile(markerBatch, ("copy \"" + list + "\" \"" + setup.home + "marker.lst\" /Y\r\n").toUtf8());
        double interpreterMs = 0;
        for (int i = 0; i < int(rows.size()); ++i)
            interpreterMs += millisecondsOf([&] {
                QProcess::execute(QStringLiteral(ROVEX_TOOL_ROVEX_CMD),
                                  {"--settings", setup.home + "extrc.pif", markerBatch});
            });
        interpreter.push_back(interpreterMs);

        // The extraction through the batch runner, and the moves into a game apart.
        setup.resetScratchGame();
        double runnerMs = 0;
        double waitCpuMs = 0;
        double movesMs = 0;
        for (const auto& row : rows) {
            emptyFolder(work);
            const double cpuBefore = cpuSeconds();
            runnerMs += millisecondsOf([&] {
                if (batches.extractTrackFiles(setup.library + row.name + "/track.zip", work) !=
                    BatchRunner::Outcome::Done)
                    std::fprintf(stderr, "extraction of %s failed: %s\n", row.name,
                                 qPrintable(batches.reason()));
            });
            waitCpuMs += (cpuSeconds() - cpuBefore) * 1000;
            movesMs += millisecondsOf([&] {
                install::moveTrackFilesIn(work, install::gameSlotFolder(setup.scratchGame, row.name));
            });
        }
        runner.push_back(runnerMs);
        moves.push_back(movesMs);
        runnerWaitCpu.push_back(waitCpuMs);
        emptyFolder(work);

        double cpuMs = 0;
        start.push_back(pressStart(setup, dialogs, true, &cpuMs));
        startCpu.push_back(cpuMs);
        restore.push_back(pressStart(setup, dialogs, false));
        if (start.back() < 0 || restore.back() < 0) {
            std::fprintf(stderr, "a start did not go through cleanly\n");
            return 1;
        }
    }

    // Each round's Start against the same round's plain runs, so that a change of load between
    // rounds does not count.
    std::vector<double> overhead;
    for (int round = 0; round < rounds; ++round)
        overhead.push_back((start[round] - plain[round]) / slotCount);
    const double plainMs = median(plain);
    const double startMs = median(start);
    const double perSlot = median(overhead);
    std::printf("Start with %d slots of %lld MB zips, medians of %d rounds (each round measures both):\n",
                int(slotCount), static_cast<long long>(kArchiveBytes >> 20), rounds);
    std::printf("  press of Start -> game started:     %7.0f ms\n", startMs);
    std::printf("  plain archiver runs, same archives: %7.0f ms\n", plainMs);
    std::printf(
        "  overhead per slot:                  %7.1f ms (target <= %.0f ms: %s; goal <= %.0f ms: %s)\n",
        perSlot, kTargetPerSlotMs, perSlot <= kTargetPerSlotMs ? "met" : "MISSED", kGoalPerSlotMs,
        perSlot <= kGoalPerSlotMs ? "met" : "missed");
    std::printf("Where the overhead goes, per slot:\n");
    std::printf("  interpreter start and marker alone:  %6.1f ms\n", median(interpreter) / slotCount);
    std::printf("  batch runner extraction - plain:     %6.1f ms\n", (median(runner) - plainMs) / slotCount);
    std::printf("  moves into the game and their flush: %6.1f ms\n", median(moves) / slotCount);
    std::printf("  Start - extraction - moves:          %6.1f ms (settings, window, game start)\n",
                (startMs - median(runner) - median(moves)) / slotCount);
    std::printf("  standard start giving all back:      %6.0f ms in all\n", median(restore));
    const double waitShare = 100.0 * median(runnerWaitCpu) / median(runner);
    std::printf("Processor time of Rovex while it waits for the batches: %.1f ms of %.0f ms = %.2f%% "
                "(target: below 5%%) %s\n",
                median(runnerWaitCpu), median(runner), waitShare, waitShare < 5.0 ? "met" : "MISSED");
    std::printf("Processor time of Rovex during the whole Start: %.1f ms\n", median(startCpu));
    platform::setDialogs(nullptr);
    return 0;
}
