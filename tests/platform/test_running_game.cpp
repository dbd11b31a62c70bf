#include "platform/RunningGame.h"
#include "tests/support/Files.h"
#include "tests/support/GameStandIn.h"

#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

// Telling whether the game runs, from a made-up process table and from real processes.
class TestRunningGame : public QObject
{
    Q_OBJECT

private slots:
    void processTableEntries_data();
    void processTableEntries();
    void realStandInIsFoundUntilItEnds_data();
    void realStandInIsFoundUntilItEnds();
};

namespace {

// A command line as the process table keeps it: each argument ended by a NUL.
QByteArray arguments(std::initializer_list<const char*> list)
{
    QByteArray line;
    for (const char* argument : list)
        line += QByteArray(argument) + '\0';
    return line;
}

} // namespace

void TestRunningGame::processTableEntries_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("commandLine");
    QTest::addColumn<QByteArray>("state"); // and " other user" for another user's process
    QTest::addColumn<bool>("found");
    QTest::newRow("Wine: name and Windows path")
        << "4242" << QByteArray("nfshs.exe\n") << arguments({"C:\\Games\\NFS\\nfshs.exe"}) << QByteArray("S")
        << true;
    QTest::newRow("name in capitals only")
        << "4242" << QByteArray("NFSHS.EXE\n") << QByteArray() << QByteArray("R") << true;
    QTest::newRow("Linux path in mixed case")
        << "4242" << QByteArray("sh\n") << arguments({"/games/nfs/NfsHs.Exe", "-window"}) << QByteArray("S")
        << true;
    QTest::newRow("Windows command line in one argument")
        << "4242" << QByteArray("wine-preloader\n") << arguments({"\"Z:\\home\\u\\NFSHS.EXE\" -nosound"})
        << QByteArray("S") << true;
    QTest::newRow("wine with the game's Linux path")
        << "4242" << QByteArray("wine\n") << arguments({"wine", "/games/nfshs.exe"}) << QByteArray("S")
        << true;
    QTest::newRow("wine64 with the game's Windows path")
        << "4242" << QByteArray("wine64\n") << arguments({"/usr/bin/wine64", "C:\\Games\\NFS\\NFSHS.EXE"})
        << QByteArray("S") << true;
    QTest::newRow("preloader before the loader")
        << "4242" << QByteArray("wine64-preloade\n")
        << arguments({"/usr/lib/wine/wine64-preloader", "/usr/lib/wine/wine64", "C:\\NFS\\NfsHs.exe"})
        << QByteArray("S") << true;
    QTest::newRow("game only as a later argument of another program")
        << "4242" << QByteArray("vim\n") << arguments({"vim", "/games/nfshs.exe"}) << QByteArray("S")
        << false;
    QTest::newRow("game of another user")
        << "4242" << QByteArray("nfshs.exe\n") << QByteArray() << QByteArray("S other user") << false;
    QTest::newRow("look-alike names") << "4242" << QByteArray("nfshs.exe.bak\n")
                                      << arguments({"/games/mynfshs.exe"}) << QByteArray("S") << false;
    QTest::newRow("game name as a folder")
        << "4242" << QByteArray("setup.exe\n") << arguments({"C:\\nfshs.exe\\setup.exe"}) << QByteArray("S")
        << false;
    QTest::newRow("ended, not yet reaped")
        << "4242" << QByteArray("nfshs.exe\n") << QByteArray() << QByteArray("Z") << false;
    QTest::newRow("not a process folder")
        << "self" << QByteArray("nfshs.exe\n") << arguments({"nfshs.exe"}) << QByteArray("S") << false;
}

void TestRunningGame::processTableEntries()
{
    QFETCH(QString, entry);
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, commandLine);
    QFETCH(QByteArray, state);
    QFETCH(bool, found);

    QTemporaryDir proc;
    const QString folder = proc.filePath(entry) + QLatin1Char('/');
    QVERIFY(writeBytes(folder + "comm", name));
    QVERIFY(writeBytes(folder + "cmdline", commandLine));
    // A name with blanks and parentheses must not hide the state behind it.
    QVERIFY(writeBytes(folder + "stat", "4242 (a) b) " + state.left(1) + " 1 4242 4242 0 -1\n"));
    const QByteArray uid = QByteArray::number(getuid() + (state.endsWith("other user") ? 1 : 0));
    QVERIFY(writeBytes(folder + "status", "Name:\ta\nUid:\t" + uid + "\t" + uid + "\t0\t0\n"));
    QVERIFY(writeBytes(proc.filePath("1/comm"), "init\n"));

    QCOMPARE(platform::runningProcesses("nfshs.exe", proc.path()),
             found ? QList<qint64>{4242} : QList<qint64>{});
}

void TestRunningGame::realStandInIsFoundUntilItEnds_data()
{
    QTest::addColumn<QString>("firstArgument");
    QTest::newRow("Linux path") << "/games/NFS/NFSHS.EXE";
    QTest::newRow("Windows path under Wine") << "C:\\Games\\NFS\\nfshs.exe";
}

void TestRunningGame::realStandInIsFoundUntilItEnds()
{
    QFETCH(QString, firstArgument);
    GameStandIn game;
    QVERIFY(game.start(firstArgument));
    const qint64 pid = game.pid();
    QVERIFY(platform::runningProcesses("nfshs.exe").contains(pid));
    game.stop();
    QVERIFY(!platform::runningProcesses("nfshs.exe").contains(pid));
}

QTEST_GUILESS_MAIN(TestRunningGame)
#include "test_running_game.moc"
