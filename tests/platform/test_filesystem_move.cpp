#include "platform/FileSystem.h"
#include "tests/support/Files.h"
#include "tests/support/WriteLimit.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace fs = platform::fs;

class TestMoveNoReplace : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void movesIntoFreeName();
    void movesIntoOtherFolder();
    void refusesTargets_data();
    void refusesTargets();
    void renamesItselfToOtherCase();
    void refusesCaseChangeWhenOtherVariantExists();
    void movingOntoItselfChangesNothing();
    void movesFolderAndLinkWithinFileSystem();
    void failsWithoutSource();
    void failsIntoMissingFolder();
    void movesFileAcrossFileSystems();
    void crossFileSystemMoveKeepsBothSidesOnFailure();
    void crossFileSystemCopyCutShortKeepsBothSides();
    void crossFileSystemMoveOfFolderFailsUntouched();
    void movesLinkAcrossFileSystems();

private:
    QString path(const QString& name) const { return m_dir->filePath(name); }
    static void makeFile(const QString& path, const QByteArray& contents);
    static QByteArray contentsOf(const QString& path);
    // A second temporary folder on another file system, or empty when the machine has none.
    QString otherFileSystemFolder();

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QTemporaryDir> m_other;
};

void TestMoveNoReplace::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_other.reset();
}

void TestMoveNoReplace::makeFile(const QString& path, const QByteArray& contents)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(contents), contents.size());
}

QByteArray TestMoveNoReplace::contentsOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QString TestMoveNoReplace::otherFileSystemFolder()
{
    m_other = folderOnAnotherFileSystem(m_dir->path());
    return m_other ? m_other->path() : QString();
}

void TestMoveNoReplace::movesIntoFreeName()
{
    makeFile(path("Tr.frd"), "standard");
    QVERIFY(fs::moveNoReplace(path("Tr.frd"), path("0Tr.frd")));
    QVERIFY(!fs::entryExists(path("Tr.frd")));
    QCOMPARE(contentsOf(path("0Tr.frd")), QByteArray("standard"));
}

void TestMoveNoReplace::movesIntoOtherFolder()
{
    QVERIFY(QDir(m_dir->path()).mkpath("Temp"));
    QVERIFY(QDir(m_dir->path()).mkpath("Data/Tracks/Coastal"));
    makeFile(path("Temp/Tr.frd"), "add-on");
    QVERIFY(fs::moveNoReplace(path("Temp/Tr.frd"), path("Data//Tracks/Coastal/Tr.frd")));
    QVERIFY(!fs::entryExists(path("Temp/Tr.frd")));
    QCOMPARE(contentsOf(path("Data/Tracks/Coastal/Tr.frd")), QByteArray("add-on"));
}

void TestMoveNoReplace::refusesTargets_data()
{
    QTest::addColumn<QString>("existing");
    QTest::addColumn<bool>("existingIsFolder");
    QTest::addColumn<QString>("target");

    QTest::newRow("same name") << "0Tr.frd" << false << "0Tr.frd";
    QTest::newRow("name in capitals") << "0TR.FRD" << false << "0Tr.frd";
    QTest::newRow("name in small letters") << "0tr.frd" << false << "0Tr.frd";
    QTest::newRow("Cyrillic case variant") << "ТРАССА" << false << "трасса";
    QTest::newRow("empty folder") << "0Tr.frd" << true << "0Tr.frd";
    QTest::newRow("folder in other case") << "0tr.FRD" << true << "0Tr.frd";
}

void TestMoveNoReplace::refusesTargets()
{
    QFETCH(QString, existing);
    QFETCH(bool, existingIsFolder);
    QFETCH(QString, target);

    makeFile(path("Tr.frd"), "standard");
    if (existingIsFolder)
        QVERIFY(QDir(m_dir->path()).mkdir(existing));
    else
        makeFile(path(existing), "backup");

    QVERIFY(!fs::moveNoReplace(path("Tr.frd"), path(target)));
    QCOMPARE(contentsOf(path("Tr.frd")), QByteArray("standard"));
    if (existingIsFolder)
        QVERIFY(fs::folderExists(path(existing)));
    else
        QCOMPARE(contentsOf(path(existing)), QByteArray("backup"));
    if (target != existing)
        QVERIFY(!fs::entryExists(path(target)));
}

void TestMoveNoReplace::renamesItselfToOtherCase()
{
    makeFile(path("tr.frd"), "standard");
    QVERIFY(fs::moveNoReplace(path("tr.frd"), path("Tr.frd")));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{"Tr.frd"});
    QCOMPARE(contentsOf(path("Tr.frd")), QByteArray("standard"));
}

void TestMoveNoReplace::refusesCaseChangeWhenOtherVariantExists()
{
    makeFile(path("tr.frd"), "one");
    makeFile(path("TR.FRD"), "two");
    QVERIFY(!fs::moveNoReplace(path("tr.frd"), path("Tr.frd")));
    QCOMPARE(contentsOf(path("tr.frd")), QByteArray("one"));
    QCOMPARE(contentsOf(path("TR.FRD")), QByteArray("two"));
    QVERIFY(!fs::entryExists(path("Tr.frd")));
}

void TestMoveNoReplace::movingOntoItselfChangesNothing()
{
    QVERIFY(QDir(m_dir->path()).mkdir("Slot"));
    makeFile(path("Slot/a.zip"), "archive");
    QVERIFY(fs::moveNoReplace(path("Slot/a.zip"), path("Slot//a.zip")));
    QCOMPARE(contentsOf(path("Slot/a.zip")), QByteArray("archive"));
}

void TestMoveNoReplace::movesFolderAndLinkWithinFileSystem()
{
    QVERIFY(QDir(m_dir->path()).mkpath("0dir/inner"));
    QVERIFY(QFile::link(path("nowhere"), path("0link")));
    QVERIFY(fs::moveNoReplace(path("0dir"), path("dir")));
    QVERIFY(fs::moveNoReplace(path("0link"), path("link")));
    QVERIFY(fs::folderExists(path("dir/inner")));
    QCOMPARE(QFile::symLinkTarget(path("link")), path("nowhere"));
    QVERIFY(!fs::entryExists(path("0dir")));
    QVERIFY(!fs::entryExists(path("0link")));
}

void TestMoveNoReplace::failsWithoutSource()
{
    QVERIFY(!fs::moveNoReplace(path("missing"), path("target")));
    QVERIFY(!fs::entryExists(path("target")));
}

void TestMoveNoReplace::failsIntoMissingFolder()
{
    makeFile(path("Tr.frd"), "add-on");
    QVERIFY(!fs::moveNoReplace(path("Tr.frd"), path("Data/Tracks/Coastal/Tr.frd")));
    QCOMPARE(contentsOf(path("Tr.frd")), QByteArray("add-on"));
}

void TestMoveNoReplace::movesFileAcrossFileSystems()
{
    const QString other = otherFileSystemFolder();
    if (other.isEmpty())
        QSKIP("no folder on another file system here");
    const QByteArray big(300000, 'z');
    makeFile(other + "/Tr.frd", big);
    QVERIFY(
        QFile::setPermissions(other + "/Tr.frd", QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));

    QVERIFY(fs::moveNoReplace(other + "/Tr.frd", path("Tr.frd")));
    QVERIFY(!fs::entryExists(other + "/Tr.frd"));
    QCOMPARE(contentsOf(path("Tr.frd")), big);
    QCOMPARE(QFile::permissions(path("Tr.frd")) & (QFile::ReadGroup | QFile::ReadOther),
             QFile::Permissions(QFile::ReadGroup));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{"Tr.frd"});
}

void TestMoveNoReplace::crossFileSystemMoveKeepsBothSidesOnFailure()
{
    const QString other = otherFileSystemFolder();
    if (other.isEmpty())
        QSKIP("no folder on another file system here");
    makeFile(other + "/Tr.frd", "add-on");
    makeFile(path("TR.FRD"), "standard");

    QVERIFY(!fs::moveNoReplace(other + "/Tr.frd", path("Tr.frd")));
    QVERIFY(!fs::moveNoReplace(other + "/Tr.frd", path("missing/Tr.frd")));
    QCOMPARE(contentsOf(other + "/Tr.frd"), QByteArray("add-on"));
    QCOMPARE(contentsOf(path("TR.FRD")), QByteArray("standard"));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{"TR.FRD"});
}

void TestMoveNoReplace::crossFileSystemCopyCutShortKeepsBothSides()
{
    const QString other = otherFileSystemFolder();
    if (other.isEmpty())
        QSKIP("no folder on another file system here");
    const QByteArray big(100000, 'z');
    makeFile(path("Tr.frd"), big);
    {
        // The copy breaks off part-way, as on a target disk that fills up.
        FileSizeLimit limit(4096);
        QVERIFY(limit.isActive());
        QVERIFY(!fs::moveNoReplace(path("Tr.frd"), other + "/Tr.frd"));
    }
    QCOMPARE(contentsOf(path("Tr.frd")), big);
    QCOMPARE(QDir(other).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{});
}

void TestMoveNoReplace::crossFileSystemMoveOfFolderFailsUntouched()
{
    const QString other = otherFileSystemFolder();
    if (other.isEmpty())
        QSKIP("no folder on another file system here");
    QVERIFY(QDir(other).mkpath("folder/inner"));
    QVERIFY(!fs::moveNoReplace(other + "/folder", path("folder")));
    QVERIFY(fs::folderExists(other + "/folder/inner"));
    QVERIFY(!fs::entryExists(path("folder")));
}

void TestMoveNoReplace::movesLinkAcrossFileSystems()
{
    const QString other = otherFileSystemFolder();
    if (other.isEmpty())
        QSKIP("no folder on another file system here");
    QVERIFY(QFile::link("/nowhere/at/all", other + "/link"));
    QVERIFY(fs::moveNoReplace(other + "/link", path("link")));
    QCOMPARE(QFile::symLinkTarget(path("link")), QString("/nowhere/at/all"));
    QVERIFY(!fs::entryExists(other + "/link"));
}

QTEST_GUILESS_MAIN(TestMoveNoReplace)
#include "test_filesystem_move.moc"
