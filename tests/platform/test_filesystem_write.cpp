#include "platform/FileSystem.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace fs = platform::fs;

class TestWriteFileAtomically : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void createsNewFile();
    void replacesOldFileWhole();
    void writesEmptyContents();
    void keepsPermissionsOfReplacedFile();
    void updatesFileBehindLink();
    void failsWithReasonAndKeepsOldFile_data();
    void failsWithReasonAndKeepsOldFile();

private:
    QString path(const QString& name) const { return m_dir->filePath(name); }
    QStringList entries() const
    {
        return QDir(m_dir->path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }
    static QByteArray contentsOf(const QString& path);

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestWriteFileAtomically::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

QByteArray TestWriteFileAtomically::contentsOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void TestWriteFileAtomically::createsNewFile()
{
    QCOMPARE(fs::writeFileAtomically(path("options.dat"), "/games/tracks/\r\n/games/nfs/\r\n1\r\n"),
             QString());
    QCOMPARE(contentsOf(path("options.dat")), QByteArray("/games/tracks/\r\n/games/nfs/\r\n1\r\n"));
    QCOMPARE(entries(), QStringList{"options.dat"});
}

void TestWriteFileAtomically::replacesOldFileWhole()
{
    QCOMPARE(fs::writeFileAtomically(path("options.dat"), QByteArray(5000, 'o')), QString());
    QCOMPARE(fs::writeFileAtomically(path("options.dat"), "short"), QString());
    QCOMPARE(contentsOf(path("options.dat")), QByteArray("short"));
    QCOMPARE(entries(), QStringList{"options.dat"});
}

void TestWriteFileAtomically::writesEmptyContents()
{
    QCOMPARE(fs::writeFileAtomically(path("options.dat"), "old"), QString());
    QCOMPARE(fs::writeFileAtomically(path("options.dat"), QByteArray()), QString());
    QVERIFY(fs::fileExists(path("options.dat")));
    QCOMPARE(contentsOf(path("options.dat")), QByteArray());
}

void TestWriteFileAtomically::keepsPermissionsOfReplacedFile()
{
    QCOMPARE(fs::writeFileAtomically(path("options.dat"), "old"), QString());
    const QFile::Permissions chosen =
        QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
    QVERIFY(QFile::setPermissions(path("options.dat"), chosen));
    QCOMPARE(fs::writeFileAtomically(path("options.dat"), "new"), QString());
    QCOMPARE(QFile::permissions(path("options.dat")) & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser),
             chosen);
}

void TestWriteFileAtomically::updatesFileBehindLink()
{
    QVERIFY(QDir(m_dir->path()).mkdir("real"));
    QCOMPARE(fs::writeFileAtomically(path("real/options.dat"), "old"), QString());
    QVERIFY(QFile::link(path("real/options.dat"), path("options.dat")));
    QCOMPARE(fs::writeFileAtomically(path("options.dat"), "new"), QString());
    QCOMPARE(QFile::symLinkTarget(path("options.dat")), path("real/options.dat"));
    QCOMPARE(contentsOf(path("real/options.dat")), QByteArray("new"));
}

void TestWriteFileAtomically::failsWithReasonAndKeepsOldFile_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("reason");

    QTest::newRow("folder does not exist") << "missing/options.dat" << qt_error_string(ENOENT);
    QTest::newRow("path is a folder") << "folder" << qt_error_string(EISDIR);
    QTest::newRow("path under a file") << "options.dat/inner" << qt_error_string(ENOTDIR);
}

void TestWriteFileAtomically::failsWithReasonAndKeepsOldFile()
{
    QFETCH(QString, target);
    QFETCH(QString, reason);

    QVERIFY(QDir(m_dir->path()).mkdir("folder"));
    QCOMPARE(fs::writeFileAtomically(path("options.dat"), "old"), QString());

    QCOMPARE(fs::writeFileAtomically(path(target), "new"),
             QStringLiteral("Cannot write %1: %2").arg(path(target), reason));
    QCOMPARE(contentsOf(path("options.dat")), QByteArray("old"));
    QVERIFY(fs::folderExists(path("folder")));
    QCOMPARE(entries(), (QStringList{"folder", "options.dat"}));
    QVERIFY(QDir(path("folder")).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

QTEST_GUILESS_MAIN(TestWriteFileAtomically)
#include "test_filesystem_write.moc"
