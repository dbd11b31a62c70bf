#include "tests/archiver/ArchiverFixtures.h"
#include "tests/support/Files.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

// Runs the built "7zip.exe" on archives made to lie, archives made on Windows, bombs and files that
// are no archives, and checks that the output folder gets what the archive's directory says or stays
// as it was.
class TestArchiverHostile : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void refusedArchivesLeaveOutputUntouched_data();
    void refusedArchivesLeaveOutputUntouched();
    void soundArchivesOfOddShapesExtract_data();
    void soundArchivesOfOddShapesExtract();
    void windowsNamesStayDistinct_data();
    void windowsNamesStayDistinct();
    void sparseEntryKeepsItsHoles();
    void onlySmallRegularListFilesNamingAFile_data();
    void onlySmallRegularListFilesNamingAFile();
    void onlyRegularFilesAreArchives_data();
    void onlyRegularFilesAreArchives();

private:
    struct Run
    {
        int exitCode = -1;
        QString errors;
    };

    Run extract(const QString& archive, const QString& listFile = QString());

    std::unique_ptr<QTemporaryDir> m_temp;
    QString m_output;
};

namespace {

const QByteArray StandardRoad = "standard road";
// "Прочее.txt" in Windows-1251, left in the output folder by some other program.
const QByteArray ForeignName = "\xCF\xF0\xEE\xF7\xE5\xE5.txt";

QByteArray trackZip()
{
    return craftZip(
        {{"Track/Tr.frd", "add-on road"}, {"Track/Tr.can", "camera"}, {"Track/Sky.qfs", "sky", {}, 0}});
}

// A tar of `files`, compressed by `filter` (nullptr: none), as bytes.
QByteArray tarBytes(const QString& folder, const QList<QPair<QByteArray, QByteArray>>& files,
                    const char* filter)
{
    const QString path = folder + "/made.tar";
    return writeCompressedTar(path, files, filter) ? readAll(path) : QByteArray();
}

// A tar of 100 kB of noise: no compressor shrinks it, so gzip keeps it in stored blocks, where a
// flipped byte changes the data and nothing else.
QByteArray noiseTar(const QString& folder, const char* filter)
{
    QByteArray noise(100000, Qt::Uninitialized);
    QRandomGenerator(18).fillRange(reinterpret_cast<quint32*>(noise.data()), noise.size() / 4);
    return tarBytes(folder, {{"Tr.frd", noise}}, filter);
}

QByteArray flipped(QByteArray bytes, qsizetype at)
{
    bytes[at] = char(bytes[at] ^ 0x55);
    return bytes;
}

// A tar cut in two, each part a gzip member of its own.
QByteArray twoGzipMembers(const QByteArray& tar)
{
    return compressed(tar.left(tar.size() / 2), "gzip") + compressed(tar.mid(tar.size() / 2), "gzip");
}

} // namespace

void TestArchiverHostile::init()
{
    m_temp = std::make_unique<QTemporaryDir>();
    QVERIFY(m_temp->isValid());
    m_output = m_temp->filePath("Temp");
    QVERIFY(writeBytes(m_output + "/Tr.frd", StandardRoad));
    QVERIFY(writeNamedFile(m_output, ForeignName, "kept"));
}

// Qt cannot name a file whose name is not UTF-8, so it cannot remove the foreign file either.
void TestArchiverHostile::cleanup()
{
    unlink((QFile::encodeName(m_output) + "/" + ForeignName).constData());
}

TestArchiverHostile::Run TestArchiverHostile::extract(const QString& archive, const QString& listFile)
{
    QStringList arguments{"e", archive, "-o" + m_output};
    if (!listFile.isEmpty())
        arguments.append("@" + listFile);
    QProcess process;
    process.start(QStringLiteral(ROVEX_TOOL_ARCHIVER), arguments);
    Run run;
    // Every case ends at once; one that waits on a FIFO or reads /dev/zero for ever fails here.
    if (!process.waitForFinished(20000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    if (process.exitStatus() == QProcess::NormalExit)
        run.exitCode = process.exitCode();
    run.errors = QString::fromUtf8(process.readAllStandardError());
    return run;
}

void TestArchiverHostile::refusedArchivesLeaveOutputUntouched_data()
{
    QTest::addColumn<QByteArray>("archive");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("reason");

    QTemporaryDir fixtures;
    const qint64 fourGiB = qint64(1) << 32;
    QTest::newRow("ZIP64 size 4 GiB above the data")
        << craftZip({{"Tr.frd", "0123456789", {}, 8, fourGiB + 10, true}}) << 6 << "larger than 512 MiB";
    QTest::newRow("nothing stored as 1 TiB")
        << craftZip({{"Tr.ini", "", {}, 0, qint64(1) << 40, true}}) << 6 << "larger than 512 MiB";
    // 2.2 MB of real data, so 1000 times the archive's size lies beyond 2 GiB.
    QTest::newRow("files declaring 2.5 GiB in all")
        << craftZip({{"padding.dat", QByteArray(2200000, 'p'), {}, 0},
                     {"a.dat", "a", {}, 0, qint64(500) << 20},
                     {"b.dat", "b", {}, 0, qint64(500) << 20},
                     {"c.dat", "c", {}, 0, qint64(500) << 20},
                     {"d.dat", "d", {}, 0, qint64(500) << 20},
                     {"e.dat", "e", {}, 0, qint64(500) << 20}})
        << 6 << "2048 MiB in all";
    QList<CraftedEntry> many;
    for (int i = 0; i <= 100000; ++i)
        many.append({QByteArray::number(i), "", {}, 0});
    QTest::newRow("100001 entries") << craftZip(many) << 6 << "100001 entries";
    const QString bomb = fixtures.filePath("bomb.tar.xz");
    QVERIFY(writeCompressedTar(bomb, {{"Tr.frd", QByteArray(40 << 20, '\0')}}, "xz"));
    QTest::newRow("40 MiB of zeros in a few KiB") << readAll(bomb) << 6 << "1000 times";
    // An LZMA entry (method 14, its stream ended by a marker: flag 2) whose properties ask for a
    // 1.5 GiB dictionary; the stream is that of an .lzma file, after its 13-byte header.
    const QByteArray lzmaData =
        QByteArray("\x09\x14\x05\x00\x5D\x00\x00\x00\x60", 9) + compressed("road", "lzma").mid(13);
    QTest::newRow("a 1.5 GiB dictionary")
        << craftZip({{"Tr.frd", "road", {}, 14, -1, false, lzmaData, 2}}) << 6 << "memory";
    QTest::newRow("local header names another file")
        << craftZip({{"Tr.frd", "road"}, {"Tr.ini", "good", "evil.txt"}}) << 3 << "evil.txt";
    QTest::newRow("Deflate64") << craftZip({{"Tr.frd", "road", {}, 9}}) << 7 << "compression method";
    QByteArray cut = trackZip();
    cut.chop(30);
    QTest::newRow("zip without its directory") << cut << 3 << "directory";
    // Sizes of 0 in a local header are left for the data descriptor only when flag bit 3 says so.
    QTest::newRow("local header declares 0 bytes")
        << craftZip({{"Tr.frd", "add-on road", {}, 8, -1, false, {}, 0, 0}}) << 3 << "disagree on the sizes";
    QTest::newRow("local header declares 0 compressed bytes")
        << craftZip({{"Tr.frd", "add-on road", {}, 8, -1, false, {}, 0, -1, 0}}) << 3
        << "disagree on the sizes";
    QTest::newRow("sizes after the data say 0")
        << craftZip({{"Tr.frd",
                      "add-on road",
                      {},
                      8,
                      -1,
                      false,
                      {},
                      8,
                      0,
                      0,
                      QByteArray("PK\x07\x08", 4) + QByteArray(12, '\0')}})
        << 3 << "data descriptor";
    QTest::newRow("declares 4 bytes, carries 11")
        << craftZip({{"Tr.frd", "add-on road", {}, 8, 4}}) << 3 << "wrong size (read 11, expected 4)";
    QTest::newRow("declares 0 bytes, carries 11")
        << craftZip({{"Tr.frd", "add-on road", {}, 8, 0}}) << 3 << "wrong size (read 11, expected 0)";
    QTest::newRow("stored, declares 0 bytes, carries 11")
        << craftZip({{"Tr.frd", "add-on road", {}, 0, 0}}) << 3 << "wrong size (read 11, expected 0)";
    // Each file is below the 16 MiB written whatever the archive's size; together they are not.
    const QByteArray sixMiB(6 << 20, '\0');
    QTest::newRow("three files of 6 MiB in a few KiB")
        << tarBytes(fixtures.path(), {{"Tr.frd", sixMiB}, {"Tr.can", sixMiB}, {"Sky.qfs", sixMiB}}, "xz") << 6
        << "1000 times";
    const QByteArray tarGz = noiseTar(fixtures.path(), "gzip");
    QTest::newRow(".tar.gz with a byte flipped") << flipped(tarGz, tarGz.size() / 2) << 3 << "CRC-32";
    QTest::newRow(".tar.gz without its trailer") << tarGz.chopped(8) << 3 << "cut short";
    QTest::newRow(".tar.gz with bytes after it")
        << tarGz + "garbage" << 3 << "neither zeros nor a gzip member";
    const QByteArray tarBz2 = noiseTar(fixtures.path(), "bzip2");
    QTest::newRow(".tar.bz2 with a byte flipped") << flipped(tarBz2, tarBz2.size() / 2) << 3 << "bzip";
    const QByteArray tarXz = noiseTar(fixtures.path(), "xz");
    QTest::newRow(".tar.xz with a byte flipped") << flipped(tarXz, tarXz.size() / 2) << 3 << "Corrupted";
    QTest::newRow(".tar.gz.gz") << compressed(tarGz, "gzip") << 7 << "compressed more than once";
    const QByteArray members = twoGzipMembers(noiseTar(fixtures.path(), nullptr));
    QTest::newRow(".tar.gz of two members, the first damaged")
        << flipped(members, members.size() / 4) << 3 << "CRC-32";
}

void TestArchiverHostile::refusedArchivesLeaveOutputUntouched()
{
    QFETCH(QByteArray, archive);
    QFETCH(int, exitCode);
    QFETCH(QString, reason);
    const QString path = m_temp->filePath("track.zip");
    QVERIFY(writeBytes(path, archive));
    const QMap<QByteArray, QByteArray> before = folderSnapshot(m_output);

    const Run run = extract(path);

    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(run.errors.contains(reason), qPrintable(run.errors));
    QCOMPARE(folderSnapshot(m_output), before);
}

void TestArchiverHostile::soundArchivesOfOddShapesExtract_data()
{
    QTest::addColumn<QByteArray>("archive");
    QTest::addColumn<QStringList>("extracted");

    QTemporaryDir fixtures;
    const QByteArray tar = tarBytes(
        fixtures.path(), {{"Track/Tr.frd", "add-on road"}, {"Track/Tr.can", QByteArray(3000, 'c')}}, nullptr);
    QTest::newRow(".tar.gz of two members") << twoGzipMembers(tar) << QStringList({"Tr.can", "Tr.frd"});
    QTest::newRow(".tar.gz with zeros after it")
        << compressed(tar, "gzip") + QByteArray(100, '\0') << QStringList({"Tr.can", "Tr.frd"});

    const QByteArray track = trackZip();
    const QByteArray other = craftZip({{"other.txt", "appended"}});
    QTest::newRow("another zip appended") << track + other << QStringList({"Sky.qfs", "Tr.can", "Tr.frd"});
    QTest::newRow("a program in front")
        << QByteArray(4096, 'M') + track << QStringList({"Sky.qfs", "Tr.can", "Tr.frd"});
    QTest::newRow("a zip stored inside") << craftZip({{"Tr.frd", "add-on road"}, {"inner.zip", other, {}, 0}})
                                         << QStringList({"Tr.frd", "inner.zip"});
    QTest::newRow("names with backslashes")
        << craftZip({{"Track\\Tr.frd", "add-on road"}}) << QStringList({"Tr.frd"});
}

void TestArchiverHostile::soundArchivesOfOddShapesExtract()
{
    QFETCH(QByteArray, archive);
    QFETCH(QStringList, extracted);
    QVERIFY(QFile::remove(m_output + "/Tr.frd"));
    const QString path = m_temp->filePath("track.zip");
    QVERIFY(writeBytes(path, archive));

    const Run run = extract(path);

    QCOMPARE(run.exitCode, 0);
    QStringList names;
    for (const QByteArray& name : folderSnapshot(m_output).keys()) {
        if (name != ForeignName)
            names.append(QString::fromUtf8(name));
    }
    QCOMPARE(names, extracted);
    QCOMPARE(readAll(m_output + "/Tr.frd"), QByteArray("add-on road"));
}

void TestArchiverHostile::windowsNamesStayDistinct_data()
{
    QTest::addColumn<QList<QByteArray>>("names");
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<QList<QByteArray>>("extracted"); // in byte order, the foreign name included
    QTest::addColumn<QByteArray>("trackContent");     // of the output's "Трасса.txt"

    // "Трасса.txt" and "Машина.txt" in Windows-1251 and in CP866, the DOS code page.
    const QByteArray track1251 = "\xD2\xF0\xE0\xF1\xF1\xE0.txt";
    const QByteArray car1251 = "\xCC\xE0\xF8\xE8\xED\xE0.txt";
    const QByteArray track866 = "\x92\xE0\xA0\xE1\xE1\xA0.txt";
    const QByteArray car866 = "\x8C\xA0\xE8\xA8\xAD\xA0.txt";
    const QByteArray trackUpper866 = "\x92\x90\x80\x91\x91\x80.TXT";
    QTest::newRow("Windows-1251 names of one length")
        << QList<QByteArray>{track1251, car1251} << QByteArray()
        << QList<QByteArray>{"Tr.frd", ForeignName, "Машина.txt", "Трасса.txt"} << "content of " + track1251;
    QTest::newRow("CP866 names of one length")
        << QList<QByteArray>{"Track/" + track866, "Track/" + car866} << QByteArray()
        << QList<QByteArray>{"Tr.frd", ForeignName, "Машина.txt", "Трасса.txt"}
        << "content of Track/" + track866;
    QTest::newRow("one name in both code pages")
        << QList<QByteArray>{track1251, trackUpper866} << QByteArray()
        << QList<QByteArray>{"Tr.frd", ForeignName, "Трасса.txt"} << "content of " + track1251;
    QTest::newRow("listed by its Russian name")
        << QList<QByteArray>{track866, car866} << QByteArray("ТРАССА.TXT\r\n")
        << QList<QByteArray>{"Tr.frd", ForeignName, "Трасса.txt"} << "content of " + track866;
    QTest::newRow("a byte-order mark starting a name")
        << QList<QByteArray>{"\xEF\xBB\xBFTr.frd", "TR.FRD"} << QByteArray()
        << QList<QByteArray>{"TR.FRD", ForeignName, "\xEF\xBB\xBFTr.frd"} << QByteArray("<missing>");
    QTest::newRow("the foreign file's own name")
        << QList<QByteArray>{ForeignName} << QByteArray()
        << QList<QByteArray>{"Tr.frd", ForeignName, "Прочее.txt"} << QByteArray("<missing>");
}

void TestArchiverHostile::windowsNamesStayDistinct()
{
    QFETCH(QList<QByteArray>, names);
    QFETCH(QByteArray, list);
    QFETCH(QList<QByteArray>, extracted);
    QFETCH(QByteArray, trackContent);
    QList<CraftedEntry> entries;
    for (const QByteArray& name : names)
        entries.append({name, "content of " + name});
    const QString path = m_temp->filePath("track.zip");
    QVERIFY(writeBytes(path, craftZip(entries)));
    QString listFile;
    if (!list.isEmpty()) {
        listFile = m_temp->filePath("files.lst");
        QVERIFY(writeBytes(listFile, list));
    }

    const Run run = extract(path, listFile);

    QCOMPARE(run.exitCode, 0);
    const QMap<QByteArray, QByteArray> files = folderSnapshot(m_output);
    QCOMPARE(files.keys(), extracted);
    QCOMPARE(files.value(ForeignName), QByteArray("kept"));
    QCOMPARE(files.value("Трасса.txt", "<missing>"), trackContent);
}

void TestArchiverHostile::sparseEntryKeepsItsHoles()
{
    const QString path = m_temp->filePath("track.tar");
    QVERIFY(writeSparseTar(path, "Tr.frd", "road", 1 << 20, 3 << 20));

    QCOMPARE(extract(path).exitCode, 0);

    QByteArray expected(3 << 20, '\0');
    expected.replace(1 << 20, 4, "road");
    QCOMPARE(readAll(m_output + "/Tr.frd"), expected);
}

void TestArchiverHostile::onlySmallRegularListFilesNamingAFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("content");

    QTest::newRow("empty list") << "file" << QByteArray();
    QTest::newRow("only blank lines") << "file" << QByteArray("\r\n  \r\n\t\n");
    QTest::newRow("one line over 1 MiB") << "file" << QByteArray((1 << 20) + 1, 'a');
    QTest::newRow("a folder") << "folder" << QByteArray();
    QTest::newRow("a FIFO") << "fifo" << QByteArray();
    QTest::newRow("endless zeros") << "/dev/zero" << QByteArray();
}

void TestArchiverHostile::onlySmallRegularListFilesNamingAFile()
{
    QFETCH(QString, kind);
    QFETCH(QByteArray, content);
    const QString archive = m_temp->filePath("track.zip");
    QVERIFY(writeBytes(archive, trackZip()));
    QString list = m_temp->filePath("files.lst");
    if (kind == "file")
        QVERIFY(writeBytes(list, content));
    else if (kind == "folder")
        QVERIFY(QDir().mkpath(list));
    else if (kind == "fifo")
        QCOMPARE(mkfifo(QFile::encodeName(list).constData(), 0600), 0);
    else
        list = kind;
    const QMap<QByteArray, QByteArray> before = folderSnapshot(m_output);

    const Run run = extract(archive, list);

    QCOMPARE(run.exitCode, 1);
    QVERIFY(run.errors.contains("list file"));
    QCOMPARE(folderSnapshot(m_output), before);
}

void TestArchiverHostile::onlyRegularFilesAreArchives_data()
{
    QTest::addColumn<QString>("kind");

    QTest::newRow("a FIFO") << "fifo";
    QTest::newRow("endless zeros") << "/dev/zero";
    QTest::newRow("a folder") << "folder";
}

void TestArchiverHostile::onlyRegularFilesAreArchives()
{
    QFETCH(QString, kind);
    QString archive = m_temp->filePath("track.zip");
    if (kind == "fifo")
        QCOMPARE(mkfifo(QFile::encodeName(archive).constData(), 0600), 0);
    else if (kind == "folder")
        QVERIFY(QDir().mkpath(archive));
    else
        archive = kind;
    const QMap<QByteArray, QByteArray> before = folderSnapshot(m_output);

    const Run run = extract(archive);

    QCOMPARE(run.exitCode, 2);
    QVERIFY(run.errors.contains("not a regular file"));
    QCOMPARE(folderSnapshot(m_output), before);
}

QTEST_GUILESS_MAIN(TestArchiverHostile)
#include "test_archiver_hostile.moc"
