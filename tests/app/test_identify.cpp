#include "app/TrackIdentifier.h"
#include "core/SlotTable.h"

#include <QTest>

class TestTrackIdentifier : public QObject
{
    Q_OBJECT

private slots:
    void everyTrackFileIsNoCandidate();
    void candidateNames_data();
    void candidateNames();
    void slotsNamedInLine_data();
    void slotsNamedInLine();
    void questionForCoastalIsExact();
    void questionShowsItsLinesOnSeparateLines();
};

void TestTrackIdentifier::everyTrackFileIsNoCandidate()
{
    for (const QString& name : trackslots::TrackFileSet())
        QVERIFY2(!trackid::isDescriptionCandidate(name), qPrintable(name));
}

void TestTrackIdentifier::candidateNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("candidate");
    QTest::newRow("readme") << "readme.txt" << true;
    QTest::newRow("track file in other case") << "TR.FRD" << true;
    QTest::newRow("lower-case variant of spdRA.bin") << "spdra.bin" << true;
    QTest::newRow("upper-case variant of tr0.qfs") << "TR0.QFS" << true;
    QTest::newRow("exact TRN0.qFS") << "TRN0.qFS" << false;
    QTest::newRow("exact Tr.frd") << "Tr.frd" << false;
    QTest::newRow("track name with blank") << "Tr.frd " << true;
    QTest::newRow("no extension") << "Tr" << true;
    QTest::newRow("dot-file") << ".hidden" << true;
}

void TestTrackIdentifier::candidateNames()
{
    QFETCH(QString, name);
    QFETCH(bool, candidate);
    QCOMPARE(trackid::isDescriptionCandidate(name), candidate);
}

void TestTrackIdentifier::slotsNamedInLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("found");
    QTest::newRow("nothing") << "A fine track for everyone" << QStringList{};
    QTest::newRow("empty line") << "" << QStringList{};
    QTest::newRow("one name") << "Replaces: Coastal" << QStringList{"Coastal"};
    QTest::newRow("any letter case") << "replaces COASTAL and rockYPAS" << QStringList{"Coastal", "Rockypas"};
    QTest::newRow("table order, not line order")
        << "Summit then Aquatica" << QStringList{"Aquatica", "Summit"};
    QTest::newRow("UK inside a word") << "by DUKE" << QStringList{"UK"};
    QTest::newRow("Gt names") << "gt3 gt1" << QStringList{"Gt1", "Gt3"};
    QTest::newRow("Park in Parking, UK in Duke") << "Parking duke" << QStringList{"Park", "UK"};
    QTest::newRow("Cyrillic around") << "Трасса: Empire City" << QStringList{"Empire"};
    QTest::newRow("split by blank") << "Snow y" << QStringList{};
}

void TestTrackIdentifier::slotsNamedInLine()
{
    QFETCH(QString, line);
    QFETCH(QStringList, found);
    QCOMPARE(trackid::slotsNamedIn(line), found);
}

void TestTrackIdentifier::questionForCoastalIsExact()
{
    const QString expected =
        QStringLiteral("Предположительно это трасса: \n\rDolphin Cove (Coastal/Бухта Дельфинов)\n\r"
                       "Переместить файл в соответствующую папку?\n\r"
                       "Ответ \"нет\" - продолжим определение этой трассы.");
    QCOMPARE(trackid::slotQuestion("Dolphin Cove", "Coastal", QStringLiteral("Бухта Дельфинов")), expected);
}

void TestTrackIdentifier::questionShowsItsLinesOnSeparateLines()
{
    const QString shown = trackid::forDisplay(trackid::slotQuestion("Durham Road", "UK", "Дорога Дурхэм"));
    QVERIFY(!shown.contains(QLatin1Char('\r')));
    const QStringList lines = shown.split(QLatin1Char('\n'));
    QCOMPARE(lines, (QStringList{QStringLiteral("Предположительно это трасса: "),
                                 QStringLiteral("Durham Road (UK/Дорога Дурхэм)"),
                                 QStringLiteral("Переместить файл в соответствующую папку?"),
                                 QStringLiteral("Ответ \"нет\" - продолжим определение этой трассы.")}));
}

QTEST_APPLESS_MAIN(TestTrackIdentifier)
#include "test_identify.moc"
