#include "app/InstalledRecord.h"
#include "core/IoError.h"
#include "core/Settings.h"
#include "tests/support/WriteLimit.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// "options.dat": reading whatever a user's file holds, and writing exactly three CR LF lines.
class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void missingFileReadsAsNothing();
    void linesAreReadWhole_data();
    void linesAreReadWhole();
    void fileThatIsNotUtf8IsReadAsWindows1251();
    void hugeLineIsReadWhole();
    void folderInPlaceOfTheFileIsAnError();
    void writtenFileIsThreeCrLfLines_data();
    void writtenFileIsThreeCrLfLines();
    void writeReplacesTheOldFile();
    void failedWriteKeepsTheOldFileWhole();
    void writeCutShortKeepsTheOldFileWhole();

private:
    QString write(const QByteArray& bytes);
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestSettings::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

QString TestSettings::write(const QByteArray& bytes)
{
    const QString path = m_dir->filePath(QStringLiteral("options.dat"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    file.write(bytes);
    return path;
}

void TestSettings::missingFileReadsAsNothing()
{
    QVERIFY(!readSettings(m_dir->filePath(QStringLiteral("options.dat"))).has_value());
}

void TestSettings::linesAreReadWhole_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("trackDir");
    QTest::addColumn<QString>("gameDir");
    QTest::addColumn<QString>("state");

    QTest::newRow("three CR LF lines") << QByteArray("/lib/\r\n/game/\r\n0\r\n") << "/lib/"
                                       << "/game/"
                                       << "0";
    QTest::newRow("LF lines") << QByteArray("/lib/\n/game/\n1\n") << "/lib/"
                              << "/game/"
                              << "1";
    QTest::newRow("last line without end") << QByteArray("/lib/\r\n/game/\r\n0") << "/lib/"
                                           << "/game/"
                                           << "0";
    QTest::newRow("empty file") << QByteArray() << ""
                                << ""
                                << "";
    QTest::newRow("one line") << QByteArray("/lib/\r\n") << "/lib/"
                              << ""
                              << "";
    QTest::newRow("two lines") << QByteArray("/lib/\r\n/game/\r\n") << "/lib/"
                               << "/game/"
                               << "";
    QTest::newRow("empty third line") << QByteArray("a\r\nb\r\n\r\n") << "a"
                                      << "b"
                                      << "";
    QTest::newRow("blanks are kept") << QByteArray(" /a b/ \r\n\t/g/\r\n 0\r\n") << " /a b/ "
                                     << "\t/g/"
                                     << " 0";
    QTest::newRow("00 stays 00") << QByteArray("a\r\nb\r\n00\r\n") << "a"
                                 << "b"
                                 << "00";
    QTest::newRow("extra lines are ignored") << QByteArray("a\r\nb\r\nc\r\nd\r\n") << "a"
                                             << "b"
                                             << "c";
    QTest::newRow("not chosen") << QStringLiteral("не выбран\r\nне выбран\r\n1\r\n").toUtf8()
                                << QStringLiteral("не выбран") << QStringLiteral("не выбран") << "1";
}

void TestSettings::linesAreReadWhole()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, trackDir);
    QFETCH(QString, gameDir);
    QFETCH(QString, state);

    const std::optional<Settings> settings = readSettings(write(bytes));
    QVERIFY(settings.has_value());
    QCOMPARE(settings->trackDir, trackDir);
    QCOMPARE(settings->gameDir, gameDir);
    QCOMPARE(settings->state, state);
}

void TestSettings::fileThatIsNotUtf8IsReadAsWindows1251()
{
    // "не выбран" in Windows-1251, as the program wrote it on Windows.
    const QByteArray notChosen("\xED\xE5 \xE2\xFB\xE1\xF0\xE0\xED");
    const std::optional<Settings> settings =
        readSettings(write(notChosen + "\r\n" + notChosen + "\r\n0\r\n"));
    QVERIFY(settings.has_value());
    QCOMPARE(settings->trackDir, QStringLiteral("не выбран"));
    QCOMPARE(settings->gameDir, QStringLiteral("не выбран"));
    QCOMPARE(settings->state, QStringLiteral("0"));
}

void TestSettings::hugeLineIsReadWhole()
{
    const QByteArray huge(8 * 1024 * 1024, 'x');
    const std::optional<Settings> settings = readSettings(write(huge + "\r\n/g/\r\n1\r\n"));
    QVERIFY(settings.has_value());
    QCOMPARE(settings->trackDir.size(), huge.size());
    QCOMPARE(settings->gameDir, QStringLiteral("/g/"));
    QCOMPARE(settings->state, QStringLiteral("1"));
}

void TestSettings::folderInPlaceOfTheFileIsAnError()
{
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("options.dat")));
    QVERIFY_THROWS_EXCEPTION(IoError, readSettings(m_dir->filePath(QStringLiteral("options.dat"))));
}

void TestSettings::writtenFileIsThreeCrLfLines_data()
{
    QTest::addColumn<QString>("trackDir");
    QTest::addColumn<QString>("gameDir");
    QTest::addColumn<QString>("state");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("first run") << QStringLiteral("не выбран") << QStringLiteral("не выбран") << QString()
                               << QStringLiteral("не выбран\r\nне выбран\r\n\r\n").toUtf8();
    QTest::newRow("installed") << "/lib/"
                               << "/game/"
                               << "0" << QByteArray("/lib/\r\n/game/\r\n0\r\n");
    QTest::newRow("empty folders") << ""
                                   << ""
                                   << "1" << QByteArray("\r\n\r\n1\r\n");
}

void TestSettings::writtenFileIsThreeCrLfLines()
{
    QFETCH(QString, trackDir);
    QFETCH(QString, gameDir);
    QFETCH(QString, state);
    QFETCH(QByteArray, bytes);

    const Settings settings{trackDir, gameDir, state};
    QCOMPARE(settingsBytes(settings), bytes);
    const QString path = m_dir->filePath(QStringLiteral("options.dat"));
    writeSettings(path, settings);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), bytes);
}

void TestSettings::writeReplacesTheOldFile()
{
    const QString path = write("old old old old old\r\n/x/\r\n0\r\n");
    writeSettings(path, Settings{"/a/", "/b/", "1"});
    const std::optional<Settings> settings = readSettings(path);
    QVERIFY(settings.has_value());
    QCOMPARE(settings->trackDir, QStringLiteral("/a/"));
    QCOMPARE(settings->state, QStringLiteral("1"));
}

void TestSettings::failedWriteKeepsTheOldFileWhole()
{
    // A folder that does not exist cannot take the file.
    const QString path = m_dir->filePath(QStringLiteral("missing/options.dat"));
    QVERIFY_THROWS_EXCEPTION(IoError, writeSettings(path, Settings{"/a/", "/b/", "1"}));
    QVERIFY(!QFile::exists(path));

    // A folder in the file's place stays as it was.
    const QString blocked = m_dir->filePath(QStringLiteral("blocked.dat"));
    QVERIFY(QDir().mkpath(blocked + QStringLiteral("/inside")));
    QVERIFY_THROWS_EXCEPTION(IoError, writeSettings(blocked, Settings{"/a/", "/b/", "1"}));
    QVERIFY(QFileInfo(blocked + QStringLiteral("/inside")).isDir());
}

void TestSettings::writeCutShortKeepsTheOldFileWhole()
{
    const QByteArray old("/old/library/\r\n/old/game/\r\n0\r\n");
    const QString path = write(old);
    {
        // The new file breaks off after 4096 bytes, as on a disk that fills up during the write.
        FileSizeLimit limit(4096);
        QVERIFY(limit.isActive());
        try {
            writeSettings(path, Settings{QString(20000, u'x'), "/b/", "1"});
            QFAIL("the write was not cut short");
        } catch (const IoError& error) {
            QCOMPARE(
                error.message(),
                QStringLiteral("Не удалось записать файл настроек \"%1\": файл слишком велик.").arg(path));
        }
        // The record of the installed archives is written whole or not at all, too.
        QVERIFY(
            !installed::write(m_dir->filePath(QStringLiteral("installed.dat")), {QString(20000, u'x'), {}}));
    }
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), old);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{"options.dat"});
}

QTEST_MAIN(TestSettings)
#include "test_settings.moc"
