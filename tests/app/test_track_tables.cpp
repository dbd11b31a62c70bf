#include "app/BatchRunner.h"
#include "core/SlotTable.h"
#include "tests/support/HomeFolder.h"

#include <QTest>

// The fixed tables of the track slots against the values written out here.
class TestTrackTables : public QObject
{
    Q_OBJECT

private slots:
    void trackFileSetIsTheTwentyOneNames();
    void slotNamesAreInTableOrder();
    void slotRowsAreInWindowOrder_data();
    void slotRowsAreInWindowOrder();
    void trackListFileHoldsTheNamesByteForByte();
};

void TestTrackTables::trackFileSetIsTheTwentyOneNames()
{
    const QStringList names{"spdfa.bin",   "spdRA.bin", "Tr.cam",   "Tr00.can", "tr00a.can", "tr01.can",
                            "tr02.can",    "Tr03.can",  "tr04.can", "Tr05.can", "Tr06.can",  "Tr.frd",
                            "Tr.ini",      "TrN.ini",   "TrNW.ini", "TrW.ini",  "sky.qfs",   "tr0.qfs",
                            "heights.sim", "Trn.frd",   "TRN0.qFS"};
    QCOMPARE(trackslots::TrackFileSet(), names);
}

void TestTrackTables::slotNamesAreInTableOrder()
{
    const QStringList names{"Aquatica", "Atlantic", "Coastal", "Country", "Empire",   "France",   "Germany",
                            "Gt1",      "Gt2",      "Gt3",     "Hills",   "Hometown", "Lostcany", "Park",
                            "Redrock",  "Rockypas", "Snowy",   "Summit",  "UK"};
    QCOMPARE(trackslots::SlotNames(), names);
}

void TestTrackTables::slotRowsAreInWindowOrder_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<bool>("left");
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("tabOrder");
    QTest::addColumn<int>("stripTop");
    QTest::addColumn<int>("stripTabOrder");
    int index = 0;
    const auto row = [&index](const char* name, const QString& caption, const QString& hint, bool left,
                              int top, int tabOrder, int stripTop, int stripTabOrder) {
        QTest::newRow(name) << index++ << QString::fromLatin1(name) << caption << hint << left << top
                            << tabOrder << stripTop << stripTabOrder;
    };
    row("Hometown", "Hometown", "Родной город", false, 33, 12, 16, 1);
    row("Aquatica", "Aquatica", "Акватика", true, 16, 0, -1, 2);
    // The last letter of the caption is the Cyrillic а.
    row("Atlantic", QStringLiteral("Atlantic\u0430"), "Атлантика", true, 33, 1, 16, 1);
    row("Coastal", "Dolphin Cove", "Бухта Дельфинов", true, 50, 2, 33, 0);
    row("Country", "Country Woods", "Лес", true, 67, 3, 50, 5);
    row("Empire", "Empire City", "Импайр-Сити", true, 84, 4, 67, 4);
    row("France", "Route Adonf", "Дорога Адонф", true, 101, 5, 84, 3);
    row("Germany", "Landstrasse", "Ландштрассе", true, 118, 6, 102, 8);
    row("Gt1", "Raceway", "Гоночный трек", true, 135, 7, 119, 7);
    row("Gt2", "Raceway 2", "Гоночный трек 2", true, 152, 8, 136, 6);
    row("Gt3", "Raceway 3", "Гоночный трек 3", true, 169, 9, 153, 9);
    row("Lostcany", "Lost Canyons", "Потерянный каньон", false, 50, 10, 33, 0);
    row("Hills", "Celtic Ruins", "Кельтские руины", false, 16, 11, -1, 2);
    row("Summit", "Summit", "Саммит", false, 135, 13, 119, 7);
    row("Snowy", "Snow Racer", "Заснеженный перевал", false, 118, 14, 102, 8);
    row("Rockypas", "Rocky Pass", "Скалистый перевал", false, 101, 15, 84, 3);
    row("Redrock", "Redrock Ridge", "Гряда красной скалы", false, 84, 16, 67, 4);
    row("Park", "Kindiak Park", "Киндиакийский парк", false, 67, 17, 50, 5);
    row("UK", "Durham Road", "Дорога Дурхэм", false, 152, 18, 136, 6);
}

void TestTrackTables::slotRowsAreInWindowOrder()
{
    QFETCH(int, index);
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, hint);
    QFETCH(bool, left);
    QFETCH(int, top);
    QFETCH(int, tabOrder);
    QFETCH(int, stripTop);
    QFETCH(int, stripTabOrder);

    QCOMPARE(trackslots::windowOrder().size(), 19u);
    const trackslots::SlotRow& row = trackslots::windowOrder().at(index);
    QCOMPARE(QString::fromLatin1(row.name), name);
    QCOMPARE(QString::fromUtf8(row.caption), caption);
    QCOMPARE(QString::fromUtf8(row.hint), hint);
    QCOMPARE(row.column == trackslots::Column::Left, left);
    QCOMPARE(row.top, top);
    QCOMPARE(row.tabOrder, tabOrder);
    QCOMPARE(row.stripTop, stripTop);
    QCOMPARE(row.stripTabOrder, stripTabOrder);
}

void TestTrackTables::trackListFileHoldsTheNamesByteForByte()
{
    HomeFolder home;
    QVERIFY(home.isValid());
    BatchRunner(home.path(), home.path("7zip.exe")).writeTrackList();
    QCOMPARE(
        home.readFile("files.lst"),
        QByteArray("spdfa.bin\r\nspdRA.bin\r\nTr.cam\r\nTr00.can\r\ntr00a.can\r\ntr01.can\r\ntr02.can\r\n"
                   "Tr03.can\r\ntr04.can\r\nTr05.can\r\nTr06.can\r\nTr.frd\r\nTr.ini\r\nTrN.ini\r\n"
                   "TrNW.ini\r\nTrW.ini\r\nsky.qfs\r\ntr0.qfs\r\nheights.sim\r\nTrn.frd\r\nTRN0.qFS\r\n"));
}

QTEST_MAIN(TestTrackTables)
#include "test_track_tables.moc"
