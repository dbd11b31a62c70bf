#include "app/BatchRunner.h"
#include "core/SlotTable.h"
#include "platform/Process.h"
#include "tests/support/HomeFolder.h"
#include "tests/support/Processes.h"
#include "tools/archiver/ZipWriter.h"

#include <QDir>
#include <QFile>
#include <QTest>

class TestBatchRunner : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void trackListHoldsTheNamesEachEndedByCrLf();
    void startBatchQuotesEveryPath();
    void addBatchQuotesEveryPathAndIsRemoved();
    void unsafePathsAreRefused_data();
    void unsafePathsAreRefused();
    void staleMarkerDoesNotEndTheWait();
    void interpreterThatCannotStartIsReported();
    void archiverEndingDecidesTheOutcome_data();
    void archiverEndingDecidesTheOutcome();
    void markerWithoutStatusIsNoSuccess();
    void deadInterpreterEndsTheWait();
    void timedOutBatchIsStoppedWithItsPrograms();
    void listedTrackFilesAreExtractedFlat();
    void everyFileIsExtractedByTheAddBatch();

private:
    std::unique_ptr<HomeFolder> m_home;
};

void TestBatchRunner::init()
{
    m_home = std::make_unique<HomeFolder>(QStringLiteral(ROVEX_TOOL_ARCHIVER));
    QVERIFY(m_home->isValid());
    platform::setInterpreterPath(QStringLiteral(ROVEX_TOOL_ROVEX_CMD));
}

void TestBatchRunner::cleanup()
{
    m_home.reset();
}

void TestBatchRunner::trackListHoldsTheNamesEachEndedByCrLf()
{
    BatchRunner runner(m_home->path(), m_home->path("7zip.exe"));
    runner.writeTrackList();
    QByteArray expected;
    for (const QString& name : trackslots::TrackFileSet())
        expected += name.toUtf8() + "\r\n";
    QCOMPARE(m_home->readFile("files.lst"), expected);
}

void TestBatchRunner::startBatchQuotesEveryPath()
{
    // An interpreter that ends at once and never makes the marker.
    platform::setInterpreterPath(QStringLiteral("/bin/true"));
    const QString home = m_home->path();
    BatchRunner runner(home, home + "7zip.exe");
    runner.setTimeout(100);
    QCOMPARE(runner.extractTrackFiles("/lib ra/Coastal/a b.zip", "/lib ra/../Temp"),
             BatchRunner::Outcome::Failed);
    QVERIFY(!runner.reason().isEmpty());
    const QByteArray expected =
        ("\"" + home + "7zip.exe\" e \"/lib ra/Coastal/a b.zip\" -o\"/lib ra/../Temp\" @\"" + home +
         "files.lst\"\r\ncopy \"" + home + "files.lst\" \"" + home + "files1.lst\" /Y")
            .toUtf8();
    QCOMPARE(m_home->readFile("extrc.bat"), expected);
}

void TestBatchRunner::addBatchQuotesEveryPathAndIsRemoved()
{
    const QString home = m_home->path();
    // A stand-in interpreter that keeps a copy of the batch it was given (its last argument).
    const QString interpreter = m_home->writeFile("keep.sh", "#!/bin/sh\ncp \"$3\" \"$3.seen\"\n");
    QFile::setPermissions(interpreter, QFile::permissions(interpreter) | QFile::ExeOwner);
    platform::setInterpreterPath(interpreter);
    BatchRunner runner(home, home + "7zip.exe");
    runner.setTimeout(2000);
    QCOMPARE(runner.extractAll("/down loads/x.zip", "/lib/../Temp1"), BatchRunner::Outcome::Failed);
    QVERIFY(!QFile::exists(home + "extrc.bat"));
    const QByteArray expected =
        ("\"" + home + "7zip.exe\" e \"/down loads/x.zip\" -o\"/lib/../Temp1\"\r\ncopy \"" + home +
         "extrc.pif\" \"" + home + "extrc1.pif\" /Y")
            .toUtf8();
    QTRY_VERIFY(QFile::exists(home + "extrc.bat.seen"));
    QCOMPARE(m_home->readFile("extrc.bat.seen"), expected);
}

void TestBatchRunner::unsafePathsAreRefused_data()
{
    QTest::addColumn<QString>("archive");
    QTest::addColumn<QString>("folder");
    QTest::newRow("quote in archive") << "/lib/a\" & rm x.zip"
                                      << "/Temp";
    QTest::newRow("line feed in archive") << "/lib/a\nb.zip"
                                          << "/Temp";
    QTest::newRow("carriage return in folder") << "/lib/a.zip"
                                               << "/Te\rmp";
    QTest::newRow("tab in folder") << "/lib/a.zip"
                                   << "/Te\tmp";
    QTest::newRow("quote in folder") << "/lib/a.zip"
                                     << "/Te\"mp";
}

void TestBatchRunner::unsafePathsAreRefused()
{
    QFETCH(QString, archive);
    QFETCH(QString, folder);
    BatchRunner runner(m_home->path(), m_home->path("7zip.exe"));
    // Should the refusal break, a short wait keeps the failure from looking like a hang.
    runner.setTimeout(1000);
    QCOMPARE(runner.extractTrackFiles(archive, folder), BatchRunner::Outcome::Refused);
    QCOMPARE(runner.extractAll(archive, folder), BatchRunner::Outcome::Refused);
    QVERIFY(!runner.reason().isEmpty());
    QVERIFY(!QFile::exists(m_home->path("extrc.bat")));
}

void TestBatchRunner::staleMarkerDoesNotEndTheWait()
{
    m_home->writeFile("files1.lst", "left by an earlier run");
    platform::setInterpreterPath(QStringLiteral("/bin/true"));
    BatchRunner runner(m_home->path(), m_home->path("7zip.exe"));
    runner.setTimeout(100);
    QCOMPARE(runner.extractTrackFiles(m_home->path("a.zip"), m_home->path("Temp")),
             BatchRunner::Outcome::Failed);
    QVERIFY(!QFile::exists(m_home->path("files1.lst")));
}

void TestBatchRunner::interpreterThatCannotStartIsReported()
{
    platform::setInterpreterPath(m_home->path("no-such-interpreter"));
    BatchRunner runner(m_home->path(), m_home->path("7zip.exe"));
    QCOMPARE(runner.extractAll(m_home->path("a.zip"), m_home->path("Temp1")),
             BatchRunner::Outcome::NotStarted);
    QVERIFY(!runner.reason().isEmpty());
}

void TestBatchRunner::archiverEndingDecidesTheOutcome_data()
{
    QTest::addColumn<QByteArray>("script"); // the stand-in archiver's; empty: there is none
    QTest::addColumn<BatchRunner::Outcome>("outcome");
    QTest::addColumn<QString>("reason");
    using O = BatchRunner::Outcome;
    QTest::newRow("success") << QByteArray("exit 0") << O::Done << "";
    QTest::newRow("usage") << QByteArray("exit 1") << O::Failed
                           << "Архиватор не принял командную строку (код 1)";
    QTest::newRow("not an archive") << QByteArray("exit 2") << O::Failed
                                    << "Файл не является архивом или не открывается";
    QTest::newRow("broken or disk full")
        << QByteArray("exit 3") << O::Failed
        << "Архив повреждён, или в папку Temp не удалось записать файлы (например, на диске нет места)";
    QTest::newRow("encrypted") << QByteArray("exit 4") << O::Failed << "Архив зашифрован";
    QTest::newRow("interrupted") << QByteArray("exit 5") << O::Failed << "Распаковка прервана";
    QTest::newRow("over a limit") << QByteArray("exit 6") << O::Failed
                                  << "Архив слишком велик для трассы: в нём слишком много файлов, или они "
                                     "заняли бы слишком много места";
    QTest::newRow("unsupported method") << QByteArray("exit 7") << O::Failed
                                        << "Архив сжат способом, который архиватор не умеет распаковывать";
    QTest::newRow("code of a later archiver")
        << QByteArray("exit 9") << O::Failed << "Архиватор сообщил об ошибке (код 9)";
    QTest::newRow("killed") << QByteArray("kill -9 $$") << O::Failed << "Архиватор был остановлен (сигнал 9)";
    QTest::newRow("missing") << QByteArray() << O::Failed << "Архиватор не запустился";
}

void TestBatchRunner::archiverEndingDecidesTheOutcome()
{
    QFETCH(QByteArray, script);
    QFETCH(BatchRunner::Outcome, outcome);
    QFETCH(QString, reason);
    QString archiver = m_home->path("no-archiver");
    if (!script.isEmpty()) {
        archiver = m_home->writeFile("stand-in", "#!/bin/sh\n" + script + "\n");
        QFile::setPermissions(archiver, QFile::permissions(archiver) | QFile::ExeOwner);
    }
    BatchRunner runner(m_home->path(), archiver);
    runner.writeTrackList();
    QCOMPARE(runner.extractTrackFiles(m_home->path("a.zip"), m_home->makeFolder("Temp")), outcome);
    QCOMPARE(runner.reason(), reason);
    QVERIFY(!QFile::exists(m_home->path("files1.lst")));
    QVERIFY(!QFile::exists(m_home->path("files1.lst.status")));
}

void TestBatchRunner::markerWithoutStatusIsNoSuccess()
{
    // An interpreter that makes the marker but says nothing of the archiver.
    const QString interpreter = m_home->writeFile("mute.sh", "#!/bin/sh\ncp files.lst files1.lst\n");
    QFile::setPermissions(interpreter, QFile::permissions(interpreter) | QFile::ExeOwner);
    platform::setInterpreterPath(interpreter);
    BatchRunner runner(m_home->path(), m_home->path("7zip.exe"));
    runner.writeTrackList();
    QCOMPARE(runner.extractTrackFiles(m_home->path("a.zip"), m_home->makeFolder("Temp")),
             BatchRunner::Outcome::Failed);
    QCOMPARE(runner.reason(),
             QStringLiteral("Неизвестно, чем закончилась распаковка: нет сведений от интерпретатора команд"));
}

void TestBatchRunner::deadInterpreterEndsTheWait()
{
    // Ends without making the marker; the wait must not run to its minute.
    platform::setInterpreterPath(QStringLiteral("/bin/true"));
    BatchRunner runner(m_home->path(), m_home->path("7zip.exe"));
    runner.setTimeout(60000);
    QCOMPARE(runner.extractTrackFiles(m_home->path("a.zip"), m_home->path("Temp")),
             BatchRunner::Outcome::Failed);
    QCOMPARE(runner.reason(), QStringLiteral("Интерпретатор команд завершился, не закончив распаковку"));
}

void TestBatchRunner::timedOutBatchIsStoppedWithItsPrograms()
{
    // An interpreter that starts a program of its own and never makes the marker.
    const QString interpreter =
        m_home->writeFile("hang.sh", "#!/bin/sh\nsleep 120 &\necho $! > program\nexec sleep 120\n");
    QFile::setPermissions(interpreter, QFile::permissions(interpreter) | QFile::ExeOwner);
    platform::setInterpreterPath(interpreter);
    BatchRunner runner(m_home->path(), m_home->path("7zip.exe"));
    runner.setTimeout(1000);
    QCOMPARE(runner.extractTrackFiles(m_home->path("a.zip"), m_home->path("Temp")),
             BatchRunner::Outcome::TimedOut);
    const qint64 program = m_home->readFile("program").trimmed().toLongLong();
    QVERIFY(program > 0);
    QVERIFY(!processIsRunning(program));
}

void TestBatchRunner::listedTrackFilesAreExtractedFlat()
{
    const QString archive = m_home->path("lib rary/Gt3/new track.zip");
    QDir().mkpath(QFileInfo(archive).path());
    QVERIFY(writeZip(archive, {ZipEntry::folder("t/"), ZipEntry::file("t/Tr.frd", "frd"),
                               ZipEntry::file("t/SKY.QFS", "sky"), ZipEntry::file("t/readme.txt", "about")}));
    const QString work = m_home->makeFolder("lib rary/../Temp");
    BatchRunner runner(m_home->path(), m_home->path("7zip.exe"));
    runner.writeTrackList();
    QCOMPARE(runner.extractTrackFiles(archive, work), BatchRunner::Outcome::Done);
    QStringList extracted = QDir(work).entryList(QDir::Files);
    extracted.sort();
    QCOMPARE(extracted, (QStringList{"SKY.QFS", "Tr.frd"}));
    QCOMPARE(m_home->readFile("Temp/Tr.frd"), QByteArray("frd"));
    QVERIFY(!QFile::exists(m_home->path("files1.lst")));
    QVERIFY(QFile::exists(m_home->path("extrc.bat")));
}

void TestBatchRunner::everyFileIsExtractedByTheAddBatch()
{
    const QString archive = m_home->path("downloads/pack.zip");
    QDir().mkpath(QFileInfo(archive).path());
    QVERIFY(writeZip(archive, {ZipEntry::file("in/Tr.frd", "frd"), ZipEntry::file("readme.txt", "Coastal")}));
    const QString folder = m_home->makeFolder("Temp1");
    BatchRunner runner(m_home->path(), m_home->path("7zip.exe"));
    QCOMPARE(runner.extractAll(archive, folder), BatchRunner::Outcome::Done);
    QStringList extracted = QDir(folder).entryList(QDir::Files);
    extracted.sort();
    QCOMPARE(extracted, (QStringList{"Tr.frd", "readme.txt"}));
    QVERIFY(!QFile::exists(m_home->path("extrc1.pif")));
    QVERIFY(!QFile::exists(m_home->path("extrc.bat")));
}

QTEST_MAIN(TestBatchRunner)
#include "test_batch_runner.moc"
