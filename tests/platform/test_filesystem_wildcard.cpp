#include "platform/FsWildcard.h"

#include <QTest>

using platform::fs::matchesWindowsPattern;
using platform::fs::sameNameIgnoringCase;

class TestFsWildcard : public QObject
{
    Q_OBJECT

private slots:
    void patternDecidesMatch_data();
    void patternDecidesMatch();
    void namesCompareWithoutCase_data();
    void namesCompareWithoutCase();
};

void TestFsWildcard::patternDecidesMatch_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<bool>("matches");

    QTest::newRow("zip extension") << "track.zip"
                                   << "*.zip" << true;
    QTest::newRow("zip extension in capitals") << "TRACK.ZIP"
                                               << "*.zip" << true;
    QTest::newRow("pattern in capitals") << "track.zip"
                                         << "*.ZIP" << true;
    QTest::newRow("other extension") << "track.rar"
                                     << "*.zip" << false;
    QTest::newRow("zip only inside the name") << "track.zip.bak"
                                              << "*.zip" << false;
    QTest::newRow("bare extension name") << ".zip"
                                         << "*.zip" << true;
    QTest::newRow("star dot star with dot") << "Tr.frd"
                                            << "*.*" << true;
    QTest::newRow("star dot star without dot") << "README"
                                               << "*.*" << true;
    QTest::newRow("star dot star dot-file") << ".hidden"
                                            << "*.*" << true;
    QTest::newRow("star alone") << "anything at all"
                                << "*" << true;
    QTest::newRow("backup with extension") << "0Tr.frd"
                                           << "0*.*" << true;
    QTest::newRow("backup without extension") << "0Tr"
                                              << "0*.*" << true;
    QTest::newRow("zero alone") << "0"
                                << "0*.*" << true;
    QTest::newRow("no leading zero") << "Tr.frd"
                                     << "0*.*" << false;
    QTest::newRow("zero later in the name") << "Tr0.frd"
                                            << "0*.*" << false;
    QTest::newRow("trailing dot star keeps prefix") << "Tr"
                                                    << "Tr.*" << true;
    QTest::newRow("trailing dot star other name") << "Trx"
                                                  << "Tr.*" << false;
    QTest::newRow("question mark one letter") << "Tr1.frd"
                                              << "Tr?.frd" << true;
    QTest::newRow("question mark needs a letter") << "Tr.frd"
                                                  << "Tr?.frd" << false;
    QTest::newRow("question mark only one letter") << "Tr12.frd"
                                                   << "Tr?.frd" << false;
    QTest::newRow("question mark takes a Cyrillic letter") << "Trж.frd"
                                                           << "Tr?.frd" << true;
    QTest::newRow("question mark takes a character beyond 16 bits") << "a\U0001F600b"
                                                                    << "a?b" << true;
    QTest::newRow("blanks are ordinary") << "my track.zip"
                                         << "my *.zip" << true;
    QTest::newRow("blank missing") << "mytrack.zip"
                                   << "my *.zip" << false;
    QTest::newRow("Cyrillic without case") << "ТРАССА.zip"
                                           << "трасса.*" << true;
    QTest::newRow("Latin accents without case") << "ÉTÉ.ZIP"
                                                << "été.zip" << true;
    QTest::newRow("exact name") << "Tr.frd"
                                << "tr.FRD" << true;
    QTest::newRow("exact name differs") << "Tr.frd"
                                        << "Tr.fr" << false;
    QTest::newRow("several stars") << "a-b-c.zip"
                                   << "*-*-*.zip" << true;
    QTest::newRow("stars need backtracking") << "aaab.zip"
                                             << "*a*b.zip" << true;
    QTest::newRow("stars cannot fit") << "aaaa.zip"
                                      << "*a*b.zip" << false;
    QTest::newRow("empty pattern") << "Tr.frd"
                                   << "" << false;
    QTest::newRow("star matches empty name rest") << "Tr"
                                                  << "Tr*" << true;
}

void TestFsWildcard::patternDecidesMatch()
{
    QFETCH(QString, name);
    QFETCH(QString, pattern);
    QFETCH(bool, matches);
    QCOMPARE(matchesWindowsPattern(name, pattern), matches);
}

void TestFsWildcard::namesCompareWithoutCase_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<bool>("same");

    QTest::newRow("ASCII case") << "TR.FRD"
                                << "Tr.frd" << true;
    QTest::newRow("Cyrillic case") << "Трасса"
                                   << "ТРАССА" << true;
    QTest::newRow("different letters") << "Tr.frd"
                                       << "Tr.fsh" << false;
    QTest::newRow("different length") << "Tr.frd"
                                      << "Tr.frd0" << false;
    QTest::newRow("empty names") << ""
                                 << "" << true;
}

void TestFsWildcard::namesCompareWithoutCase()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(bool, same);
    QCOMPARE(sameNameIgnoringCase(a, b), same);
}

QTEST_GUILESS_MAIN(TestFsWildcard)
#include "test_filesystem_wildcard.moc"
