#include "core/SlotTable.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

int run(const QString& program, const QStringList& arguments, const QString& folder = QString(),
        QByteArray* output = nullptr)
{
    QProcess process;
    if (!folder.isEmpty())
        process.setWorkingDirectory(folder);
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return -1;
    if (output)
        *output = process.readAllStandardOutput();
    return process.exitCode();
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestDemo : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void optionsPointAtLibraryAndGame();
    void gameHoldsEveryTrackFileOfEverySlot();
    void libraryAndDownloadsHoldArchives();
    void existingSetUpIsNeverOverwritten();
    void standinReportsReplacedFiles();
    void optionsCreateNothing_data();
    void optionsCreateNothing();

private:
    std::unique_ptr<QTemporaryDir> m_home;
};

void TestDemo::init()
{
    m_home = std::make_unique<QTemporaryDir>();
    QVERIFY(m_home->isValid());
    QCOMPARE(run(ROVEX_TOOL_ROVEX_DEMO, {m_home->path()}), 0);
}

void TestDemo::optionsPointAtLibraryAndGame()
{
    const QString demo = m_home->path() + "/demo/";
    QCOMPARE(readAll(m_home->path() + "/options.dat"),
             (demo + "library/\r\n" + demo + "game/\r\n1\r\n").toUtf8());
}

void TestDemo::gameHoldsEveryTrackFileOfEverySlot()
{
    const QString game = m_home->path() + "/demo/game/";
    for (const QString& slot : trackslots::SlotNames()) {
        QStringList names = QDir(game + "Data/Tracks/" + slot).entryList(QDir::Files);
        names.sort();
        QStringList expected = trackslots::TrackFileSet();
        expected.sort();
        QCOMPARE(names, expected);
        QVERIFY(readAll(game + "Data/Tracks/" + slot + "/Tr.frd").contains(slot.toUtf8()));
    }
    QVERIFY(QFileInfo(game + "nfshs.exe").isExecutable());
}

void TestDemo::libraryAndDownloadsHoldArchives()
{
    const QString demo = m_home->path() + "/demo/";
    QCOMPARE(QDir(demo + "library/Aquatica").entryList({"*.zip"}).size(), 3);
    for (const QString& slot : trackslots::SlotNames())
        QVERIFY(QFileInfo(demo + "library/" + slot).isDir());
    QVERIFY(!QDir(demo + "downloads").entryList({"*.zip"}).isEmpty());
    QVERIFY(readAll(demo + "library/Aquatica/aquatica_night.zip").startsWith("PK"));
}

void TestDemo::existingSetUpIsNeverOverwritten()
{
    const QByteArray before = readAll(m_home->path() + "/options.dat");
    QFile::remove(m_home->path() + "/demo/game/nfshs.exe");
    QVERIFY(run(ROVEX_TOOL_ROVEX_DEMO, {m_home->path()}) != 0);
    QCOMPARE(readAll(m_home->path() + "/options.dat"), before);
    QVERIFY(!QFile::exists(m_home->path() + "/demo/game/nfshs.exe"));
}

void TestDemo::standinReportsReplacedFiles()
{
    const QString game = m_home->path() + "/demo/game/";
    QVERIFY(QFile::rename(game + "Data/Tracks/Snowy/sky.qfs", game + "Data/Tracks/Snowy/0sky.qfs"));
    QVERIFY(QFile::rename(game + "Data/Tracks/Snowy/Tr.frd", game + "Data/Tracks/Snowy/0Tr.frd"));
    const QString report = m_home->path() + "/report.txt";
    QCOMPARE(run(game + "nfshs.exe", {"--report", report}, game), 0);
    const QStringList lines = QString::fromUtf8(readAll(report)).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 19);
    QVERIFY(lines.contains(QStringLiteral("Snowy: дополнительная трасса, заменены файлы: Tr.frd, sky.qfs")));
    QVERIFY(lines.contains(QStringLiteral("UK: стандартная трасса")));
}

void TestDemo::optionsCreateNothing_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("option");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("output"); // how standard output starts
    QTest::newRow("demo, help") << ROVEX_TOOL_ROVEX_DEMO << "--help" << 0
                                << QByteArray("usage: rovex-demo HOME");
    QTest::newRow("demo, unknown option") << ROVEX_TOOL_ROVEX_DEMO << "--home" << 2 << QByteArray();
    QTest::newRow("stand-in, help") << ROVEX_TOOL_NFSHS_STANDIN << "--help" << 0
                                    << QByteArray("usage: nfshs-standin [--report FILE]");
    QTest::newRow("stand-in, unknown option") << ROVEX_TOOL_NFSHS_STANDIN << "--bogus" << 2 << QByteArray();
}

void TestDemo::optionsCreateNothing()
{
    QFETCH(QString, program);
    QFETCH(QString, option);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, output);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QByteArray printed;
    QCOMPARE(run(program, {option}, folder.path(), &printed), exitCode);
    QVERIFY2(printed.startsWith(output), printed.constData());
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList());
}

QTEST_MAIN(TestDemo)
#include "test_demo.moc"
