#include "app/StatusBar.h"
#include "app/main_window.h"
#include "skin/SkinForm.h"
#include "tests/support/Files.h"
#include "tests/support/HomeFolder.h"
#include "tests/support/ScriptedDialogs.h"

#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QtTest>

namespace {
const QString NotChosen = QStringLiteral("не выбран");
}

// Start-up: the companion checks, the home folder, "options.dat" and the first scan.
class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void missingCompanionStopsTheProgram_data();
    void missingCompanionStopsTheProgram();
    void homeFolderIsTheCurrentFolder();
    void homeFolderIsCutAtTheFirstArchiverName();
    void firstRunKeepsTheLayoutState();
    void thirdLineSelectsTheMode_data();
    void thirdLineSelectsTheMode();
    void emptyFileLeavesBothFieldsEmpty();
    void notChosenLibraryDisablesEverySlot();
    void savedFoldersAreRestoredAndScanned();
    void unreadableSettingsAreReportedAndTheWindowStillOpens();
    void skinIsLoadedFromTheHomeFolder();
    void firstStartOffersTheGamesFound_data();
    void firstStartOffersTheGamesFound();
};

void TestStartup::missingCompanionStopsTheProgram_data()
{
    QTest::addColumn<QString>("missing");
    QTest::addColumn<QString>("message");
    QTest::newRow("archiver") << "7zip.exe"
                              << QStringLiteral(
                                     "Файл 7zip.exe не найден в папке %1, программа будет завершена!");
    QTest::newRow("interpreter settings")
        << "extrc.pif" << QStringLiteral("Файл extrc.pif не найден в папке %1, программа будет завершена!");
}

void TestStartup::missingCompanionStopsTheProgram()
{
    QFETCH(QString, missing);
    QFETCH(QString, message);

    HomeFolder home;
    QVERIFY(home.isValid());
    QVERIFY(QFile::remove(home.path(missing)));
    home.writeOptions({"/lib/", "/game/", "0"});
    ScriptedDialogs dialogs;
    TForm1 form;
    QVERIFY(!form.FormCreate());
    QCOMPARE(dialogs.messages, QStringList{message.arg(QDir(home.path()).canonicalPath())});
    QVERIFY(dialogs.errors.isEmpty());
    // Nothing was read.
    QCOMPARE(form.PaTr->text(), NotChosen);
    QVERIFY(form.StTr->isChecked());
}

void TestStartup::homeFolderIsTheCurrentFolder()
{
    HomeFolder home;
    ScriptedDialogs dialogs;
    TForm1 form;
    QVERIFY(form.FormCreate());
    const QString current = QDir::currentPath() + QLatin1Char('/');
    QCOMPARE(form.HomeDir, current);
    QCOMPARE(form.ArchiverPath, current + QStringLiteral("7zip.exe"));
    QVERIFY(!form.GameLaunched);
}

void TestStartup::homeFolderIsCutAtTheFirstArchiverName()
{
    HomeFolder outer;
    const QString inner = outer.makeFolder(QStringLiteral("my7zip.exe.d/home"));
    QVERIFY(QFile::copy(outer.path(QStringLiteral("7zip.exe")), inner + QStringLiteral("7zip.exe")));
    QVERIFY(QFile::copy(outer.path(QStringLiteral("extrc.pif")), inner + QStringLiteral("extrc.pif")));
    QVERIFY(QDir::setCurrent(inner));

    ScriptedDialogs dialogs;
    TForm1 form;
    QVERIFY(form.FormCreate());
    QCOMPARE(form.HomeDir, QDir(outer.path()).canonicalPath() + QStringLiteral("/my"));
    QCOMPARE(form.ArchiverPath, QDir::currentPath() + QStringLiteral("/7zip.exe"));
}

void TestStartup::firstRunKeepsTheLayoutState()
{
    HomeFolder home;
    ScriptedDialogs dialogs;
    TForm1 form;
    QVERIFY(form.FormCreate());
    QCOMPARE(form.PaTr->text(), NotChosen);
    QCOMPARE(form.PaGa->text(), NotChosen);
    QVERIFY(form.StTr->isChecked());
    QVERIFY(form.GroupBox1->isEnabled());
    QVERIFY(form.SavedState.isEmpty());
    for (const QCheckBox* box : form.GroupBox1->findChildren<QCheckBox*>()) {
        QVERIFY(box->isEnabled());
        QVERIFY(!box->isChecked());
    }
    QVERIFY(form.GroupBox1->findChildren<QRadioButton*>().isEmpty());
}

void TestStartup::thirdLineSelectsTheMode_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("newTracks");
    QTest::newRow("0") << QByteArray("a\r\nb\r\n0\r\n") << true;
    QTest::newRow("0 without line end") << QByteArray("a\r\nb\r\n0") << true;
    QTest::newRow("1") << QByteArray("a\r\nb\r\n1\r\n") << false;
    QTest::newRow("00") << QByteArray("a\r\nb\r\n00\r\n") << false;
    QTest::newRow("blank and 0") << QByteArray("a\r\nb\r\n 0\r\n") << false;
    QTest::newRow("empty third line") << QByteArray("a\r\nb\r\n\r\n") << false;
    QTest::newRow("two lines only") << QByteArray("a\r\nb\r\n") << false;
    QTest::newRow("other text") << QByteArray("a\r\nb\r\nyes\r\n") << false;
}

void TestStartup::thirdLineSelectsTheMode()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, newTracks);

    HomeFolder home;
    home.writeOptionsBytes(bytes);
    ScriptedDialogs dialogs;
    TForm1 form;
    QVERIFY(form.FormCreate());
    QCOMPARE(form.NTr->isChecked(), newTracks);
    QCOMPARE(form.StTr->isChecked(), !newTracks);
    // Going to new tracks enables the slot area; standard mode at start leaves it as laid out.
    QVERIFY(form.GroupBox1->isEnabled());
    QCOMPARE(form.PaTr->text(), QStringLiteral("a"));
    QCOMPARE(form.PaGa->text(), QStringLiteral("b"));
}

void TestStartup::emptyFileLeavesBothFieldsEmpty()
{
    HomeFolder home;
    home.writeOptionsBytes(QByteArray());
    ScriptedDialogs dialogs;
    TForm1 form;
    QVERIFY(form.FormCreate());
    QVERIFY(form.PaTr->text().isEmpty());
    QVERIFY(form.PaGa->text().isEmpty());
    QVERIFY(form.StTr->isChecked());
    QVERIFY(form.SavedState.isEmpty());
}

void TestStartup::notChosenLibraryDisablesEverySlot()
{
    HomeFolder home;
    home.writeOptions({NotChosen, NotChosen, "1"});
    ScriptedDialogs dialogs;
    TForm1 form;
    QVERIFY(form.FormCreate());
    const QList<QCheckBox*> boxes = form.GroupBox1->findChildren<QCheckBox*>();
    QCOMPARE(boxes.size(), 19);
    for (const QCheckBox* box : boxes) {
        QVERIFY2(!box->isEnabled(), qPrintable(box->objectName()));
        QVERIFY(!box->isChecked());
    }
}

void TestStartup::savedFoldersAreRestoredAndScanned()
{
    HomeFolder home;
    const QString library = home.makeLibrary({"Coastal/one.zip", "Coastal/two.zip", "UK/three.zip"});
    home.writeOptions({library, home.path(QStringLiteral("game/")), "0"});
    ScriptedDialogs dialogs;
    TForm1 form;
    QVERIFY(form.FormCreate());
    QCOMPARE(form.trackDir(), library);
    QCOMPARE(form.gameDir(), home.path(QStringLiteral("game/")));
    QCOMPARE(form.SavedState, QStringLiteral("0"));
    QVERIFY(form.slotCheckBox("Coastal")->isChecked());
    QVERIFY(form.slotCheckBox("UK")->isChecked());
    QVERIFY(!form.slotCheckBox("Park")->isEnabled());
    QCOMPARE(form.slotStrip("Coastal")->findChildren<QRadioButton*>().size(), 2);
    QVERIFY(form.chosenButton("UK"));
    QCOMPARE(form.chosenButton("UK")->statusTip(), QStringLiteral("three.zip"));
}

void TestStartup::unreadableSettingsAreReportedAndTheWindowStillOpens()
{
    HomeFolder home;
    home.makeFolder(QStringLiteral("options.dat"));
    ScriptedDialogs dialogs;
    TForm1 form;
    QVERIFY(form.FormCreate());
    QVERIFY(!dialogs.errors.isEmpty());
    QVERIFY(dialogs.errors.constFirst().contains(QStringLiteral("options.dat")));
    QCOMPARE(form.PaTr->text(), NotChosen);
    QVERIFY(form.StTr->isChecked());
    // The skin load still ran.
    QCOMPARE(form.SkinForm1->SkinFileName, form.HomeDir + QStringLiteral("skin.ini"));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    // Closing leaves what stands there as it was.
    QVERIFY(form.close());
    QVERIFY(QFileInfo(home.path(QStringLiteral("options.dat"))).isDir());
}

void TestStartup::skinIsLoadedFromTheHomeFolder()
{
    HomeFolder home;
    ScriptedDialogs dialogs;
    TForm1 form;
    QVERIFY(form.FormCreate());
    QCOMPARE(form.SkinForm1->SkinFileName, form.HomeDir + QStringLiteral("skin.ini"));
    // The skin component's boxes come through the program's dialogs.
    QVERIFY(!dialogs.messages.isEmpty());
}

void TestStartup::firstStartOffersTheGamesFound_data()
{
    QTest::addColumn<QByteArray>("options"); // empty: no "options.dat"
    QTest::addColumn<QStringList>("layout"); // under the user's home, see layOut()
    QTest::addColumn<QList<int>>("answers"); // to the choice box
    QTest::addColumn<int>("offered");        // games in the choice box; 0: no box
    QTest::addColumn<QString>("gameDir");    // "$HOME/" for the user's home
    QTest::addColumn<QString>("status");     // SBar

    const QStringList twoGames{"game .wine/drive_c/NFS", "game Games/nfs/drive_c/Games/NFS",
                               ".config/lutris/games/nfs-1.yml = game:\n  prefix: $HOME/Games/nfs\n"};
    QTest::newRow("one game fills the game folder")
        << QByteArray() << QStringList{"game .wine/drive_c/NFS"} << QList<int>{} << 0
        << "$HOME/.wine/drive_c/NFS/"
        << " Папка игры найдена: $HOME/.wine/drive_c/NFS/ (~/.wine)";
    QTest::newRow("two games: the one chosen")
        << QByteArray() << twoGames << QList<int>{1} << 2 << "$HOME/Games/nfs/drive_c/Games/NFS/"
        << " Папка игры найдена: $HOME/Games/nfs/drive_c/Games/NFS/ (Lutris: nfs)";
    QTest::newRow("two games, choice cancelled")
        << QByteArray() << twoGames << QList<int>{} << 2 << NotChosen << "";
    QTest::newRow("settings without a game folder")
        << QByteArray("a\r\nне выбран\r\n1\r\n") << QStringList{"game .wine/drive_c/NFS"} << QList<int>{} << 0
        << "$HOME/.wine/drive_c/NFS/"
        << " Папка игры найдена: $HOME/.wine/drive_c/NFS/ (~/.wine)";
    QTest::newRow("a chosen game folder stays")
        << QByteArray("a\r\n/games/mine/\r\n1\r\n") << QStringList{"game .wine/drive_c/NFS"} << QList<int>{}
        << 0 << "/games/mine/"
        << "";
}

void TestStartup::firstStartOffersTheGamesFound()
{
    QFETCH(QByteArray, options);
    QFETCH(QStringList, layout);
    QFETCH(QList<int>, answers);
    QFETCH(int, offered);
    QFETCH(QString, gameDir);
    QFETCH(QString, status);
    HomeFolder home;
    const QString user = home.path(QStringLiteral("user"));
    QVERIFY(layOut(user, layout));
    if (!options.isEmpty())
        home.writeOptionsBytes(options);
    ScriptedDialogs dialogs;
    dialogs.itemAnswers = answers;
    TForm1 form;
    QVERIFY(form.FormCreate());
    QCOMPARE(dialogs.itemChoices.size(), offered ? 1 : 0);
    if (offered)
        QCOMPARE(dialogs.itemChoices.first().size(), 1 + offered);
    QCOMPARE(form.PaGa->text(), gameDir.replace(QStringLiteral("$HOME"), user));
    QCOMPARE(form.SBar->text(), status.replace(QStringLiteral("$HOME"), user));
}

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
