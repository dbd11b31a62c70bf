// The archiver's flat extraction on any bytes, its promises checked after each input: nothing is
// written beside the output folder; a failure leaves the output folder as it was; a success leaves
// only regular files there, no two of whose names are equal ignoring letter case, new names only
// from the list when one is given, and every file it did not replace as it was; no descriptor stays
// open. Inputs of odd length are extracted with a list.
#include "fuzz/FuzzSupport.h"
#include "tests/archiver/ArchiverFixtures.h"
#include "tools/archiver/FlatExtractor.h"
#include "tools/archiver/FlatName.h"

#include <QDir>
#include <QFile>
#include <QSet>

#include <sys/stat.h>

namespace {

const QMap<QByteArray, QByteArray> StartingFiles{
    {"Tr.frd", "standard road"}, {"TR.CAN", "standard camera"}, {"keep.txt", "kept"}};

// Smaller than the archiver's own limits, so one input costs milliseconds, not gigabytes.
Limits fuzzLimits()
{
    Limits limits;
    limits.totalBytes = 64 << 20;
    limits.fileBytes = 16 << 20;
    limits.ratioFreeBytes = 1 << 20;
    limits.entries = 10000;
    return limits;
}

int openDescriptors()
{
    return int(
        QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size());
}

void resetOutput(const QString& output)
{
    QDir(output).removeRecursively();
    fuzz::expect(QDir().mkpath(output), "the output folder can be made");
    for (auto file = StartingFiles.begin(); file != StartingFiles.end(); ++file)
        fuzz::expect(writeNamedFile(output, file.key(), file.value()), "the starting files can be written");
}

bool onlyRegularFiles(const QString& output)
{
    const QDir folder(output);
    for (const QString& name :
         folder.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)) {
        struct stat info;
        if (lstat(QFile::encodeName(folder.filePath(name)).constData(), &info) != 0 || !S_ISREG(info.st_mode))
            return false;
    }
    return true;
}

void checkSuccess(const QMap<QByteArray, QByteArray>& after, const NameList* list)
{
    QSet<QByteArray> keys;
    for (const QByteArray& name : after.keys())
        keys.insert(nameKey(name));
    fuzz::expect(keys.size() == after.size(), "no two output names are equal ignoring letter case");
    for (auto file = after.begin(); file != after.end(); ++file) {
        const bool untouched =
            StartingFiles.value(file.key()) == file.value() && StartingFiles.contains(file.key());
        fuzz::expect(untouched || !list || list->accepts(file.key()),
                     "with a list only listed names are extracted");
    }
    for (auto file = StartingFiles.begin(); file != StartingFiles.end(); ++file) {
        const bool kept = after.value(file.key()) == file.value() && after.contains(file.key());
        fuzz::expect(kept || keys.contains(nameKey(file.key())), "a file the archive does not replace stays");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString sandbox = fuzz::scratchFolder() + QStringLiteral("/sandbox");
    const QString output = sandbox + QStringLiteral("/Temp");
    resetOutput(output);
    QDir(sandbox).remove(QStringLiteral("track.zip"));
    const QString archive = sandbox + QStringLiteral("/track.zip");
    {
        QFile file(archive);
        fuzz::expect(file.open(QIODevice::WriteOnly) &&
                         file.write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size),
                     "the input can be written");
    }
    NameList list;
    QString error;
    fuzz::expect(NameList::parse("Tr.frd\r\nTr.can\r\nreadme.txt\r\n", &list, &error), "the list parses");
    const bool withList = size % 2 == 1;
    const QMap<QByteArray, QByteArray> before = folderSnapshot(output);
    const int descriptors = openDescriptors();

    const ExitCode code = extractFlat(QFile::encodeName(archive), QFile::encodeName(output),
                                      withList ? list : NameList(), fuzzLimits());

    fuzz::expect(openDescriptors() == descriptors, "no descriptor is left open");
    fuzz::expect(QDir(sandbox).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden |
                                         QDir::System) == QStringList({"Temp", "track.zip"}),
                 "nothing is written beside the output folder");
    fuzz::expect(onlyRegularFiles(output), "the output folder holds only regular files");
    const QMap<QByteArray, QByteArray> after = folderSnapshot(output);
    if (code != ExitCode::Ok)
        fuzz::expect(after == before, "a failure leaves the output folder as it was");
    else
        checkSuccess(after, withList ? &list : nullptr);
    return 0;
}
