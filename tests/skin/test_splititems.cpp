#include "skin/SplitItems.h"

#include <QTest>

class TestSplitItems : public QObject
{
    Q_OBJECT

private slots:
    void splitsItemLines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("items");

        QTest::newRow("blank after comma") << "a, b" << QStringList{"a", "b"};
        QTest::newRow("blank before comma stays") << "a ,b" << QStringList{"a ", "b"};
        QTest::newRow("empty item") << "a,,b" << QStringList{"a", "", "b"};
        QTest::newRow("trailing comma adds nothing") << "a," << QStringList{"a"};
        QTest::newRow("trailing comma and blanks") << "a,   " << QStringList{"a"};
        QTest::newRow("blank never splits") << "Start the game" << QStringList{"Start the game"};
        QTest::newRow("leading blanks skipped") << "  \t a" << QStringList{"a"};
        QTest::newRow("empty text") << "" << QStringList{};
        QTest::newRow("only blanks") << "   " << QStringList{};
        QTest::newRow("hot area line") << "Play, 10, 20, 30, 40, Start the game"
                                       << QStringList{"Play", "10", "20", "30", "40", "Start the game"};
        QTest::newRow("quoted item keeps comma") << "\"a, b\", c" << QStringList{"a, b", "c"};
        QTest::newRow("doubled quote inside") << "\"say \"\"hi\"\"\",x" << QStringList{"say \"hi\"", "x"};
        QTest::newRow("quoted item keeps blanks") << "\" a \"" << QStringList{" a "};
        QTest::newRow("empty quoted item") << "\"\",b" << QStringList{"", "b"};
        QTest::newRow("unclosed quote runs to end") << "\"abc, d" << QStringList{"abc, d"};
        QTest::newRow("text after closing quote is a new item") << "\"a\"b,c" << QStringList{"a", "b", "c"};
        QTest::newRow("control character ends item") << QString("a\tb,c") << QStringList{"a", "b", "c"};
        QTest::newRow("NUL ends an item and is skipped")
            << QString("Ti" + QString(QChar(0)) + "tle," + QChar(0) + "x") << QStringList{"Ti", "tle", "x"};
        QTest::newRow("quote inside plain item is plain") << "a\"b,c" << QStringList{"a\"b", "c"};
        QTest::newRow("high characters are ordinary")
            << QStringLiteral("Пуск, ß") << QStringList{"Пуск", "ß"};
    }

    void splitsItemLines()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, items);
        QStringList list{"stale"};
        SplitItems(list, text, u',');
        QCOMPARE(list, items);
    }

    void usesTheGivenSeparator()
    {
        QStringList list;
        SplitItems(list, QStringLiteral("a;b, c"), u';');
        QCOMPARE(list, (QStringList{"a", "b, c"}));
    }

    void readsIntegerItems_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<qint32>("value");

        QTest::newRow("decimal") << "42" << true << 42;
        QTest::newRow("leading blanks") << "   42" << true << 42;
        QTest::newRow("plus") << "+7" << true << 7;
        QTest::newRow("minus") << "-7" << true << -7;
        QTest::newRow("dollar hex") << "$FF" << true << 255;
        QTest::newRow("small x hex") << "xff" << true << 255;
        QTest::newRow("capital X hex") << "X10" << true << 16;
        QTest::newRow("0x hex") << "0x10" << true << 16;
        QTest::newRow("0X hex") << "0X1a" << true << 26;
        QTest::newRow("negative hex") << "-$10" << true << -16;
        QTest::newRow("colour blue") << "$FF0000" << true << 0xFF0000;
        QTest::newRow("largest") << "2147483647" << true << 2147483647;
        QTest::newRow("smallest") << "-2147483648" << true << qint32(-2147483647 - 1);
        QTest::newRow("hex all 32 bits reads negative") << "$FFFFFFFF" << true << -1;
        QTest::newRow("hex sign bit") << "$80000000" << true << qint32(-2147483647 - 1);
        QTest::newRow("leading zeros") << "007" << true << 7;
        QTest::newRow("too large") << "2147483648" << false << 0;
        QTest::newRow("too small") << "-2147483649" << false << 0;
        QTest::newRow("hex too large") << "$100000000" << false << 0;
        QTest::newRow("trailing blank") << "10 " << false << 0;
        QTest::newRow("tab before") << "\t10" << false << 0;
        QTest::newRow("empty") << "" << false << 0;
        QTest::newRow("blanks only") << "  " << false << 0;
        QTest::newRow("sign only") << "-" << false << 0;
        QTest::newRow("dollar only") << "$" << false << 0;
        QTest::newRow("0x only") << "0x" << false << 0;
        QTest::newRow("letters") << "ten" << false << 0;
        QTest::newRow("hex digit in decimal") << "1A" << false << 0;
        QTest::newRow("blank after sign") << "- 1" << false << 0;
        QTest::newRow("double sign") << "--1" << false << 0;
        QTest::newRow("decimal point") << "1.5" << false << 0;
        QTest::newRow("Arabic-Indic digit") << QStringLiteral("١") << false << 0;
    }

    void readsIntegerItems()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(qint32, value);
        const std::optional<qint32> parsed = parseSkinInteger(text);
        QCOMPARE(parsed.has_value(), valid);
        if (valid)
            QCOMPARE(*parsed, value);
    }
};

QTEST_GUILESS_MAIN(TestSplitItems)
#include "test_splititems.moc"
