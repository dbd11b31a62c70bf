#include "tools/archiver/ZipWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

// Runs the built "7zip.exe" on archives made for each case and checks what lands in the output folder.
class TestArchiver : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void extractsFilesWithoutTheirFolders();
    void createsAMissingOutputFolder();
    void listPicksNamesWithoutRegardToCase_data();
    void listPicksNamesWithoutRegardToCase();
    void missingListFileExtractsNothing();
    void replacesFilesOfTheSameName();
    void duplicateNamesKeepTheFirstInArchiveOrder();
    void brokenArchiveLeavesOutputUntouched_data();
    void brokenArchiveLeavesOutputUntouched();
    void folderInTheWayLeavesOutputUntouched();
    void notAnArchiveIsRefused_data();
    void notAnArchiveIsRefused();
    void encryptedEntryIsRefused();
    void hostileNamesStayInsideOutput_data();
    void hostileNamesStayInsideOutput();
    void linkEntriesAreNotCreated();
    void linkAlreadyInOutputIsReplacedNotFollowed();
    void pathsWithBlanksAndNonAsciiLetters();
    void helpListsTheExitCodes();
    void malformedCommandLinesAreRefused_data();
    void malformedCommandLinesAreRefused();

private:
    struct Run
    {
        int exitCode = -1;
        QString errors;
        QString output;
    };

    Run archiver(const QStringList& arguments);
    Run extract(const QString& archive, const QString& listFile = QString());
    bool makeZip(const QString& path, const QList<ZipEntry>& entries);
    QString writeFile(const QString& path, const QByteArray& content);
    QStringList outputNames() const;
    QByteArray outputFile(const QString& name) const;

    std::unique_ptr<QTemporaryDir> m_temp;
    QString m_output;
};

void TestArchiver::init()
{
    m_temp = std::make_unique<QTemporaryDir>();
    QVERIFY(m_temp->isValid());
    m_output = m_temp->filePath(QStringLiteral("Temp"));
    QVERIFY(QDir().mkpath(m_output));
}

TestArchiver::Run TestArchiver::archiver(const QStringList& arguments)
{
    QProcess process;
    // Standard input stays an open pipe: a program that asked anything would never end.
    process.start(QStringLiteral(ROVEX_TOOL_ARCHIVER), arguments);
    Run run;
    if (!process.waitForStarted() || !process.waitForFinished(120000) ||
        process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process.exitCode();
    run.errors = QString::fromUtf8(process.readAllStandardError());
    run.output = QString::fromUtf8(process.readAllStandardOutput());
    return run;
}

TestArchiver::Run TestArchiver::extract(const QString& archive, const QString& listFile)
{
    QStringList arguments{QStringLiteral("e"), archive, QStringLiteral("-o") + m_output};
    if (!listFile.isEmpty())
        arguments.append(QStringLiteral("@") + listFile);
    return archiver(arguments);
}

bool TestArchiver::makeZip(const QString& path, const QList<ZipEntry>& entries)
{
    QString error;
    if (QDir().mkpath(QFileInfo(path).path()) && writeZip(path, entries, &error))
        return true;
    qWarning("cannot build the fixture %s: %s", qPrintable(path), qPrintable(error));
    return false;
}

QString TestArchiver::writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        qWarning("cannot write the fixture %s", qPrintable(path));
    return path;
}

// Every entry of the output folder, hidden ones included, so a left-over work folder shows up.
QStringList TestArchiver::outputNames() const
{
    QStringList names =
        QDir(m_output).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    names.sort();
    return names;
}

QByteArray TestArchiver::outputFile(const QString& name) const
{
    QFile file(QDir(m_output).filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void TestArchiver::extractsFilesWithoutTheirFolders()
{
    const QString zip = m_temp->filePath("track.zip");
    QVERIFY(makeZip(zip, {ZipEntry::folder("Coastal"), ZipEntry::file("Coastal/Tr.frd", "road"),
                          ZipEntry::file("Coastal/art/Sky.qfs", "sky", ZipEntry::Method::Store),
                          ZipEntry::file("readme.txt", "Coastal track")}));

    const Run run = extract(zip);

    QCOMPARE(run.exitCode, 0);
    QCOMPARE(outputNames(), QStringList({"Sky.qfs", "Tr.frd", "readme.txt"}));
    QCOMPARE(outputFile("Tr.frd"), QByteArray("road"));
    QCOMPARE(outputFile("Sky.qfs"), QByteArray("sky"));
    QCOMPARE(outputFile("readme.txt"), QByteArray("Coastal track"));
}

void TestArchiver::createsAMissingOutputFolder()
{
    const QString zip = m_temp->filePath("track.zip");
    QVERIFY(makeZip(zip, {ZipEntry::file("a/Tr.frd", "road")}));
    m_output = m_temp->filePath(QStringLiteral("not/yet/there"));

    QCOMPARE(extract(zip).exitCode, 0);
    QCOMPARE(outputNames(), QStringList({"Tr.frd"}));
}

void TestArchiver::listPicksNamesWithoutRegardToCase_data()
{
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<QStringList>("extracted");

    QTest::newRow("CR LF lines") << QByteArray("tr.frd\r\nTR.CAN\r\n") << QStringList({"TR.FRD", "Tr.can"});
    QTest::newRow("LF lines") << QByteArray("TR.frd\ntr.can\n") << QStringList({"TR.FRD", "Tr.can"});
    QTest::newRow("last line without end") << QByteArray("readme.TXT") << QStringList({"readme.txt"});
    QTest::newRow("byte-order mark and blanks")
        << QByteArray("\xEF\xBB\xBF  tr.can \r\n\r\n") << QStringList({"Tr.can"});
    QTest::newRow("name not in the archive") << QByteArray("Sky.qfs\r\n") << QStringList();
    QTest::newRow("folder names do not match") << QByteArray("Data\r\nData/TR.FRD\r\n") << QStringList();
}

void TestArchiver::listPicksNamesWithoutRegardToCase()
{
    QFETCH(QByteArray, list);
    QFETCH(QStringList, extracted);
    const QString zip = m_temp->filePath("track.zip");
    QVERIFY(makeZip(zip, {ZipEntry::file("Data/TR.FRD", "road"), ZipEntry::file("Tr.can", "camera"),
                          ZipEntry::file("Data/deep/readme.txt", "text")}));
    const QString listFile = writeFile(m_temp->filePath("files.lst"), list);

    const Run run = extract(zip, listFile);

    QCOMPARE(run.exitCode, 0);
    QCOMPARE(outputNames(), extracted);
}

void TestArchiver::missingListFileExtractsNothing()
{
    const QString zip = m_temp->filePath("track.zip");
    QVERIFY(makeZip(zip, {ZipEntry::file("Tr.frd", "road")}));

    const Run run = extract(zip, m_temp->filePath("no-such.lst"));

    QCOMPARE(run.exitCode, 1);
    QVERIFY(run.errors.contains("no-such.lst"));
    QCOMPARE(outputNames(), QStringList());
}

void TestArchiver::replacesFilesOfTheSameName()
{
    writeFile(QDir(m_output).filePath("Tr.frd"), "old road");
    writeFile(QDir(m_output).filePath("TR.CAN"), "old camera");
    writeFile(QDir(m_output).filePath("other.txt"), "kept");
    const QString zip = m_temp->filePath("track.zip");
    QVERIFY(makeZip(zip, {ZipEntry::file("Tr.frd", "new road"), ZipEntry::file("Tr.can", "new camera")}));

    QCOMPARE(extract(zip).exitCode, 0);
    QCOMPARE(outputNames(), QStringList({"Tr.can", "Tr.frd", "other.txt"}));
    QCOMPARE(outputFile("Tr.frd"), QByteArray("new road"));
    QCOMPARE(outputFile("Tr.can"), QByteArray("new camera"));
    QCOMPARE(outputFile("other.txt"), QByteArray("kept"));
}

void TestArchiver::duplicateNamesKeepTheFirstInArchiveOrder()
{
    const QString zip = m_temp->filePath("track.zip");
    QVERIFY(makeZip(zip, {ZipEntry::file("a/Tr.frd", "first"), ZipEntry::file("b/TR.FRD", "second"),
                          ZipEntry::file("Tr.frd", "third")}));

    const Run run = extract(zip);

    QCOMPARE(run.exitCode, 0);
    QCOMPARE(outputNames(), QStringList({"Tr.frd"}));
    QCOMPARE(outputFile("Tr.frd"), QByteArray("first"));
    QVERIFY(run.errors.contains("b/TR.FRD"));
}

void TestArchiver::brokenArchiveLeavesOutputUntouched_data()
{
    QTest::addColumn<bool>("cutShort");
    QTest::newRow("cut in the middle of an entry") << true;
    QTest::newRow("wrong checksum") << false;
}

void TestArchiver::brokenArchiveLeavesOutputUntouched()
{
    QFETCH(bool, cutShort);
    writeFile(QDir(m_output).filePath("Tr.frd"), "standard road");
    const QByteArray payload = QByteArray("unique-payload-").repeated(2000);
    const QString zip = m_temp->filePath("track.zip");
    QVERIFY(makeZip(zip, {ZipEntry::file("Tr.frd", "add-on road"), ZipEntry::file("Tr.can", "camera"),
                          ZipEntry::file("Sky.qfs", payload, ZipEntry::Method::Store)}));
    QFile file(zip);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    const qsizetype middle = bytes.indexOf(payload) + payload.size() / 2;
    QVERIFY(middle > payload.size() / 2);
    if (cutShort) {
        bytes.truncate(middle);
    } else {
        bytes[middle] = 'X';
    }
    QVERIFY(file.resize(0));
    QCOMPARE(file.write(bytes), bytes.size());
    file.close();

    const Run run = extract(zip);

    QCOMPARE(run.exitCode, 3);
    QVERIFY(!run.errors.isEmpty());
    QCOMPARE(outputNames(), QStringList({"Tr.frd"}));
    QCOMPARE(outputFile("Tr.frd"), QByteArray("standard road"));
}

void TestArchiver::folderInTheWayLeavesOutputUntouched()
{
    QVERIFY(QDir(m_output).mkdir("tr.can"));
    const QString zip = m_temp->filePath("track.zip");
    QVERIFY(makeZip(zip, {ZipEntry::file("Tr.frd", "road"), ZipEntry::file("Tr.can", "camera")}));

    const Run run = extract(zip);

    QCOMPARE(run.exitCode, 3);
    QCOMPARE(outputNames(), QStringList({"tr.can"}));
    QVERIFY(QDir(QDir(m_output).filePath("tr.can")).isEmpty());
}

void TestArchiver::notAnArchiveIsRefused_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("exists");

    QTest::newRow("text file") << "notes.zip" << QByteArray("Coastal, not an archive\r\n") << true;
    QTest::newRow("empty file") << "empty.zip" << QByteArray() << true;
    QTest::newRow("gzip of nothing") << "empty.tar.gz"
                                     << QByteArray("\x1f\x8b\x08\0\0\0\0\0\0\x03\x03\0\0\0\0\0\0\0\0\0", 20)
                                     << true;
    QTest::newRow("missing file") << "gone.zip" << QByteArray() << false;
}

void TestArchiver::notAnArchiveIsRefused()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(bool, exists);
    const QString path = m_temp->filePath(name);
    if (exists)
        writeFile(path, content);

    const Run run = extract(path);

    QCOMPARE(run.exitCode, 2);
    QVERIFY(!run.errors.isEmpty());
    QCOMPARE(outputNames(), QStringList());
}

void TestArchiver::encryptedEntryIsRefused()
{
    const QString zip = m_temp->filePath("locked.zip");
    QString error;
    if (!writeEncryptedZip(zip, {ZipEntry::file("Tr.frd", "secret road"), ZipEntry::file("Tr.can", "camera")},
                           "password", &error))
        QSKIP(qPrintable("this libarchive cannot write encrypted zip entries: " + error));

    const Run run = extract(zip);

    QCOMPARE(run.exitCode, 4);
    QVERIFY(run.errors.contains("encrypted"));
    QCOMPARE(outputNames(), QStringList());
}

void TestArchiver::hostileNamesStayInsideOutput_data()
{
    QTest::addColumn<QString>("entryName");
    QTest::addColumn<QStringList>("extracted");

    QTest::newRow("parent folder") << "../x" << QStringList({"x"});
    QTest::newRow("absolute") << "/abs/x" << QStringList({"x"});
    QTest::newRow("parent inside a folder") << "a/../../x" << QStringList({"x"});
    QTest::newRow("backslashes") << "..\\..\\x" << QStringList({"x"});
    QTest::newRow("ends in parent") << "a/.." << QStringList();
    QTest::newRow("only parent") << ".." << QStringList();
    QTest::newRow("only dot") << "." << QStringList();
    QTest::newRow("ends in dot") << "a/." << QStringList();
}

void TestArchiver::hostileNamesStayInsideOutput()
{
    QFETCH(QString, entryName);
    QFETCH(QStringList, extracted);
    m_output = m_temp->filePath("outer/Temp");
    QVERIFY(QDir().mkpath(m_output));
    const QString zip = m_temp->filePath("hostile/track.zip");
    QVERIFY(makeZip(zip, {ZipEntry::file(entryName, "payload")}));

    const Run run = extract(zip);

    QCOMPARE(run.exitCode, 0);
    QCOMPARE(outputNames(), extracted);
    QCOMPARE(
        QDir(m_temp->filePath("outer")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
        QStringList({"Temp"}));
    QVERIFY(!QFileInfo::exists(m_temp->filePath("x")));
}

void TestArchiver::linkEntriesAreNotCreated()
{
    writeFile(m_temp->filePath("victim.txt"), "victim");
    const QString zip = m_temp->filePath("track.zip");
    QVERIFY(makeZip(zip, {ZipEntry::symlink("Tr.frd", m_temp->filePath("victim.txt")),
                          ZipEntry::symlink("up", ".."), ZipEntry::file("up/Tr.can", "camera")}));

    const Run run = extract(zip);

    QCOMPARE(run.exitCode, 0);
    QCOMPARE(outputNames(), QStringList({"Tr.can"}));
    QVERIFY(!QFileInfo(QDir(m_output).filePath("Tr.can")).isSymLink());
    QVERIFY(!QFileInfo::exists(m_temp->filePath("Tr.can")));
}

void TestArchiver::linkAlreadyInOutputIsReplacedNotFollowed()
{
    const QString victim = writeFile(m_temp->filePath("victim.txt"), "victim");
    QVERIFY(QFile::link(victim, QDir(m_output).filePath("Tr.frd")));
    const QString zip = m_temp->filePath("track.zip");
    QVERIFY(makeZip(zip, {ZipEntry::file("Tr.frd", "road")}));

    QCOMPARE(extract(zip).exitCode, 0);

    QFile original(victim);
    QVERIFY(original.open(QIODevice::ReadOnly));
    QCOMPARE(original.readAll(), QByteArray("victim"));
    const QFileInfo extracted(QDir(m_output).filePath("Tr.frd"));
    QVERIFY(!extracted.isSymLink());
    QCOMPARE(outputFile("Tr.frd"), QByteArray("road"));
}

void TestArchiver::pathsWithBlanksAndNonAsciiLetters()
{
    const QString zip = m_temp->filePath("Мои трассы/Трасса 1.zip");
    QVERIFY(makeZip(zip, {ZipEntry::file("Папка трассы/Описание трассы.txt", "Бухта"),
                          ZipEntry::file("Папка трассы/Tr.frd", "road")}));
    const QString listFile = writeFile(m_temp->filePath("список файлов.lst"), "ОПИСАНИЕ ТРАССЫ.TXT\r\n");
    m_output = m_temp->filePath("Рабочая папка");

    QCOMPARE(extract(zip, listFile).exitCode, 0);
    QCOMPARE(outputNames(), QStringList({"Описание трассы.txt"}));
    QCOMPARE(outputFile("Описание трассы.txt"), QByteArray("Бухта"));
}

void TestArchiver::helpListsTheExitCodes()
{
    const Run run = archiver({"--help"});

    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.output.contains("Usage: 7zip.exe e ARCHIVE -oDIR [@LISTFILE]"));
    QVERIFY(run.output.contains("Exit codes:"));
    QVERIFY(run.output.contains("first in archive order"));
    QVERIFY(run.output.contains("  6  refused by a limit"));
    QVERIFY(
        run.output.contains("  7  an entry to extract uses a compression method this archiver cannot read"));
    QVERIFY(run.output.contains("2048 MiB in all"));
}

void TestArchiver::malformedCommandLinesAreRefused_data()
{
    QTest::addColumn<QStringList>("arguments");

    QTest::newRow("nothing") << QStringList();
    QTest::newRow("unknown command") << QStringList({"x", "track.zip", "-oOUT"});
    QTest::newRow("no output folder") << QStringList({"e", "track.zip"});
    QTest::newRow("empty output folder") << QStringList({"e", "track.zip", "-o"});
    QTest::newRow("no archive") << QStringList({"e", "-oOUT"});
    QTest::newRow("two archives") << QStringList({"e", "track.zip", "other.zip", "-oOUT"});
    QTest::newRow("unknown switch") << QStringList({"e", "track.zip", "-oOUT", "-p"});
}

void TestArchiver::malformedCommandLinesAreRefused()
{
    QFETCH(QStringList, arguments);
    const QString zip = m_temp->filePath("track.zip");
    QVERIFY(makeZip(zip, {ZipEntry::file("Tr.frd", "road")}));
    for (QString& argument : arguments) {
        argument.replace("track.zip", zip);
        argument.replace("-oOUT", "-o" + m_output);
    }

    const Run run = archiver(arguments);

    QCOMPARE(run.exitCode, 1);
    QVERIFY(run.errors.contains("usage"));
    QCOMPARE(outputNames(), QStringList());
}

QTEST_GUILESS_MAIN(TestArchiver)
#include "test_archiver.moc"
