// rovex-cmd run for real on batches built in temporary folders.
#include "tests/support/Processes.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <csignal>

namespace {

void writeFile(const QString& path, const QByteArray& contents)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    QCOMPARE(file.write(contents), contents.size());
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The exit code of rovex-cmd running `batch` (and `pif` when given) in `folder`, -1 when it did not end.
int runInterpreter(const QString& folder, const QByteArray& batch, const QByteArray& pif = {})
{
    writeFile(folder + "/run.bat", batch);
    QStringList arguments;
    if (!pif.isNull()) {
        writeFile(folder + "/run.pif", pif);
        arguments << QStringLiteral("--settings") << QStringLiteral("run.pif");
    }
    arguments << QStringLiteral("run.bat");
    QProcess interpreter;
    interpreter.setWorkingDirectory(folder);
    // Its complaints show in the test log.
    interpreter.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    interpreter.start(QStringLiteral(ROVEX_TOOL_ROVEX_CMD), arguments);
    if (!interpreter.waitForFinished(60000) || interpreter.exitStatus() != QProcess::NormalExit)
        return -1;
    return interpreter.exitCode();
}

} // namespace

class TestInterpreter : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void copiesFileOverwritingTarget_data();
    void copiesFileOverwritingTarget();
    void copyIntoFolderKeepsSourceName();
    void copyOfMissingSourceFailsAndLeavesNoTarget();
    void copyWithoutTargetFails();
    void runsEveryLineAfterFailingOnes();
    void skipsBlankLinesWhateverTheLineEnds_data();
    void skipsBlankLinesWhateverTheLineEnds();
    void passesQuotedArgumentsWithBlanksAndQuotes();
    void neverLetsShellInterpretLine_data();
    void neverLetsShellInterpretLine();
    void programFailureMakesExitCodeOne();
    void copyRecordsHowTheProgramBeforeEnded_data();
    void copyRecordsHowTheProgramBeforeEnded();
    void programEndsWithTheInterpreter();
    void killsProgramRunningLongerThanTimeout();
    void readsTimeoutWithWindowsIniRules_data();
    void readsTimeoutWithWindowsIniRules();
    void refusesWrongUsage_data();
    void refusesWrongUsage();

private:
    QString m_touch;
};

void TestInterpreter::initTestCase()
{
    m_touch = QStandardPaths::findExecutable(QStringLiteral("touch"));
    QVERIFY(!m_touch.isEmpty());
}

void TestInterpreter::copiesFileOverwritingTarget_data()
{
    QTest::addColumn<QString>("line");
    QTest::newRow("with /Y") << "copy src.txt dst.txt /Y";
    QTest::newRow("without /Y") << "copy src.txt dst.txt";
    QTest::newRow("upper case") << "COPY src.txt dst.txt /y";
    QTest::newRow("switch first") << "copy /Y src.txt dst.txt";
    QTest::newRow("quoted paths") << "copy \"src.txt\" \"dst.txt\" /Y";
}

void TestInterpreter::copiesFileOverwritingTarget()
{
    QFETCH(QString, line);
    QTemporaryDir folder;
    writeFile(folder.filePath(QStringLiteral("src.txt")), "new contents\r\n");
    writeFile(folder.filePath(QStringLiteral("dst.txt")), "old contents that are longer\r\n");

    QCOMPARE(runInterpreter(folder.path(), line.toUtf8()), 0);
    QCOMPARE(readFile(folder.filePath(QStringLiteral("dst.txt"))), QByteArray("new contents\r\n"));
    QCOMPARE(readFile(folder.filePath(QStringLiteral("src.txt"))), QByteArray("new contents\r\n"));
}

void TestInterpreter::copyIntoFolderKeepsSourceName()
{
    QTemporaryDir folder;
    writeFile(folder.filePath(QStringLiteral("extrc.pif")), "[Batch]\r\n");
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("target")));

    QCOMPARE(runInterpreter(folder.path(), "copy extrc.pif target /Y"), 0);
    QCOMPARE(readFile(folder.filePath(QStringLiteral("target/extrc.pif"))), QByteArray("[Batch]\r\n"));
}

void TestInterpreter::copyOfMissingSourceFailsAndLeavesNoTarget()
{
    QTemporaryDir folder;
    QCOMPARE(runInterpreter(folder.path(), "copy missing.lst marker.lst /Y"), 1);
    QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("marker.lst"))));
    // No temporary file is left behind either.
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{"run.bat"});
}

void TestInterpreter::copyWithoutTargetFails()
{
    QTemporaryDir folder;
    writeFile(folder.filePath(QStringLiteral("src.txt")), "x");
    QCOMPARE(runInterpreter(folder.path(), "copy src.txt /Y"), 1);
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), (QStringList{"run.bat", "src.txt"}));
}

void TestInterpreter::runsEveryLineAfterFailingOnes()
{
    QTemporaryDir folder;
    writeFile(folder.filePath(QStringLiteral("files.lst")), "list");
    const QByteArray batch = "/no/such/archiver e a.zip -oTemp\r\n"
                             "/bin/false\r\n"
                             "copy files.lst files1.lst /Y";

    QCOMPARE(runInterpreter(folder.path(), batch), 1);
    QCOMPARE(readFile(folder.filePath(QStringLiteral("files1.lst"))), QByteArray("list"));
}

void TestInterpreter::skipsBlankLinesWhateverTheLineEnds_data()
{
    QTest::addColumn<QByteArray>("batch");
    QTest::newRow("CR LF") << QByteArray("touch one\r\n\r\n  \r\ntouch two\r\n");
    QTest::newRow("LF") << QByteArray("touch one\n\n\t\ntouch two\n");
    QTest::newRow("no end after last line") << QByteArray("\r\ntouch one\r\ntouch two");
    QTest::newRow("mixed") << QByteArray("touch one\ntouch two\r\n");
}

void TestInterpreter::skipsBlankLinesWhateverTheLineEnds()
{
    QFETCH(QByteArray, batch);
    QTemporaryDir folder;
    QCOMPARE(runInterpreter(folder.path(), batch.replace("touch", m_touch.toUtf8())), 0);
    QVERIFY(QFile::exists(folder.filePath(QStringLiteral("one"))));
    QVERIFY(QFile::exists(folder.filePath(QStringLiteral("two"))));
}

void TestInterpreter::passesQuotedArgumentsWithBlanksAndQuotes()
{
    QTemporaryDir folder;
    const QString tools = folder.filePath(QStringLiteral("my tools"));
    QVERIFY(QDir().mkpath(tools));
    writeFile(tools + "/mark it", "#!/bin/sh\nfor name in \"$@\"; do echo \"$name\" >> \"$name\"; done\n");
    QFile script(tools + "/mark it");
    QVERIFY(script.setPermissions(script.permissions() | QFileDevice::ExeOwner));
    writeFile(folder.filePath(QStringLiteral("Трасса \"1\".txt")), "track");

    const QString batch = QStringLiteral("\"%1/mark it\" \"a b\" -o\"c d\" \"e \\\"f\\\"\"\r\n"
                                         "copy \"Трасса \\\"1\\\".txt\" \"my tools/копия 1.txt\" /Y")
                              .arg(tools);
    QCOMPARE(runInterpreter(folder.path(), batch.toUtf8()), 0);
    QCOMPARE(readFile(folder.filePath(QStringLiteral("a b"))), QByteArray("a b\n"));
    QCOMPARE(readFile(folder.filePath(QStringLiteral("-oc d"))), QByteArray("-oc d\n"));
    QCOMPARE(readFile(folder.filePath(QStringLiteral("e \"f\""))), QByteArray("e \"f\"\n"));
    QCOMPARE(readFile(tools + QStringLiteral("/копия 1.txt")), QByteArray("track"));
}

void TestInterpreter::neverLetsShellInterpretLine_data()
{
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<QStringList>("createdLiterally");

    QTest::newRow("semicolon") << "a ; rm victim" << QStringList{"a", ";", "rm"};
    QTest::newRow("semicolon in a word") << "a; rm victim" << QStringList{"a;", "rm"};
    QTest::newRow("pipe") << "a | rm victim" << QStringList{"a", "|", "rm"};
    QTest::newRow("and") << "a && rm victim" << QStringList{"a", "&&", "rm"};
    QTest::newRow("command substitution") << "$(rm victim)" << QStringList{"$(rm", "victim)"};
    QTest::newRow("backticks") << "`rm victim`" << QStringList{"`rm", "victim`"};
    QTest::newRow("redirection") << "a > victim" << QStringList{"a", ">"};
    QTest::newRow("variables") << "$HOME %COMSPEC% ~" << QStringList{"$HOME", "%COMSPEC%", "~"};
    QTest::newRow("quoted command") << "\"a; rm victim\"" << QStringList{"a; rm victim"};
}

void TestInterpreter::neverLetsShellInterpretLine()
{
    QFETCH(QString, arguments);
    QFETCH(QStringList, createdLiterally);
    QTemporaryDir folder;
    const QString victim = folder.filePath(QStringLiteral("victim"));
    writeFile(victim, "precious");

    QCOMPARE(runInterpreter(folder.path(), (m_touch + u' ' + arguments).toUtf8()), 0);
    QCOMPARE(readFile(victim), QByteArray("precious"));
    for (const QString& name : createdLiterally)
        QVERIFY2(QFile::exists(folder.filePath(name)), qPrintable(name));
}

void TestInterpreter::programFailureMakesExitCodeOne()
{
    QTemporaryDir folder;
    QCOMPARE(runInterpreter(folder.path(), "/bin/true\r\n/bin/false\r\n/bin/true"), 1);
    QCOMPARE(runInterpreter(folder.path(), "/bin/true\r\n/bin/true"), 0);
}

void TestInterpreter::copyRecordsHowTheProgramBeforeEnded_data()
{
    QTest::addColumn<QByteArray>("program");
    QTest::addColumn<QByteArray>("pif");
    QTest::addColumn<QByteArray>("status"); // empty: no status file
    QTest::newRow("success") << QByteArray("/bin/true") << QByteArray() << QByteArray("exit 0\r\n");
    QTest::newRow("failure") << QByteArray("/bin/false") << QByteArray() << QByteArray("exit 1\r\n");
    QTest::newRow("killed") << QByteArray("/bin/sh -c \"kill -9 $$\"") << QByteArray()
                            << QByteArray("signal 9\r\n");
    QTest::newRow("not started") << QByteArray("/no/such/program") << QByteArray()
                                 << QByteArray("not-started\r\n");
    QTest::newRow("past the time limit")
        << QByteArray("/bin/sleep 120") << QByteArray("[Batch]\r\nTimeout=1\r\n")
        << QByteArray("timeout\r\n");
    QTest::newRow("no program line") << QByteArray() << QByteArray() << QByteArray();
}

void TestInterpreter::copyRecordsHowTheProgramBeforeEnded()
{
    QFETCH(QByteArray, program);
    QFETCH(QByteArray, pif);
    QFETCH(QByteArray, status);
    QTemporaryDir folder;
    writeFile(folder.filePath(QStringLiteral("files.lst")), "list");
    const QByteArray copy = "copy files.lst files1.lst /Y";
    runInterpreter(folder.path(), program.isEmpty() ? copy : program + "\r\n" + copy,
                   pif.isEmpty() ? QByteArray() : pif);
    QCOMPARE(readFile(folder.filePath(QStringLiteral("files1.lst"))), QByteArray("list"));
    const QString statusFile = folder.filePath(QStringLiteral("files1.lst.status"));
    QCOMPARE(QFile::exists(statusFile), !status.isEmpty());
    QCOMPARE(readFile(statusFile), status);
}

void TestInterpreter::programEndsWithTheInterpreter()
{
    QTemporaryDir folder;
    writeFile(folder.filePath(QStringLiteral("run.bat")), "/bin/sh -c \"echo $$ > pid; exec sleep 120\"");
    QProcess interpreter;
    interpreter.setWorkingDirectory(folder.path());
    interpreter.start(QStringLiteral(ROVEX_TOOL_ROVEX_CMD), {QStringLiteral("run.bat")});
    QTRY_VERIFY(readFile(folder.filePath(QStringLiteral("pid"))).endsWith('\n'));
    const qint64 program = readFile(folder.filePath(QStringLiteral("pid"))).trimmed().toLongLong();
    QVERIFY(processIsRunning(program));
    interpreter.kill();
    QVERIFY(interpreter.waitForFinished());
    QTRY_VERIFY(!processIsRunning(program));
}

void TestInterpreter::killsProgramRunningLongerThanTimeout()
{
    QTemporaryDir folder;
    writeFile(folder.filePath(QStringLiteral("files.lst")), "list");
    // The program leaves its process id behind and then sleeps far past the limit.
    const QByteArray batch = "/bin/sh -c \"echo $$ > pid; exec sleep 120\"\r\n"
                             "copy files.lst files1.lst /Y";

    QCOMPARE(runInterpreter(folder.path(), batch, "[Batch]\r\nTimeout=1\r\n"), 1);
    QCOMPARE(readFile(folder.filePath(QStringLiteral("files1.lst"))), QByteArray("list"));
    bool isNumber = false;
    const pid_t pid = readFile(folder.filePath(QStringLiteral("pid"))).trimmed().toInt(&isNumber);
    QVERIFY(isNumber);
    QCOMPARE(::kill(pid, 0), -1);
    QCOMPARE(errno, ESRCH);
}

void TestInterpreter::readsTimeoutWithWindowsIniRules_data()
{
    QTest::addColumn<QByteArray>("pif");
    QTest::newRow("small letters") << QByteArray("[batch]\ntimeout=1\n");
    QTest::newRow("blanks around names") << QByteArray("[ Batch ]\r\n Timeout = 1 \r\n");
    QTest::newRow("first key wins") << QByteArray("[Batch]\r\nTimeout=1\r\nTimeout=600\r\n");
    QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF[Batch]\r\nTimeout=1");
}

void TestInterpreter::readsTimeoutWithWindowsIniRules()
{
    QFETCH(QByteArray, pif);
    QTemporaryDir folder;
    // Under the default limit of ten minutes the run would not end within the wait below.
    QCOMPARE(runInterpreter(folder.path(), "/bin/sleep 120\r\n/bin/true", pif), 1);
}

void TestInterpreter::refusesWrongUsage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("no batch") << QStringList{};
    QTest::newRow("settings without batch") << QStringList{"--settings", "run.pif"};
    QTest::newRow("two batches") << QStringList{"a.bat", "b.bat"};
    QTest::newRow("unknown option") << QStringList{"--shell", "a.bat"};
    QTest::newRow("missing batch") << QStringList{"no-such.bat"};
}

void TestInterpreter::refusesWrongUsage()
{
    QFETCH(QStringList, arguments);
    QTemporaryDir folder;
    QProcess interpreter;
    interpreter.setWorkingDirectory(folder.path());
    interpreter.start(QStringLiteral(ROVEX_TOOL_ROVEX_CMD), arguments);
    QVERIFY(interpreter.waitForFinished(60000));
    QCOMPARE(interpreter.exitCode(), 1);
    QVERIFY(!interpreter.readAllStandardError().isEmpty());
}

QTEST_GUILESS_MAIN(TestInterpreter)
#include "test_interpreter.moc"
