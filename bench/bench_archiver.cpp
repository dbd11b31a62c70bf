// Times our archiver against 7z and bsdtar measured in the same run (each skipped when not installed):
// a zip of 5,000 entries of 64–200 bytes into an empty folder and into one holding a file (into an
// empty folder our archiver commits with one rename of its private folder, into the other it moves
// each file in), and a 21-file, ~8 MB track archive into an empty folder; then the start-up of the
// companions: "7zip.exe --help", the command interpreter running a batch of one copy line, and a
// slot's batch (the archiver and the marker copy) against the plain archiver run it holds.
// Contenders take turns run by run, so a busy machine slows all alike, and besides the time each run
// takes, the processor time it used is given, which other programs on the machine disturb less.
//
// Each run extracts into a new folder, and the folders are removed only after the races of the small
// files: on ext4 without a journal, creating a file skips over every file removed in the last
// minutes, so removals between runs would swamp what is measured. (Keeping them longer slows what
// follows: memory runs short.) The folders are made under TMPDIR (default /tmp): the file system
// decides much of the figures, so say which was used; the small files take about 2 GB and 450,000
// inodes there for a while. On a machine whose disk has an ext4 without a journal, a journaled one
// is a loop image away (as root; remove it afterwards):
//   truncate -s 8G ext4.img && mkfs.ext4 -q -i 8192 ext4.img && mount -o loop ext4.img /mnt/ext4
//   TMPDIR=/mnt/ext4 bench_archiver
//
// `bench_archiver OTHER_HOME` also times the "7zip.exe" and "rovex-cmd" in the folder OTHER_HOME (an
// older build, say).
#include "tools/archiver/ZipWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

constexpr int trackFileCount = 21;
constexpr qsizetype trackBytes = 8 * 1024 * 1024;
constexpr int tinyEntryCount = 5000;

struct Contender
{
    QString label;
    QStringList command; // the program first; "%OUT%" stands for the run's output folder
};

struct Time
{
    double wallMs = -1; // negative: the run failed
    double cpuMs = 0;
};

QByteArray noise(qsizetype size, QRandomGenerator& generator)
{
    QByteArray data(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        data[i] = char(generator.bounded(256));
    return data;
}

QList<ZipEntry> trackEntries(QStringList* names)
{
    QRandomGenerator generator(trackBytes);
    QList<ZipEntry> entries;
    // Sizes grow with the index, as in a track where a few files carry most of the bytes.
    const qsizetype unit = trackBytes / (trackFileCount * (trackFileCount + 1) / 2);
    for (int i = 1; i <= trackFileCount; ++i) {
        const QString name = QStringLiteral("File%1.dat").arg(i, 2, 10, QLatin1Char('0'));
        names->append(name);
        entries.append(ZipEntry::file(QStringLiteral("Track/") + name, noise(unit * i, generator)));
    }
    return entries;
}

QList<ZipEntry> tinyEntries()
{
    QRandomGenerator generator(tinyEntryCount);
    QList<ZipEntry> entries;
    for (int i = 0; i < tinyEntryCount; ++i) {
        const QString name = QStringLiteral("tiny%1.dat").arg(i, 5, 10, QLatin1Char('0'));
        entries.append(ZipEntry::file(name, noise(64 + generator.bounded(137), generator)));
    }
    return entries;
}

// The time from starting `command` to its end and the processor time it used, output thrown away.
Time timeOnce(const QStringList& command)
{
    std::vector<QByteArray> owned;
    for (const QString& word : command)
        owned.push_back(QFile::encodeName(word));
    std::vector<char*> argv;
    for (QByteArray& word : owned)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    QElapsedTimer timer;
    timer.start();
    pid_t child = 0;
    const int started = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    rusage usage{};
    if (started != 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0)
        return {};
    const double wallMs = timer.nsecsElapsed() / 1e6;
    const auto ms = [](const timeval& t) {
        return t.tv_sec * 1e3 + t.tv_usec / 1e3;
    };
    return {wallMs, ms(usage.ru_utime) + ms(usage.ru_stime)};
}

bool writeText(const QString& path, const QByteArray& text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Runs every contender `runs` times, taking turns, each run into a new folder under `base` (none
// when `base` is empty), empty or holding one file as `occupied` says; prints the median time and
// processor time of each and their ratios to the first contender's.
void race(const QString& title, const QList<Contender>& contenders, int runs, const QString& base = {},
          bool occupied = false)
{
    std::printf("%s; %d runs each, medians in ms\n", qPrintable(title), runs);
    std::vector<std::vector<Time>> times(contenders.size());
    static int folders = 0; // numbered across races: the folders outlive a race
    for (int run = 0; run < runs; ++run) {
        for (qsizetype i = 0; i < contenders.size(); ++i) {
            const QString output =
                base.isEmpty() ? QString() : QStringLiteral("%1/%2").arg(base).arg(++folders);
            if (!output.isEmpty())
                QDir().mkpath(output);
            if (!output.isEmpty() && occupied)
                writeText(output + "/keep.txt", "kept");
            QStringList command = contenders[i].command;
            command.replaceInStrings(QStringLiteral("%OUT%"), output);
            times[i].push_back(timeOnce(command));
        }
    }
    double firstWall = 0;
    double firstCpu = 0;
    for (qsizetype i = 0; i < contenders.size(); ++i) {
        std::vector<double> wall;
        std::vector<double> cpu;
        for (const Time& time : times[i]) {
            wall.push_back(time.wallMs);
            cpu.push_back(time.cpuMs);
        }
        if (*std::min_element(wall.begin(), wall.end()) < 0) {
            std::printf("  %-36s failed\n", qPrintable(contenders[i].label));
            continue;
        }
        if (i == 0) {
            firstWall = median(wall);
            firstCpu = median(cpu);
        }
        std::printf("  %-36s time %7.1f (%.2f x)   processor %7.1f (%.2f x)\n",
                    qPrintable(contenders[i].label), median(wall), median(wall) / std::max(firstWall, 0.001),
                    median(cpu), median(cpu) / std::max(firstCpu, 0.001));
    }
}

// Our archiver, the other build when given, and the peers that are installed; `stripFolder` strips
// the one folder the archive's names start with where a peer keeps folders.
QList<Contender> extractors(const QString& zip, const QString& otherHome, bool stripFolder)
{
    QList<Contender> list{{"7zip.exe (ours)", {ROVEX_TOOL_ARCHIVER, "e", zip, "-o%OUT%"}}};
    if (!otherHome.isEmpty())
        list.append({"other 7zip.exe", {otherHome + "/7zip.exe", "e", zip, "-o%OUT%"}});
    const QString sevenZip = QStandardPaths::findExecutable("7z");
    if (!sevenZip.isEmpty())
        list.append({"7z e", {sevenZip, "e", zip, "-o%OUT%", "-y"}});
    const QString bsdtar = QStandardPaths::findExecutable("bsdtar");
    if (!bsdtar.isEmpty()) {
        QStringList command{bsdtar, "-x", "-f", zip, "-C", "%OUT%"};
        if (stripFolder)
            command << "--strip-components"
                    << "1";
        list.append({"bsdtar -x", command});
    }
    return list;
}

// The start-up rows of one build of the companions: the archiver's help, the interpreter running one
// copy line, the archiver taking a slot's one file out of a small archive, and the interpreter
// running the slot's batch: that same extraction and the marker copy. Empty when the files cannot be
// written.
QList<Contender> companions(const QString& tag, const QString& archiver, const QString& interpreter,
                            const QString& folder)
{
    const QString slotZip = folder + "/slot.zip";
    const QString list = folder + "/files.lst";
    const QString output = folder + "/Temp";
    const QString settings = folder + "/extrc.pif";
    const QString copyBatch = folder + "/copy.bat";
    const QString slotBatch = QStringLiteral("%1/extrc-%2.bat").arg(folder, tag.isEmpty() ? "ours" : "other");
    const QString copyLine = QStringLiteral("copy \"%1\" \"%2/files1.lst\" /Y").arg(list, folder);
    if (!writeZip(slotZip, {ZipEntry::file("Track/Tr.frd", QByteArray(4096, 'r'))}) ||
        !writeText(list, "Tr.frd\r\n") || !writeText(settings, "[Batch]\r\nTimeout=600\r\n") ||
        !writeText(copyBatch, copyLine.toUtf8()) ||
        !writeText(slotBatch, QStringLiteral("\"%1\" e \"%2\" \"-o%3\" \"@%4\"\r\n%5")
                                  .arg(archiver, slotZip, output, list, copyLine)
                                  .toUtf8()))
        return {};
    return {{tag + "7zip.exe --help", {archiver, "--help"}},
            {tag + "rovex-cmd, one copy line", {interpreter, "--settings", settings, copyBatch}},
            {tag + "7zip.exe, one file of a slot", {archiver, "e", slotZip, "-o" + output, "@" + list}},
            {tag + "rovex-cmd, the slot's batch", {interpreter, "--settings", settings, slotBatch}}};
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString otherHome = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    QTemporaryDir temp;
    if (!temp.isValid())
        return 1;
    std::printf("folders under %s\n", qPrintable(QFileInfo(temp.path()).path()));
    const QString outputs = temp.filePath("runs");

    const QString trackZip = temp.filePath("track.zip");
    const QString tinyZip = temp.filePath("tiny.zip");
    QStringList names;
    QString error;
    if (!writeZip(trackZip, trackEntries(&names), &error) || !writeZip(tinyZip, tinyEntries(), &error)) {
        std::fprintf(stderr, "cannot build the archives: %s\n", qPrintable(error));
        return 1;
    }
    race(QStringLiteral("%1 entries of 64-200 bytes, %2 bytes, into an empty folder")
             .arg(tinyEntryCount)
             .arg(QFileInfo(tinyZip).size()),
         extractors(tinyZip, otherHome, false), 11, outputs);
    race(QStringLiteral("the same into a folder holding one file"), extractors(tinyZip, otherHome, false), 11,
         outputs, true);
    QDir(outputs).removeRecursively();
    race(QStringLiteral("track archive: %1 files, %2 bytes, into an empty folder")
             .arg(trackFileCount)
             .arg(QFileInfo(trackZip).size()),
         extractors(trackZip, otherHome, true), 11, outputs);
    QDir(outputs).removeRecursively();
    QList<Contender> startUp = companions({}, ROVEX_TOOL_ARCHIVER, ROVEX_TOOL_ROVEX_CMD, temp.path());
    if (!otherHome.isEmpty())
        startUp += companions("other ", otherHome + "/7zip.exe", otherHome + "/rovex-cmd", temp.path());
    if (startUp.isEmpty()) {
        std::fprintf(stderr, "cannot write the batch files\n");
        return 1;
    }
    for (const char* peer : {"7z", "bsdtar"}) {
        const QString program = QStandardPaths::findExecutable(peer);
        if (!program.isEmpty())
            startUp.append({QStringLiteral("%1 --help").arg(peer), {program, "--help"}});
    }
    race(QStringLiteral("start-up of the companions"), startUp, 41);
    return 0;
}
