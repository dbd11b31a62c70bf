#include "platform/Process.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

void writeFile(const QString& path, const QByteArray& contents, bool executable = false)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    QCOMPARE(file.write(contents), contents.size());
    file.close();
    if (executable)
        QVERIFY(file.setPermissions(file.permissions() | QFileDevice::ExeOwner));
}

QString quoted(const QString& path)
{
    return u'"' + path + u'"';
}

} // namespace

class TestProcess : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void splitsLikeTheWindowsCommandLine_data();
    void splitsLikeTheWindowsCommandLine();

    void winExecReportsWhatCannotStart_data();
    void winExecReportsWhatCannotStart();
    void winExecReportsMissingInterpreter();
    void winExecStartsProgramWithQuotedArguments();
    void winExecRunsBatchInItsFolderThroughInterpreter();
    void winExecGivesBatchTheSettingsOfItsPif();

    void defaultInterpreterLiesBesideTheProgram();

    void startGameRunsExecutableInWorkingFolder();
    void startGameFindsExecutableWhateverItsLetterCase();
    void startGameWithoutWineNamesWine_data();
    void startGameWithoutWineNamesWine();
    void startGameReportsFileItCannotRun_data();
    void startGameReportsFileItCannotRun();
    void startGameRunsWineInThePrefixAroundTheGame_data();
    void startGameRunsWineInThePrefixAroundTheGame();

private:
    QTemporaryDir m_fixtures;
    QString m_touch;
    QByteArray m_path;
    QByteArray m_winePrefix;
};

void TestProcess::initTestCase()
{
    QVERIFY(m_fixtures.isValid());
    platform::setInterpreterPath(QStringLiteral(ROVEX_TOOL_ROVEX_CMD));
    m_touch = QStandardPaths::findExecutable(QStringLiteral("touch"));
    QVERIFY(!m_touch.isEmpty());
    writeFile(m_fixtures.filePath(QStringLiteral("plain.txt")), "text");
    writeFile(m_fixtures.filePath(QStringLiteral("only.bat")), "copy a b\r\n");
    QVERIFY(QDir(m_fixtures.path()).mkdir(QStringLiteral("folder")));
    m_path = qgetenv("PATH");
    m_winePrefix = qgetenv("WINEPREFIX");
}

void TestProcess::cleanup()
{
    platform::setInterpreterPath(QStringLiteral(ROVEX_TOOL_ROVEX_CMD));
    qputenv("PATH", m_path);
    if (m_winePrefix.isNull())
        qunsetenv("WINEPREFIX");
    else
        qputenv("WINEPREFIX", m_winePrefix);
}

void TestProcess::splitsLikeTheWindowsCommandLine_data()
{
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("empty") << "" << QStringList{};
    QTest::newRow("only blanks and tabs") << " \t  " << QStringList{};
    QTest::newRow("blanks separate") << "a b  c" << QStringList{"a", "b", "c"};
    QTest::newRow("tabs separate") << "a\tb" << QStringList{"a", "b"};
    QTest::newRow("leading and trailing blanks") << "  a b  " << QStringList{"a", "b"};
    QTest::newRow("quotes group") << "\"a b\" c" << QStringList{"a b", "c"};
    QTest::newRow("quotes inside an argument") << "-o\"a b\"" << QStringList{"-oa b"};
    QTest::newRow("quoted part in the middle") << "a\"b c\"d" << QStringList{"ab cd"};
    QTest::newRow("empty quotes give an empty argument") << "a \"\" b" << QStringList{"a", "", "b"};
    QTest::newRow("doubled quote inside quotes") << "\"a\"\"b\"" << QStringList{"a\"b"};
    QTest::newRow("doubled quote keeps quoting") << "\"a\"\"b c\"" << QStringList{"a\"b c"};
    QTest::newRow("unclosed quote runs to the end") << "\"a b" << QStringList{"a b"};
    QTest::newRow("backslashes are literal") << "a\\b\\\\c" << QStringList{"a\\b\\\\c"};
    QTest::newRow("trailing backslash") << "a\\ b" << QStringList{"a\\", "b"};
    QTest::newRow("escaped quote") << "a\\\"b" << QStringList{"a\"b"};
    QTest::newRow("two backslashes and quote") << "\"a\\\\\" b" << QStringList{"a\\", "b"};
    QTest::newRow("three backslashes and quote") << "a\\\\\\\"b" << QStringList{"a\\\"b"};
    QTest::newRow("four backslashes and quote") << "\"a\\\\\\\\\"" << QStringList{"a\\\\"};
    QTest::newRow("escaped quote inside quotes") << "\"a \\\" b\"" << QStringList{"a \" b"};
    QTest::newRow("blank inside quotes")
        << "copy \"/x y/f.lst\" /d /Y" << QStringList{"copy", "/x y/f.lst", "/d", "/Y"};
    QTest::newRow("archiver line")
        << "/h/7zip.exe e \"/t/Coastal/a b.zip\" -o\"/t/../Temp\" @\"/h/files.lst\""
        << QStringList{"/h/7zip.exe", "e", "/t/Coastal/a b.zip", "-o/t/../Temp", "@/h/files.lst"};
    QTest::newRow("shell characters are plain")
        << "a;b | c $(d) `e`" << QStringList{"a;b", "|", "c", "$(d)", "`e`"};
    QTest::newRow("cyrillic") << "\"Трассы новые\" б" << QStringList{"Трассы новые", "б"};
}

void TestProcess::splitsLikeTheWindowsCommandLine()
{
    QFETCH(QString, commandLine);
    QFETCH(QStringList, expected);
    QCOMPARE(platform::splitCommandLine(commandLine), expected);
}

void TestProcess::winExecReportsWhatCannotStart_data()
{
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<QString>("reasonStart");

    const QString folder = m_fixtures.path();
    QTest::newRow("blank command line") << "   "
                                        << "Пустая командная строка.";
    QTest::newRow("missing program") << folder + "/no-such-program arg"
                                     << "Программа не найдена: ";
    QTest::newRow("missing program on PATH") << "rovex-no-such-program-anywhere"
                                             << "Программа не найдена: ";
    QTest::newRow("file without execute bit") << folder + "/plain.txt"
                                              << "Программа не может быть запущена: ";
    QTest::newRow("folder") << folder + "/folder"
                            << "Программа не может быть запущена: ";
    QTest::newRow("missing batch") << folder + "/none.bat"
                                   << "Командный файл не найден: ";
    QTest::newRow("missing batch, upper case") << folder + "/NONE.BAT"
                                               << "Командный файл не найден: ";
}

void TestProcess::winExecReportsWhatCannotStart()
{
    QFETCH(QString, commandLine);
    QFETCH(QString, reasonStart);
    const platform::StartResult result = platform::winExec(commandLine, 0);
    QVERIFY(!result.started);
    QVERIFY2(result.reason.startsWith(reasonStart), qPrintable(result.reason));
}

void TestProcess::winExecReportsMissingInterpreter()
{
    const QString missing = m_fixtures.filePath(QStringLiteral("no-interpreter"));
    platform::setInterpreterPath(missing);
    const platform::StartResult result =
        platform::winExec(m_fixtures.filePath(QStringLiteral("only.bat")), 0);
    QVERIFY(!result.started);
    QCOMPARE(result.reason, QStringLiteral("Не найден интерпретатор команд: ") + missing);
}

void TestProcess::winExecStartsProgramWithQuotedArguments()
{
    QTemporaryDir folder;
    const QString made = folder.filePath(QStringLiteral("made by \"touch\"; rm x"));
    const QString commandLine = QStringLiteral("touch \"%1\"").arg(QString(made).replace(u'"', "\\\""));
    const platform::StartResult result = platform::winExec(commandLine, 1);
    QVERIFY2(result.started, qPrintable(result.reason));
    QVERIFY(result.reason.isEmpty());
    QTRY_VERIFY(QFile::exists(made));
}

void TestProcess::winExecRunsBatchInItsFolderThroughInterpreter()
{
    QTemporaryDir folder;
    const QString home = folder.filePath(QStringLiteral("home with blank"));
    QVERIFY(QDir().mkpath(home));
    writeFile(home + "/files.lst", "Tr.frd\r\n");
    // Relative names prove that the batch runs in its own folder.
    writeFile(home + "/extrc.bat",
              QStringLiteral("%1 \"program ran\"\r\ncopy \"files.lst\" \"files1.lst\" /Y")
                  .arg(quoted(m_touch))
                  .toUtf8());
    writeFile(home + "/extrc.pif", "[Batch]\r\nTimeout=600\r\n");

    const platform::StartResult result = platform::winExec(quoted(home + "/extrc.bat"), 0);
    QVERIFY2(result.started, qPrintable(result.reason));
    QTRY_VERIFY(QFile::exists(home + "/files1.lst"));
    QVERIFY(QFile::exists(home + "/program ran"));
    QFile marker(home + "/files1.lst");
    QVERIFY(marker.open(QIODevice::ReadOnly));
    QCOMPARE(marker.readAll(), QByteArray("Tr.frd\r\n"));
}

void TestProcess::winExecGivesBatchTheSettingsOfItsPif()
{
    QTemporaryDir folder;
    // With the default limit the sleeping line would hold the marker back for a minute.
    writeFile(folder.filePath(QStringLiteral("run.bat")), "/bin/sleep 60\r\ncopy run.bat done /Y\r\n");
    writeFile(folder.filePath(QStringLiteral("RUN.PIF")), "[batch]\r\ntimeout = 1\r\n");

    const platform::StartResult result = platform::winExec(folder.filePath(QStringLiteral("run.bat")), 0);
    QVERIFY2(result.started, qPrintable(result.reason));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(folder.filePath(QStringLiteral("done"))), 30000);
}

void TestProcess::defaultInterpreterLiesBesideTheProgram()
{
    platform::setInterpreterPath({});
    QCOMPARE(platform::interpreterPath(), QCoreApplication::applicationDirPath() + "/rovex-cmd");
}

void TestProcess::startGameRunsExecutableInWorkingFolder()
{
    QTemporaryDir folder;
    const QString game = folder.filePath(QStringLiteral("game/nfshs.exe"));
    const QString workingFolder = folder.filePath(QStringLiteral("work"));
    QVERIFY(QDir().mkpath(folder.filePath(QStringLiteral("game"))));
    QVERIFY(QDir().mkpath(workingFolder));
    writeFile(game, "#!/bin/sh\necho started > started.txt\n", true);

    const platform::StartResult result = platform::startGame(game, workingFolder);
    QVERIFY2(result.started, qPrintable(result.reason));
    QTRY_VERIFY(QFile::exists(workingFolder + "/started.txt"));
}

void TestProcess::startGameFindsExecutableWhateverItsLetterCase()
{
    QTemporaryDir folder;
    writeFile(folder.filePath(QStringLiteral("NFSHS.EXE")), "#!/bin/sh\necho started > started.txt\n", true);

    const platform::StartResult result =
        platform::startGame(folder.filePath(QStringLiteral("nfshs.exe")), folder.path());
    QVERIFY2(result.started, qPrintable(result.reason));
    QTRY_VERIFY(QFile::exists(folder.filePath(QStringLiteral("started.txt"))));
}

void TestProcess::startGameWithoutWineNamesWine_data()
{
    QTest::addColumn<bool>("executable");
    QTest::newRow("without execute bit") << false;
    // Windows disks mounted on Linux mark every file executable.
    QTest::newRow("with execute bit") << true;
}

void TestProcess::startGameWithoutWineNamesWine()
{
    if (!QStandardPaths::findExecutable(QStringLiteral("wine")).isEmpty())
        QSKIP("wine is installed here");
    QFETCH(bool, executable);
    QTemporaryDir folder;
    const QString game = folder.filePath(QStringLiteral("nfshs.exe"));
    writeFile(game, QByteArray("MZ\x90\x00\x03", 5) + QByteArray(64, '\0'), executable);

    const platform::StartResult result = platform::startGame(game, folder.path());
    QVERIFY(!result.started);
    QCOMPARE(result.reason,
             QStringLiteral("Для запуска игры (программы Windows) нужен Wine: установите пакет wine."));
}

void TestProcess::startGameReportsFileItCannotRun_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reasonStart");
    QTest::newRow("missing file") << "missing.exe"
                                  << "Файл игры не найден: ";
    QTest::newRow("plain file") << "plain.txt"
                                << "Файл игры нельзя запустить: ";
    QTest::newRow("folder") << "folder"
                            << "Файл игры нельзя запустить: ";
}

void TestProcess::startGameReportsFileItCannotRun()
{
    QFETCH(QString, name);
    QFETCH(QString, reasonStart);
    const QString path = m_fixtures.filePath(name);
    const platform::StartResult result = platform::startGame(path, m_fixtures.path());
    QVERIFY(!result.started);
    QCOMPARE(result.reason, reasonStart + path);
}

void TestProcess::startGameRunsWineInThePrefixAroundTheGame_data()
{
    QTest::addColumn<QStringList>("layout"); // folders end with "/"; "link -> target" is a link
    QTest::addColumn<QString>("gameFolder");
    QTest::addColumn<QString>("prefix"); // empty: the session's own WINEPREFIX stays

    QTest::newRow("game inside a prefix")
        << QStringList{"wine/drive_c/Games/NFS/", "wine/system.reg"} << "wine/drive_c/Games/NFS"
        << "wine";
    QTest::newRow("nearest of nested prefixes")
        << QStringList{"a/drive_c/b/drive_c/NFS/", "a/system.reg", "a/drive_c/b/system.reg"}
        << "a/drive_c/b/drive_c/NFS"
        << "a/drive_c/b";
    QTest::newRow("game reached through a link")
        << QStringList{"wine/drive_c/NFS/", "wine/system.reg", "NFS -> wine/drive_c/NFS"} << "NFS"
        << "wine";
    QTest::newRow("drive_c without system.reg") << QStringList{"half/drive_c/NFS/"} << "half/drive_c/NFS"
                                                << "";
    QTest::newRow("system.reg without drive_c") << QStringList{"half/NFS/", "half/system.reg"} << "half/NFS"
                                                << "";
    QTest::newRow("outside any prefix") << QStringList{"games/NFS/"} << "games/NFS"
                                        << "";
}

void TestProcess::startGameRunsWineInThePrefixAroundTheGame()
{
    QFETCH(QStringList, layout);
    QFETCH(QString, gameFolder);
    QFETCH(QString, prefix);
    QTemporaryDir folder;
    const QString root = folder.filePath(QStringLiteral("with blank"));
    for (const QString& entry : layout) {
        const QString path = root + u'/' + entry.section(QStringLiteral(" -> "), 0, 0);
        if (entry.contains(QStringLiteral(" -> ")))
            QVERIFY(QFile::link(root + u'/' + entry.section(QStringLiteral(" -> "), 1), path));
        else if (entry.endsWith(u'/'))
            QVERIFY(QDir().mkpath(path));
        else
            writeFile(path, "WINE REGISTRY Version 2\n");
    }
    const QString game = root + u'/' + gameFolder + QStringLiteral("/nfshs.exe");
    writeFile(game, QByteArray("MZ\x90\x00\x03", 5) + QByteArray(64, '\0'));

    // A stand-in wine first on the PATH writes down what it was given.
    const QString log = folder.filePath(QStringLiteral("wine.log"));
    QVERIFY(QDir().mkpath(folder.filePath(QStringLiteral("bin"))));
    writeFile(
        folder.filePath(QStringLiteral("bin/wine")),
        QStringLiteral("#!/bin/sh\n{ echo \"WINEPREFIX=$WINEPREFIX\"; echo \"arguments=$*\"; } > '%1.new'\n"
                       "mv '%1.new' '%1'\n")
            .arg(log)
            .toUtf8(),
        true);
    qputenv("PATH", QFile::encodeName(folder.filePath(QStringLiteral("bin"))) + ':' + m_path);
    qputenv("WINEPREFIX", "/session/wine");

    const platform::StartResult result = platform::startGame(game, root + u'/' + gameFolder);
    QVERIFY2(result.started, qPrintable(result.reason));
    QTRY_VERIFY(QFile::exists(log));
    QFile recorded(log);
    QVERIFY(recorded.open(QIODevice::ReadOnly));
    const QString expectedPrefix = prefix.isEmpty() ? QStringLiteral("/session/wine") : root + u'/' + prefix;
    QCOMPARE(QString::fromUtf8(recorded.readAll()),
             QStringLiteral("WINEPREFIX=%1\narguments=%2\n").arg(expectedPrefix, game));
}

QTEST_GUILESS_MAIN(TestProcess)
#include "test_process.moc"
