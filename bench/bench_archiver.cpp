// Times our archiver against 7z and unzip on the same 21-file, ~8 MB archive and prints the ratios.
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

namespace {

constexpr int fileCount = 21;
constexpr qsizetype totalSize = 8 * 1024 * 1024;
constexpr int runs = 7;

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
    const qsizetype unit = totalSize / (fileCount * (fileCount + 1) / 2);
    for (int i = 1; i <= fileCount; ++i) {
        const QString name = QStringLiteral("File%1.dat").arg(i, 2, 10, QLatin1Char('0'));
        names->append(name);
        entries.append(ZipEntry::file(QStringLiteral("Track/") + name, noise(unit * i)));
    }
    return entries;
}

// Milliseconds of each run, every run into a fresh empty folder.
QList<qint64> timeRuns(const Contender& contender, const QString& output)
{
    QList<qint64> times;
    for (int run = 0; run < runs; ++run) {
        QDir(output).removeRecursively();
        QDir().mkpath(output);
        QProcess process;
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
        QElapsedTimer timer;
        timer.start();
        process.start(contender.program, contender.arguments);
        if (!process.waitForFinished(300000) || process.exitCode() != 0) {
            std::fprintf(stderr, "%s failed\n", qPrintable(contender.label));
            return {};
        }
        times.append(timer.elapsed());
    }
    std::sort(times.begin(), times.end());
    return times;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir temp;
    if (!temp.isValid())
        return 1;
    const QString zip = temp.filePath("track.zip");
    const QString output = temp.filePath("Temp");
    const QString listFile = temp.filePath("files.lst");
    QStringList names;
    QString error;
    if (!writeZip(zip, trackEntries(&names), &error)) {
        std::fprintf(stderr, "cannot build the archive: %s\n", qPrintable(error));
        return 1;
    }
    QFile list(listFile);
    if (!list.open(QIODevice::WriteOnly) || list.write(names.join("\r\n").toUtf8() + "\r\n") < 0)
        return 1;
    list.close();
    std::printf("archive: %d files, %lld bytes; %d runs each, times in ms (min / median)\n", fileCount,
                QFileInfo(zip).size(), runs);

    const QString ours = QStringLiteral(ROVEX_TOOL_ARCHIVER);
    QList<Contender> contenders{{"7zip.exe (ours)", ours, {"e", zip, "-o" + output}},
                                {"7zip.exe @list", ours, {"e", zip, "-o" + output, "@" + listFile}}};
    const QString sevenZip = QStandardPaths::findExecutable("7z");
    if (!sevenZip.isEmpty())
        contenders.append({"7z e", sevenZip, {"e", zip, "-o" + output, "-y"}});
    const QString unzip = QStandardPaths::findExecutable("unzip");
    if (!unzip.isEmpty())
        contenders.append({"unzip -j", unzip, {"-q", "-o", "-j", zip, "-d", output}});

    qint64 oursMedian = 0;
    for (const Contender& contender : std::as_const(contenders)) {
        const QList<qint64> times = timeRuns(contender, output);
        if (times.isEmpty())
            continue;
        const qint64 median = times[times.size() / 2];
        if (oursMedian == 0)
            oursMedian = std::max<qint64>(median, 1);
        std::printf("%-18s %6lld / %6lld   ours / this = %.2f\n", qPrintable(contender.label), times.first(),
                    median, double(oursMedian) / double(std::max<qint64>(median, 1)));
    }
    return 0;
}
