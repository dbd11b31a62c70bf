#include "platform/FileName.h"
#include "platform/FileSystem.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace fs = platform::fs;

class TestFileSystemLookup : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void findEntriesMatchesWindowsPatterns_data();
    void findEntriesMatchesWindowsPatterns();
    void findEntriesOfMissingFolderIsEmpty();
    void namesThatAreNotUtf8KeepTheirBytes_data();
    void namesThatAreNotUtf8KeepTheirBytes();
    void existenceTellsKindsApart();
    void findNameIgnoringCasePrefersExactName();
    void findNameIgnoringCaseFindsCaseVariant();
    void findNameIgnoringCaseWithoutMatchIsEmpty();
    void resolveIgnoringCase_data();
    void resolveIgnoringCase();
    void removeFileLeavesFolders();
    void removeFileRemovesDanglingLink();
    void removeFolderOnlyWhenEmpty();
    void createFolderMakesOneLevel();

private:
    QString path(const QString& name) const { return m_dir->filePath(name); }
    void makeFile(const QString& name, const QByteArray& contents = "x") const;

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestFileSystemLookup::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestFileSystemLookup::makeFile(const QString& name, const QByteArray& contents) const
{
    QFile file(path(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(contents), contents.size());
}

void TestFileSystemLookup::findEntriesMatchesWindowsPatterns_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QStringList>("expected");

    const QStringList everything{"a.zip",      "B.ZIP",    "x.zip",        ".hidden.zip", "my track.zip",
                                 "трасса.Zip", "Tr.frd",   "0Tr",          "0Tr.frd",     "0dir",
                                 "tr1.fsh",    "tr22.fsh", "dangling.zip", "README"};
    QTest::newRow("zip of every kind and case")
        << "*.zip" << QStringList{"a.zip",        "B.ZIP",      "x.zip",       ".hidden.zip",
                                  "my track.zip", "трасса.Zip", "dangling.zip"};
    QTest::newRow("star dot star is everything") << "*.*" << everything;
    QTest::newRow("backups with and without extension") << "0*.*" << QStringList{"0Tr", "0Tr.frd", "0dir"};
    QTest::newRow("question mark is one letter") << "tr?.fsh" << QStringList{"tr1.fsh"};
    QTest::newRow("blank in the pattern") << "MY *" << QStringList{"my track.zip"};
    QTest::newRow("Cyrillic without case") << "ТРАССА.*" << QStringList{"трасса.Zip"};
    QTest::newRow("exact name without case") << "tr.FRD" << QStringList{"Tr.frd"};
    QTest::newRow("nothing matches") << "*.rar" << QStringList{};
}

void TestFileSystemLookup::findEntriesMatchesWindowsPatterns()
{
    QFETCH(QString, pattern);
    QFETCH(QStringList, expected);

    for (const char* name : {"a.zip", "B.ZIP", ".hidden.zip", "my track.zip", "трасса.Zip", "Tr.frd", "0Tr",
                             "0Tr.frd", "tr1.fsh", "tr22.fsh", "README"})
        makeFile(QString::fromUtf8(name));
    QVERIFY(QDir(m_dir->path()).mkdir("x.zip"));
    QVERIFY(QDir(m_dir->path()).mkdir("0dir"));
    QVERIFY(QFile::link(path("nowhere"), path("dangling.zip")));

    QStringList found = fs::findEntries(m_dir->path(), pattern);
    found.sort();
    expected.sort();
    QCOMPARE(found, expected);
}

void TestFileSystemLookup::findEntriesOfMissingFolderIsEmpty()
{
    QVERIFY(fs::findEntries(path("missing"), "*.*").isEmpty());
    makeFile("file.zip");
    QVERIFY(fs::findEntries(path("file.zip"), "*.*").isEmpty());
}

void TestFileSystemLookup::namesThatAreNotUtf8KeepTheirBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("shown");

    QTest::newRow("UTF-8") << QByteArray("трасса.zip") << QString("трасса.zip");
    QTest::newRow("Windows-1251") << QByteArray("\xD2\xF0\xE0\xF1\xF1\xE0.zip") << QString("Трасса.zip");
    QTest::newRow("CP866") << QByteArray("\x92\xE0\xA0\xE1\xE1\xA0.zip") << QString("’а\u00A0бб\u00A0.zip");
    QTest::newRow("overlong slash") << QByteArray("a\xC0\xAF.zip") << QString("aАЇ.zip");
    QTest::newRow("encoded surrogate") << QByteArray("\xED\xA0\x80.zip") << QString("н\u00A0Ђ.zip");
    QTest::newRow("cut-off sequence") << QByteArray("\xD0.zip") << QString("Р.zip");
    QTest::newRow("UTF-8 then a stray byte") << QByteArray("тр\xFF.zip") << QString("С‚СЂя.zip");
}

void TestFileSystemLookup::namesThatAreNotUtf8KeepTheirBytes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, shown);
    const QByteArray folder = QFile::encodeName(m_dir->path()) + "/";
    const int fd = ::open((folder + bytes).constData(), O_CREAT | O_WRONLY, 0644);
    QVERIFY(fd >= 0);
    ::close(fd);

    const QStringList found = fs::findEntries(m_dir->path(), "*.zip");
    QCOMPARE(found.size(), 1);
    QCOMPARE(platform::encodeFileName(found.first()), bytes);
    QCOMPARE(platform::displayFileName(found.first()), shown);
    // The name found opens, moves and comes back as the very file.
    QVERIFY(fs::fileExists(path(found.first())));
    QVERIFY(fs::moveNoReplace(path(found.first()), path("moved.zip")));
    QVERIFY(::access((folder + bytes).constData(), F_OK) != 0);
    QVERIFY(fs::moveNoReplace(path("moved.zip"), path(found.first())));
    QCOMPARE(::access((folder + bytes).constData(), F_OK), 0);
}

void TestFileSystemLookup::existenceTellsKindsApart()
{
    makeFile("file");
    QVERIFY(QDir(m_dir->path()).mkdir("folder"));
    QVERIFY(QFile::link(path("nowhere"), path("dangling")));

    QVERIFY(fs::fileExists(path("file")));
    QVERIFY(!fs::folderExists(path("file")));
    QVERIFY(fs::entryExists(path("file")));

    QVERIFY(!fs::fileExists(path("folder")));
    QVERIFY(fs::folderExists(path("folder")));
    QVERIFY(fs::folderExists(m_dir->path() + "//folder/"));
    QVERIFY(fs::entryExists(path("folder")));

    QVERIFY(!fs::fileExists(path("dangling")));
    QVERIFY(!fs::folderExists(path("dangling")));
    QVERIFY(fs::entryExists(path("dangling")));

    QVERIFY(!fs::entryExists(path("missing")));
    QVERIFY(!fs::entryExists(QString()));
    QVERIFY(!fs::fileExists(path("file") + QChar(u'\0') + "tail"));
}

void TestFileSystemLookup::findNameIgnoringCasePrefersExactName()
{
    makeFile("TR.FRD");
    makeFile("Tr.frd");
    makeFile("tr.frd");
    QCOMPARE(fs::findNameIgnoringCase(m_dir->path(), "Tr.frd"), QString("Tr.frd"));
    QCOMPARE(fs::findNameIgnoringCase(m_dir->path(), "tr.frd"), QString("tr.frd"));
}

void TestFileSystemLookup::findNameIgnoringCaseFindsCaseVariant()
{
    makeFile("Tr.frd");
    QVERIFY(QDir(m_dir->path()).mkdir("Трасса"));
    QCOMPARE(fs::findNameIgnoringCase(m_dir->path(), "TR.FRD"), QString("Tr.frd"));
    QCOMPARE(fs::findNameIgnoringCase(m_dir->path(), "ТРАССА"), QString("Трасса"));
}

void TestFileSystemLookup::findNameIgnoringCaseWithoutMatchIsEmpty()
{
    makeFile("Tr.frd");
    QVERIFY(fs::findNameIgnoringCase(m_dir->path(), "Tr.fr").isEmpty());
    QVERIFY(fs::findNameIgnoringCase(m_dir->path(), QString()).isEmpty());
    QVERIFY(fs::findNameIgnoringCase(path("missing"), "Tr.frd").isEmpty());
}

void TestFileSystemLookup::resolveIgnoringCase_data()
{
    QTest::addColumn<QString>("asked");
    QTest::addColumn<QString>("expected");

    QTest::newRow("case variant") << "Slot//TR.FRD"
                                  << "Slot//Tr.frd";
    QTest::newRow("exact name") << "Slot/Tr.frd"
                                << "Slot/Tr.frd";
    QTest::newRow("no such name") << "Slot/Tr.fsh"
                                  << "Slot/Tr.fsh";
    QTest::newRow("folder in other case") << "slot"
                                          << "Slot";
    QTest::newRow("only the last part is resolved") << "SLOT/Tr.frd"
                                                    << "SLOT/Tr.frd";
    QTest::newRow("trailing slash") << "Slot/"
                                    << "Slot/";
}

void TestFileSystemLookup::resolveIgnoringCase()
{
    QFETCH(QString, asked);
    QFETCH(QString, expected);

    QVERIFY(QDir(m_dir->path()).mkdir("Slot"));
    makeFile("Slot/Tr.frd");
    QCOMPARE(fs::resolveIgnoringCase(path(asked)), path(expected));
}

void TestFileSystemLookup::removeFileLeavesFolders()
{
    makeFile("file");
    QVERIFY(QDir(m_dir->path()).mkdir("folder"));
    QVERIFY(fs::removeFile(path("file")));
    QVERIFY(!fs::entryExists(path("file")));
    QVERIFY(!fs::removeFile(path("folder")));
    QVERIFY(fs::folderExists(path("folder")));
    QVERIFY(!fs::removeFile(path("missing")));
}

void TestFileSystemLookup::removeFileRemovesDanglingLink()
{
    QVERIFY(QDir(m_dir->path()).mkdir("folder"));
    QVERIFY(QFile::link(path("folder"), path("link")));
    QVERIFY(QFile::link(path("nowhere"), path("dangling")));
    QVERIFY(fs::removeFile(path("link")));
    QVERIFY(fs::removeFile(path("dangling")));
    QVERIFY(fs::folderExists(path("folder")));
    QVERIFY(!fs::entryExists(path("link")));
    QVERIFY(!fs::entryExists(path("dangling")));
}

void TestFileSystemLookup::removeFolderOnlyWhenEmpty()
{
    QVERIFY(QDir(m_dir->path()).mkpath("full/inner"));
    QVERIFY(QDir(m_dir->path()).mkdir("empty"));
    makeFile("file");
    QVERIFY(!fs::removeFolder(path("full")));
    QVERIFY(fs::folderExists(path("full/inner")));
    QVERIFY(!fs::removeFolder(path("file")));
    QVERIFY(fs::fileExists(path("file")));
    QVERIFY(fs::removeFolder(path("empty")));
    QVERIFY(!fs::entryExists(path("empty")));
}

void TestFileSystemLookup::createFolderMakesOneLevel()
{
    QVERIFY(fs::createFolder(path("Temp")));
    QVERIFY(fs::folderExists(path("Temp")));
    QVERIFY(!fs::createFolder(path("Temp")));
    QVERIFY(!fs::createFolder(path("a/b")));
    QVERIFY(!fs::entryExists(path("a")));
}

QTEST_GUILESS_MAIN(TestFileSystemLookup)
#include "test_filesystem_lookup.moc"
