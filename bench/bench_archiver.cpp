// Times our archiver against 7z and unzip on the same archives and prints the ratios: a 21-file,
// ~8 MB track archive into an empty folder, and 20,000 small files into an empty folder and into one
// that already holds 20,000 other files. `bench_archiver OTHER` also times the archiver OTHER (an
// older build, say) on the same runs.
#include "tools/archiver/ZipWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

constexpr int trackFileCount = 21;
constexpr qsizetype trackBytes = 8 * 1024 * 1024;
constexpr int smallFileCount = 20000;

struct Contender
{
    QString label;
    QString program;
    QStringList arguments;
};

QByteArray noise(qsizetype size)
{
    QByteArray data(size, Qt::Uninitialized);
    QRandomGenerator generator(size);
    for (qsizetype i = 0; i < size; ++i)
        data[i] = char(generator.bounded(256));
    return data;
}

QList<ZipEntry> trackEntries(QStringList* names)
{
    QList<ZipEntry> entries;
    // Sizes grow with the index, as in a track where a few files carry most of the bytes.
    const qsizetype unit = trackBytes / (trackFileCount * (trackFileCount + 1) / 2);
    for (int i = 1; i <= trackFileCount; ++i) {
        const QString name = QStringLiteral("File%1.dat").arg(i, 2, 10, QLatin1Char('0'));
        names->append(name);
        entries.append(ZipEntry::file(QStringLiteral("Track/") + name, noise(unit * i)));
    }
    return entries;
}

QString smallName(int i)
{
    return QStringLiteral("small%1.dat").arg(i, 5, 10, QLatin1Char('0'));
}

QList<ZipEntry> smallEntries()
{
    QList<ZipEntry> entries;
    for (int i = 0; i < smallFileCount; ++i)
        entries.append(ZipEntry::file(smallName(i), noise(100), ZipEntry::Method::Store));
    return entries;
}

// Milliseconds of each run, the output folder made anew by `prepare` before each.
QList<qint64> timeRuns(const Contender& contender, int runs, const std::function<void()>& prepare)
{
    QList<qint64> times;
    for (int run = 0; run < runs; ++run) {
        prepare();
        QProcess process;
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
        QElapsedTimer timer;
        timer.start();
        process.start(contender.program, contender.arguments);
        if (!process.waitForFinished(600000) || process.exitCode() != 0) {
            std::fprintf(stderr, "%s failed\n", qPrintable(contender.label));
            return {};
        }
        times.append(timer.elapsed());
    }
    std::sort(times.begin(), times.end());
    return times;
}

void race(const QString& title, const QList<Contender>& contenders, int runs,
          const std::function<void()>& prepare)
{
    std::printf("%s; %d runs each, times in ms (min / median)\n", qPrintable(title), runs);
    qint64 oursMedian = 0;
    for (const Contender& contender : contenders) {
        const QList<qint64> times = timeRuns(contender, runs, prepare);
        if (times.isEmpty())
            continue;
        const qint64 median = times[times.size() / 2];
        if (oursMedian == 0)
            oursMedian = std::max<qint64>(median, 1);
        std::printf("  %-18s %6lld / %6lld   ours / this = %.2f\n", qPrintable(contender.label),
                    times.first(), median, double(oursMedian) / double(std::max<qint64>(median, 1)));
    }
}

QList<Contender> contenders(const QString& zip, const QString& output, const QString& listFile,
                            const QString& other)
{
    const QString ours = QStringLiteral(ROVEX_TOOL_ARCHIVER);
    QList<Contender> list{{"7zip.exe (ours)", ours, {"e", zip, "-o" + output}}};
    if (!listFile.isEmpty())
        list.append({"7zip.exe @list", ours, {"e", zip, "-o" + output, "@" + listFile}});
    if (!other.isEmpty())
        list.append({"other 7zip.exe", other, {"e", zip, "-o" + output}});
    const QString sevenZip = QStandardPaths::findExecutable("7z");
    if (!sevenZip.isEmpty())
        list.append({"7z e", sevenZip, {"e", zip, "-o" + output, "-y"}});
    const QString unzip = QStandardPaths::findExecutable("unzip");
    if (!unzip.isEmpty())
        list.append({"unzip -j", unzip, {"-q", "-o", "-j", zip, "-d", output}});
    return list;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString other = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    QTemporaryDir temp;
    if (!temp.isValid())
        return 1;
    const QString output = temp.filePath("Temp");
    const auto emptyOutput = [&] {
        QDir(output).removeRecursively();
        QDir().mkpath(output);
    };

    const QString trackZip = temp.filePath("track.zip");
    const QString listFile = temp.filePath("files.lst");
    QStringList names;
    QString error;
    if (!writeZip(trackZip, trackEntries(&names), &error)) {
        std::fprintf(stderr, "cannot build the archive: %s\n", qPrintable(error));
        return 1;
    }
    QFile list(listFile);
    if (!list.open(QIODevice::WriteOnly) || list.write(names.join("\r\n").toUtf8() + "\r\n") < 0)
        return 1;
    list.close();
    race(QStringLiteral("track archive: %1 files, %2 bytes, into an empty folder")
             .arg(trackFileCount)
             .arg(QFileInfo(trackZip).size()),
         contenders(trackZip, output, listFile, other), 7, emptyOutput);

    const QString smallZip = temp.filePath("small.zip");
    if (!writeZip(smallZip, smallEntries(), &error)) {
        std::fprintf(stderr, "cannot build the archive: %s\n", qPrintable(error));
        return 1;
    }
    race(QStringLiteral("%1 small files into an empty folder").arg(smallFileCount),
         contenders(smallZip, output, QString(), other), 3, emptyOutput);
    const auto fullOutput = [&] {
        emptyOutput();
        for (int i = 0; i < smallFileCount; ++i) {
            QFile file(QDir(output).filePath(QStringLiteral("other%1.dat").arg(i)));
            if (!file.open(QIODevice::WriteOnly) || file.write("old") != 3)
                std::fprintf(stderr, "cannot fill the output folder\n");
        }
    };
    race(QStringLiteral("%1 small files into a folder holding %1 other files").arg(smallFileCount),
         contenders(smallZip, output, QString(), other), 3, fullOutput);
    return 0;
}
