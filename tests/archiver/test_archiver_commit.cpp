#include "tests/archiver/ArchiverFixtures.h"
#include "tests/support/Files.h"
#include "tools/archiver/FlatExtractor.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <cstdio>
#include <dlfcn.h>

// Renames fail on demand: the renames numbered failFrom to failTo (counted from 1 since the last
// arming) fail with ENOSPC, as on a full disk. This program's own definitions take the place of the C
// library's for the archiver code linked into it.
namespace {

int renameCount = 0;
int failFrom = 0;
int failTo = 0;

void failRenames(int from, int to)
{
    renameCount = 0;
    failFrom = from;
    failTo = to;
}

bool renameFails()
{
    ++renameCount;
    if (renameCount < failFrom || renameCount > failTo)
        return false;
    errno = ENOSPC;
    return true;
}

} // namespace

extern "C" int renameat(int fromFd, const char* from, int toFd, const char* to)
{
    using Rename = int (*)(int, const char*, int, const char*);
    static const auto real = reinterpret_cast<Rename>(dlsym(RTLD_NEXT, "renameat"));
    return renameFails() ? -1 : real(fromFd, from, toFd, to);
}

extern "C" int renameat2(int fromFd, const char* from, int toFd, const char* to, unsigned int flags)
{
    using Rename = int (*)(int, const char*, int, const char*, unsigned int);
    static const auto real = reinterpret_cast<Rename>(dlsym(RTLD_NEXT, "renameat2"));
    return renameFails() ? -1 : real(fromFd, from, toFd, to, flags);
}

// Calls the archiver's extraction in this process, so its renames can be made to fail.
class TestArchiverCommit : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void failedMoveRestoresTheOutputFolder_data();
    void failedMoveRestoresTheOutputFolder();
    void fileThatCannotBePutBackIsKeptAside();
    void emptyOutputFolderWhoseRenameFailsGetsEachFile();
    void sizeLieWithinTheLimitsIsBroken();

private:
    std::unique_ptr<QTemporaryDir> m_temp;
    QString m_output;
    QString m_archive;
};

void TestArchiverCommit::init()
{
    m_temp = std::make_unique<QTemporaryDir>();
    QVERIFY(m_temp->isValid());
    m_output = m_temp->filePath("Temp");
    QVERIFY(writeBytes(m_output + "/Tr.frd", "standard road"));
    QVERIFY(writeBytes(m_output + "/TR.CAN", "standard camera"));
    QVERIFY(writeBytes(m_output + "/other.txt", "other"));
    m_archive = m_temp->filePath("track.zip");
    QVERIFY(writeBytes(m_archive, craftZip({{"Tr.frd", "add-on road"},
                                            {"Tr.can", "add-on camera"},
                                            {"Sky.qfs", "sky"},
                                            {"Tr.ini", "settings"}})));
}

void TestArchiverCommit::cleanup()
{
    failRenames(0, 0);
}

void TestArchiverCommit::failedMoveRestoresTheOutputFolder_data()
{
    // The commit's renames in order: Tr.frd aside, Tr.frd in, TR.CAN aside, Tr.can in, Sky.qfs in,
    // Tr.ini in.
    QTest::addColumn<int>("failing");
    QTest::newRow("putting the first replaced file aside") << 1;
    QTest::newRow("moving the first file in") << 2;
    QTest::newRow("putting the second replaced file aside") << 3;
    QTest::newRow("moving the second file in") << 4;
    QTest::newRow("moving a new file in") << 5;
    QTest::newRow("moving the last file in") << 6;
}

void TestArchiverCommit::failedMoveRestoresTheOutputFolder()
{
    QFETCH(int, failing);
    const QMap<QByteArray, QByteArray> before = folderSnapshot(m_output);

    failRenames(failing, failing);
    const ExitCode code = extractFlat(QFile::encodeName(m_archive), QFile::encodeName(m_output), NameList());
    failRenames(0, 0);

    QCOMPARE(int(code), 3);
    QCOMPARE(folderSnapshot(m_output), before);
}

void TestArchiverCommit::fileThatCannotBePutBackIsKeptAside()
{
    // Tr.frd goes aside, moving the new Tr.frd in fails, and so does every rename after it.
    failRenames(2, 1000);
    const ExitCode code = extractFlat(QFile::encodeName(m_archive), QFile::encodeName(m_output), NameList());
    failRenames(0, 0);

    QCOMPARE(int(code), 3);
    const QStringList left = QDir(m_output).entryList({".7zip-*"}, QDir::Dirs | QDir::Hidden);
    QCOMPARE(left.size(), 1);
    QCOMPARE(sortedEntries(m_output + "/" + left.first()), QStringList({"Tr.frd"}));
    QCOMPARE(readAll(m_output + "/" + left.first() + "/Tr.frd"), QByteArray("standard road"));
    QCOMPARE(readAll(m_output + "/TR.CAN"), QByteArray("standard camera"));
    QVERIFY(!QFileInfo::exists(m_output + "/Tr.ini"));
}

void TestArchiverCommit::emptyOutputFolderWhoseRenameFailsGetsEachFile()
{
    // An empty output folder is replaced whole by the private folder beside it; when that one rename
    // fails (in life because the folder gained entries meanwhile), each file is moved in instead.
    const QString output = m_temp->filePath("Empty");
    QVERIFY(QDir().mkpath(output));

    failRenames(1, 1);
    const ExitCode code = extractFlat(QFile::encodeName(m_archive), QFile::encodeName(output), NameList());
    failRenames(0, 0);

    QCOMPARE(int(code), 0);
    QCOMPARE(sortedEntries(output), QStringList({"Sky.qfs", "Tr.can", "Tr.frd", "Tr.ini"}));
    QCOMPARE(sortedEntries(m_temp->path()), QStringList({"Empty", "Temp", "track.zip"}));
}

void TestArchiverCommit::sizeLieWithinTheLimitsIsBroken()
{
    // A ZIP64 size 4 GiB above the data passes libarchive's own check, which compares only the low
    // 32 bits; with limits that let it through, the written size must still match.
    Limits generous;
    generous.fileBytes = qint64(8) << 30;
    generous.totalBytes = qint64(8) << 30;
    generous.ratioFreeBytes = qint64(8) << 30;
    QVERIFY(writeBytes(m_archive, craftZip({{"Tr.frd", "0123456789", {}, 8, (qint64(1) << 32) + 10, true}})));
    const QMap<QByteArray, QByteArray> before = folderSnapshot(m_output);

    const ExitCode code =
        extractFlat(QFile::encodeName(m_archive), QFile::encodeName(m_output), NameList(), generous);

    QCOMPARE(int(code), 3);
    QCOMPARE(folderSnapshot(m_output), before);
}

QTEST_GUILESS_MAIN(TestArchiverCommit)
#include "test_archiver_commit.moc"
