#include "app/DescriptionReader.h"
#include "core/IoError.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestDescriptionReader : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void splitsLines_data();
    void splitsLines();
    void decodesEachLine_data();
    void decodesEachLine();
    void overlongLineKeepsItsStartAndSkipsTheRest();
    void lineEndAcrossChunkBoundary();
    void missingFileIsAnIoError();

private:
    QString writeFile(const QByteArray& bytes);
    static QStringList readAll(const QString& path);

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestDescriptionReader::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

QString TestDescriptionReader::writeFile(const QByteArray& bytes)
{
    const QString path = m_dir->filePath("readme.txt");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write the fixture");
    return path;
}

QStringList TestDescriptionReader::readAll(const QString& path)
{
    DescriptionReader reader(path);
    QStringList lines;
    QString line;
    while (reader.readLine(line))
        lines.append(line);
    return lines;
}

void TestDescriptionReader::splitsLines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("empty file") << QByteArray() << QStringList{};
    QTest::newRow("one line without end") << QByteArray("Coastal") << QStringList{"Coastal"};
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
    QTest::newRow("LF") << QByteArray("a\nb") << QStringList{"a", "b"};
    QTest::newRow("lone CR") << QByteArray("a\rb\r") << QStringList{"a", "b"};
    QTest::newRow("empty lines count") << QByteArray("\r\n\nx") << QStringList{"", "", "x"};
    QTest::newRow("LF CR is two ends") << QByteArray("a\n\rb") << QStringList{"a", "", "b"};
    QTest::newRow("NUL bytes stay in the line")
        << QByteArray("U\0K\nUK", 6) << QStringList{QString::fromLatin1("U\0K", 3), "UK"};
}

void TestDescriptionReader::splitsLines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QCOMPARE(readAll(writeFile(bytes)), lines);
}

void TestDescriptionReader::decodesEachLine_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("line");
    QTest::newRow("UTF-8") << QString("Трасса Summit").toUtf8() << QStringLiteral("Трасса Summit");
    QTest::newRow("Windows-1251") << QByteArray("\xD2\xF0\xE0\xF1\xF1\xE0 UK") << QStringLiteral("Трасса UK");
}

void TestDescriptionReader::decodesEachLine()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, line);
    QCOMPARE(readAll(writeFile(bytes + "\r\n")), QStringList{line});
}

void TestDescriptionReader::overlongLineKeepsItsStartAndSkipsTheRest()
{
    QByteArray bytes = "Hills ";
    bytes += QByteArray(3 * DescriptionReader::MaxLineBytes, 'x');
    bytes += "Snowy\nnext";
    const QStringList lines = readAll(writeFile(bytes));
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines.at(0).size(), DescriptionReader::MaxLineBytes);
    QVERIFY(lines.at(0).startsWith("Hills x"));
    QVERIFY(!lines.at(0).contains("Snowy"));
    QCOMPARE(lines.at(1), QStringLiteral("next"));
}

void TestDescriptionReader::lineEndAcrossChunkBoundary()
{
    // The CR ends one read chunk, its LF begins the next: still one line end.
    QByteArray bytes(DescriptionReader::MaxLineBytes - 1, 'a');
    bytes += "\r\nsecond";
    const QStringList lines = readAll(writeFile(bytes));
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines.at(1), QStringLiteral("second"));
}

void TestDescriptionReader::missingFileIsAnIoError()
{
    QVERIFY_THROWS_EXCEPTION(IoError, DescriptionReader(m_dir->filePath("absent.txt")));
}

QTEST_APPLESS_MAIN(TestDescriptionReader)
#include "test_identify_description_reader.moc"
