#include "app/main_window.h"
#include "tests/support/Files.h"
#include "tests/support/HomeFolder.h"
#include "tests/support/ScriptedDialogs.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

// The close handler: "options.dat" written back, the run's temporary files removed.
class TestClose : public QObject
{
    Q_OBJECT

private slots:
    void firstRunWritesNotChosenTwiceAndAnEmptyState();
    void thirdLineAfterClosing_data();
    void thirdLineAfterClosing();
    void failedWriteKeepsTheOldFileAndTheWindowOpen();
    void unreadSettingsGetNewFoldersWithTheSafeState();
    void runFilesAreDeleted();
    void workFolderWithOnlyTrackFilesIsRemoved();
    void workFolderWithAForeignFileIsKept();
    void closingTheWindowRunsTheHandler();
};

void TestClose::firstRunWritesNotChosenTwiceAndAnEmptyState()
{
    HomeFolder home;
    ScriptedDialogs dialogs;
    TForm1 form;
    QVERIFY(form.FormCreate());
    QVERIFY(form.FormClose());
    QCOMPARE(home.options(), QStringLiteral("не выбран\r\nне выбран\r\n\r\n").toUtf8());
}

void TestClose::thirdLineAfterClosing_data()
{
    QTest::addColumn<QString>("saved");
    QTest::addColumn<bool>("launched");
    QTest::addColumn<bool>("newTracks");
    QTest::addColumn<bool>("addOnsRecorded");
    QTest::addColumn<QString>("written");

    QTest::newRow("no launch keeps 0") << "0" << false << true << false << "0";
    QTest::newRow("no launch keeps 1") << "1" << false << false << false << "1";
    QTest::newRow("no launch keeps other text") << " 0" << false << false << false << " 0";
    QTest::newRow("no launch keeps empty") << "" << false << false << false << "";
    QTest::newRow("launch with new tracks") << "1" << true << true << false << "0";
    QTest::newRow("launch in standard mode") << "0" << true << false << false << "1";
    QTest::newRow("start recorded add-ons, no launch") << "1" << false << true << true << "0";
}

void TestClose::thirdLineAfterClosing()
{
    QFETCH(QString, saved);
    QFETCH(bool, launched);
    QFETCH(bool, newTracks);
    QFETCH(bool, addOnsRecorded);
    QFETCH(QString, written);

    HomeFolder home;
    home.writeOptions({"/lib/", "/game/", saved});
    ScriptedDialogs dialogs;
    TForm1 form;
    QVERIFY(form.FormCreate());
    (newTracks ? form.NTr : form.StTr)->setChecked(true);
    form.GameLaunched = launched;
    form.AddOnsMayBeInstalled = addOnsRecorded;
    QVERIFY(form.FormClose());
    QCOMPARE(home.options(), QByteArray("/lib/\r\n/game/\r\n") + written.toUtf8() + "\r\n");
}

void TestClose::failedWriteKeepsTheOldFileAndTheWindowOpen()
{
    HomeFolder home;
    home.writeOptions({"/lib/", "/game/", "0"});
    ScriptedDialogs dialogs;
    TForm1 form;
    QVERIFY(form.FormCreate());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    home.writeFile(QStringLiteral("extrc.bat"), "batch");
    // The settings file cannot be replaced while a non-empty folder stands in its place.
    QVERIFY(QFile::rename(home.path(QStringLiteral("options.dat")), home.path(QStringLiteral("saved.dat"))));
    home.writeFile(QStringLiteral("options.dat/inside"), "x");
    dialogs.errors.clear();

    QVERIFY(!form.close());
    QVERIFY(form.isVisible());
    QCOMPARE(dialogs.errors.size(), 1);
    QVERIFY(QFileInfo(home.path(QStringLiteral("options.dat/inside"))).isFile());
    // The rest of the handler did not run.
    QVERIFY(QFile::exists(home.path(QStringLiteral("extrc.bat"))));
}

void TestClose::unreadSettingsGetNewFoldersWithTheSafeState()
{
    HomeFolder home;
    QVERIFY(QFile::link("options.dat", home.path("options.dat"))); // a link to itself cannot be opened
    ScriptedDialogs dialogs;
    dialogs.folderAnswers = {"/games/nfs"};
    TForm1 form;
    QVERIFY(form.FormCreate());
    form.Button2->click();
    QVERIFY(form.FormClose());
    // Whether add-ons are in the game is unknown: "0" makes the next start give the standard tracks back.
    QCOMPARE(home.options(), QStringLiteral("не выбран\r\n/games/nfs/\r\n0\r\n").toUtf8());
}

void TestClose::runFilesAreDeleted()
{
    HomeFolder home;
    ScriptedDialogs dialogs;
    TForm1 form;
    QVERIFY(form.FormCreate());
    for (const char* name : {"files.lst", "files1.lst", "extrc.bat"})
        home.writeFile(QString::fromLatin1(name), "x");
    home.writeFile(QStringLiteral("extrc1.pif"), "x");
    QVERIFY(form.FormClose());
    QVERIFY(!QFile::exists(home.path(QStringLiteral("files.lst"))));
    QVERIFY(!QFile::exists(home.path(QStringLiteral("files1.lst"))));
    QVERIFY(!QFile::exists(home.path(QStringLiteral("extrc.bat"))));
    QVERIFY(QFile::exists(home.path(QStringLiteral("extrc1.pif"))));
    QVERIFY(QFile::exists(home.path(QStringLiteral("7zip.exe"))));
}

void TestClose::workFolderWithOnlyTrackFilesIsRemoved()
{
    HomeFolder home;
    const QString library = home.makeLibrary({});
    home.writeOptions({library, "/game/", "1"});
    for (const char* name : {"Tr.frd", "TRN0.qFS", "spdfa.bin"})
        home.writeFile(QStringLiteral("Temp/") + QString::fromLatin1(name), "track");
    ScriptedDialogs dialogs;
    TForm1 form;
    QVERIFY(form.FormCreate());
    QVERIFY(form.FormClose());
    QVERIFY(!QFileInfo::exists(home.path(QStringLiteral("Temp"))));
}

void TestClose::workFolderWithAForeignFileIsKept()
{
    HomeFolder home;
    const QString library = home.makeLibrary({});
    home.writeOptions({library, "/game/", "1"});
    home.writeFile(QStringLiteral("Temp/Tr.frd"), "track");
    // The moves take names without regard to case: another spelling is a track file all the same.
    home.writeFile(QStringLiteral("Temp/tr.FRD"), "track in other case");
    home.writeFile(QStringLiteral("Temp/notes.txt"), "mine");
    ScriptedDialogs dialogs;
    TForm1 form;
    QVERIFY(form.FormCreate());
    QVERIFY(form.FormClose());
    QCOMPARE(sortedEntries(home.path(QStringLiteral("Temp"))), QStringList{"notes.txt"});
}

void TestClose::closingTheWindowRunsTheHandler()
{
    HomeFolder home;
    ScriptedDialogs dialogs;
    TForm1 form;
    QVERIFY(form.FormCreate());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.PaGa->setText(QStringLiteral("/games/nfs/"));
    QVERIFY(form.close());
    QVERIFY(!form.isVisible());
    QCOMPARE(home.options(), QStringLiteral("не выбран\r\n/games/nfs/\r\n\r\n").toUtf8());
}

QTEST_MAIN(TestClose)
#include "test_close.moc"
