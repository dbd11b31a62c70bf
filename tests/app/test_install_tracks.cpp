#include "app/InstallTracks.h"
#include "core/SlotTable.h"
#include "tests/support/Files.h"
#include "tests/support/WriteLimit.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>

class TestInstallTracks : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void pathsAreBuiltFromTheFolders_data();
    void pathsAreBuiltFromTheFolders();
    void missingWorkFolderIsCreated();
    void preparingRemovesOnlyTrackFiles();
    void addOnTakesTheStandardName_data();
    void addOnTakesTheStandardName();
    void addOnWithoutStandardKeepsItsName();
    void otherFilesStayInTheWorkFolder();
    void existingBackupKeepsStandardAndAddOn();
    void failedMoveLeavesTheSlotStandard();
    void gameSlotFolderIsFoundInAnyLetterCase();
    void missingSlotFolderIsNotCreated();

private:
    QTemporaryDir m_dir;
    QString m_work;
    QString m_slot;
};

void TestInstallTracks::init()
{
    QVERIFY(m_dir.isValid());
    m_work = m_dir.path() + "/Temp-" + QTest::currentTestFunction() + QTest::currentDataTag();
    m_slot = m_dir.path() + "/Slot-" + QTest::currentTestFunction() + QTest::currentDataTag() + "/";
    QVERIFY(QDir().mkpath(m_work));
    QVERIFY(QDir().mkpath(m_slot));
}

void TestInstallTracks::pathsAreBuiltFromTheFolders_data()
{
    QTest::addColumn<QString>("trackDir");
    QTest::addColumn<QString>("work");
    QTest::addColumn<QString>("archive");
    // "/.." is "/" itself: a library at the root has its work folder "/Temp".
    QTest::newRow("usual") << "/home/a/tracks/"
                           << "/home/a/tracks/../Temp"
                           << "/home/a/tracks/Coastal/x.zip";
    QTest::newRow("root") << "/"
                          << "/../Temp"
                          << "/Coastal/x.zip";
    QTest::newRow("blanks") << "/my games/tracks/"
                            << "/my games/tracks/../Temp"
                            << "/my games/tracks/Coastal/x.zip";
    const QString library = m_dir.path() + "/library/";
    QVERIFY(QDir().mkpath(library + "coastal"));
    QTest::newRow("lower-case slot folder") << library << library + "../Temp" << library + "coastal/x.zip";
}

void TestInstallTracks::pathsAreBuiltFromTheFolders()
{
    QFETCH(QString, trackDir);
    QFETCH(QString, work);
    QFETCH(QString, archive);
    QCOMPARE(install::workFolder(trackDir), work);
    QCOMPARE(install::libraryArchive(trackDir, "Coastal", "x.zip"), archive);
    QCOMPARE(QDir::cleanPath(install::gameSlotFolder("/g/", "UK")), QStringLiteral("/g/Data/Tracks/UK"));
}

void TestInstallTracks::missingWorkFolderIsCreated()
{
    const QString work = m_dir.path() + "/fresh";
    QVERIFY(install::prepareWorkFolder(work));
    QVERIFY(QFileInfo(work).isDir());
}

void TestInstallTracks::preparingRemovesOnlyTrackFiles()
{
    for (const QString& name : trackslots::TrackFileSet())
        QVERIFY(writeBytes(m_work + "/" + name, "old"));
    QVERIFY(writeBytes(m_work + "/notes.txt", "mine"));
    QVERIFY(writeBytes(m_work + "/TR.FRD", "other case"));
    QVERIFY(writeBytes(m_work + "/Tr.frd.bak", "not a track file"));
    QVERIFY(install::prepareWorkFolder(m_work));
    QCOMPARE(sortedEntries(m_work), (QStringList{"Tr.frd.bak", "notes.txt"}));
}

void TestInstallTracks::addOnTakesTheStandardName_data()
{
    QTest::addColumn<QString>("standard");
    QTest::addColumn<QString>("addOn");
    QTest::newRow("same case") << "Tr.frd"
                               << "Tr.frd";
    QTest::newRow("upper-case add-on") << "Tr.frd"
                                       << "TR.FRD";
    QTest::newRow("lower-case add-on") << "TRN0.qFS"
                                       << "trn0.qfs";
    QTest::newRow("standard in other case") << "SKY.QFS"
                                            << "sky.qfs";
}

void TestInstallTracks::addOnTakesTheStandardName()
{
    QFETCH(QString, standard);
    QFETCH(QString, addOn);
    QVERIFY(writeBytes(m_slot + standard, "standard"));
    QVERIFY(writeBytes(m_work + "/" + addOn, "add-on"));
    QCOMPARE(install::moveTrackFilesIn(m_work, m_slot).installed, QStringList{standard});
    QCOMPARE(sortedEntries(m_slot), (QStringList{"0" + standard, standard}));
    QCOMPARE(readAll(m_slot + standard), QByteArray("add-on"));
    QCOMPARE(readAll(m_slot + "0" + standard), QByteArray("standard"));
    QVERIFY(sortedEntries(m_work).isEmpty());
}

void TestInstallTracks::addOnWithoutStandardKeepsItsName()
{
    QVERIFY(writeBytes(m_work + "/HEIGHTS.SIM", "add-on"));
    QCOMPARE(install::moveTrackFilesIn(m_work, m_slot).installed, QStringList{"HEIGHTS.SIM"});
    QCOMPARE(sortedEntries(m_slot), QStringList{"HEIGHTS.SIM"});
}

void TestInstallTracks::otherFilesStayInTheWorkFolder()
{
    QVERIFY(writeBytes(m_work + "/readme.txt", "about"));
    QVERIFY(QDir().mkpath(m_work + "/Tr.cam"));
    QVERIFY(install::moveTrackFilesIn(m_work, m_slot).installed.isEmpty());
    QCOMPARE(sortedEntries(m_work), (QStringList{"Tr.cam", "readme.txt"}));
    QVERIFY(sortedEntries(m_slot).isEmpty());
}

void TestInstallTracks::existingBackupKeepsStandardAndAddOn()
{
    QVERIFY(writeBytes(m_slot + "Tr.ini", "standard"));
    QVERIFY(writeBytes(m_slot + "0Tr.ini", "older backup"));
    QVERIFY(writeBytes(m_work + "/Tr.ini", "add-on"));
    const install::SlotInstall result = install::moveTrackFilesIn(m_work, m_slot);
    QVERIFY(result.installed.isEmpty());
    QCOMPARE(result.failedFile, QStringLiteral("Tr.ini"));
    QVERIFY(result.atBackup);
    QCOMPARE(result.error, EEXIST);
    QCOMPARE(readAll(m_slot + "Tr.ini"), QByteArray("standard"));
    QCOMPARE(readAll(m_slot + "0Tr.ini"), QByteArray("older backup"));
    QCOMPARE(readAll(m_work + "/Tr.ini"), QByteArray("add-on"));
}

void TestInstallTracks::failedMoveLeavesTheSlotStandard()
{
    const auto other = otherFileSystemFolder(m_dir.path());
    if (!other)
        QSKIP("/dev/shm is not a separate file system here");
    const QString work = other->path();
    QVERIFY(writeBytes(m_slot + "Tr.cam", "standard cam"));
    QVERIFY(writeBytes(m_slot + "Tr.frd", "standard frd"));
    QVERIFY(writeBytes(work + "/Tr.cam", "add-on cam"));
    QVERIFY(writeBytes(work + "/Tr.frd", QByteArray(100000, 'f')));
    install::SlotInstall result;
    {
        // The big add-on cannot be copied whole, as on a full disk; the small one can.
        FileSizeLimit limit(4096);
        QVERIFY(limit.isActive());
        result = install::moveTrackFilesIn(work, m_slot);
    }
    QCOMPARE(result.error, EFBIG);
    QCOMPARE(result.failedFile, QStringLiteral("Tr.frd"));
    QVERIFY(!result.atBackup);
    QVERIFY(result.installed.isEmpty());
    QVERIFY(result.backupsLeft.isEmpty());
    QCOMPARE(sortedEntries(m_slot), (QStringList{"Tr.cam", "Tr.frd"}));
    QCOMPARE(readAll(m_slot + "Tr.cam"), QByteArray("standard cam"));
    QCOMPARE(readAll(m_slot + "Tr.frd"), QByteArray("standard frd"));
}

void TestInstallTracks::gameSlotFolderIsFoundInAnyLetterCase()
{
    const QString game = m_dir.path() + "/cd-copy/";
    QVERIFY(QDir().mkpath(game + "DATA/tracks/AQUATICA"));
    QCOMPARE(QDir::cleanPath(install::gameSlotFolder(game, "Aquatica")), game + "DATA/tracks/AQUATICA");
    QCOMPARE(QDir::cleanPath(install::gameSlotFolder(game, "Atlantic")), game + "DATA/tracks/Atlantic");
}

void TestInstallTracks::missingSlotFolderIsNotCreated()
{
    const QString slot = m_dir.path() + "/no-such-slot/";
    QVERIFY(writeBytes(m_work + "/Tr.frd", "add-on"));
    QVERIFY(install::moveTrackFilesIn(m_work, slot).installed.isEmpty());
    QVERIFY(!QFileInfo::exists(slot));
    QCOMPARE(sortedEntries(m_work), QStringList{"Tr.frd"});
}

QTEST_MAIN(TestInstallTracks)
#include "test_install_tracks.moc"
