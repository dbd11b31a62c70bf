#include "app/UnpackFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestUnpackFolder : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void missingFolderIsMadeAndRemoved();
    void emptyFolderIsUsedAndRemoved();
    void foreignFilesAreNeitherUsedNorDeleted();
    void fileInThePlaceOfTheFolderIsKept();
    void cleanUpRunsOnceAndOnDestruction();

private:
    QString temp1() const { return m_dir->filePath("Temp1"); }
    static void touch(const QString& path, const QByteArray& bytes = "x");

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestUnpackFolder::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestUnpackFolder::touch(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write the fixture");
}

void TestUnpackFolder::missingFolderIsMadeAndRemoved()
{
    UnpackFolder folder(temp1());
    QCOMPARE(folder.path(), temp1());
    QVERIFY(QFileInfo(temp1()).isDir());
    touch(temp1() + "/readme.txt");
    touch(temp1() + "/.hidden");
    folder.cleanUp();
    QVERIFY(!QFileInfo::exists(temp1()));
}

void TestUnpackFolder::emptyFolderIsUsedAndRemoved()
{
    QVERIFY(QDir().mkdir(temp1()));
    UnpackFolder folder(temp1());
    QCOMPARE(folder.path(), temp1());
    touch(temp1() + "/Tr.frd");
    folder.cleanUp();
    QVERIFY(!QFileInfo::exists(temp1()));
}

void TestUnpackFolder::foreignFilesAreNeitherUsedNorDeleted()
{
    QVERIFY(QDir().mkdir(temp1()));
    touch(temp1() + "/mine.txt", "someone else's");
    {
        UnpackFolder folder(temp1());
        QVERIFY(folder.path() != temp1());
        QVERIFY(folder.path().startsWith(temp1() + "/"));
        QVERIFY(QFileInfo(folder.path()).isDir());
        QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList{});
        touch(folder.path() + "/mine.txt", "unpacked");
        folder.cleanUp();
        QVERIFY(!QFileInfo::exists(folder.path()));
    }
    QCOMPARE(QDir(temp1()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{"mine.txt"});
    QFile kept(temp1() + "/mine.txt");
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), QByteArray("someone else's"));
}

void TestUnpackFolder::fileInThePlaceOfTheFolderIsKept()
{
    touch(temp1(), "not a folder");
    QString used;
    {
        UnpackFolder folder(temp1());
        used = folder.path();
        QVERIFY(used != temp1());
        QVERIFY(QFileInfo(used).isDir());
    }
    QVERIFY(!QFileInfo::exists(used));
    QVERIFY(QFileInfo(temp1()).isFile());
}

void TestUnpackFolder::cleanUpRunsOnceAndOnDestruction()
{
    {
        UnpackFolder folder(temp1());
        touch(temp1() + "/a.txt");
    }
    QVERIFY(!QFileInfo::exists(temp1()));

    UnpackFolder folder(temp1());
    folder.cleanUp();
    // A folder of the same name made after the clean-up is no longer ours.
    QVERIFY(QDir().mkdir(temp1()));
    touch(temp1() + "/later.txt");
    folder.cleanUp();
    QVERIFY(QFileInfo::exists(temp1() + "/later.txt"));
}

QTEST_APPLESS_MAIN(TestUnpackFolder)
#include "test_addtrack_unpack_folder.moc"
