#include "skin/SkinColor.h"

#include <QGuiApplication>
#include <QPalette>
#include <QTest>

class TestSkinColor : public QObject
{
    Q_OBJECT

private:
    // Every role its own colour, so a wrong role cannot pass by accident.
    static QPalette distinctPalette()
    {
        QPalette palette;
        int shade = 10;
        for (int role = 0; role < QPalette::NColorRoles; ++role) {
            for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
                palette.setColor(group, QPalette::ColorRole(role),
                                 QColor(shade, 255 - shade, (shade * 7) % 256));
                shade += 2;
            }
        }
        return palette;
    }

    QPalette m_saved;

private slots:
    void initTestCase()
    {
        m_saved = QGuiApplication::palette();
        QGuiApplication::setPalette(distinctPalette());
    }

    void cleanupTestCase() { QGuiApplication::setPalette(m_saved); }

    void rgbValuesKeepRedInTheLowByte_data()
    {
        QTest::addColumn<qint32>("color");
        QTest::addColumn<QRgb>("rgb");
        QTest::newRow("black") << qint32(0) << qRgb(0, 0, 0);
        QTest::newRow("white") << qint32(0xFFFFFF) << qRgb(255, 255, 255);
        QTest::newRow("red") << qint32(0x0000FF) << qRgb(255, 0, 0);
        QTest::newRow("green") << qint32(0x00FF00) << qRgb(0, 255, 0);
        QTest::newRow("blue") << qint32(0xFF0000) << qRgb(0, 0, 255);
        QTest::newRow("mixed") << qint32(0x123456) << qRgb(0x56, 0x34, 0x12);
        QTest::newRow("high byte ignored") << qint32(0x1F102030) << qRgb(0x30, 0x20, 0x10);
    }

    void rgbValuesKeepRedInTheLowByte()
    {
        QFETCH(qint32, color);
        QFETCH(QRgb, rgb);
        QCOMPARE(resolveColor(color), rgb);
    }

    void systemColorsComeFromTheApplicationPalette_data()
    {
        QTest::addColumn<qint32>("color");
        QTest::addColumn<int>("group");
        QTest::addColumn<int>("role");
        const auto system = [](int index) {
            return qint32(0xFF000000u | quint32(index));
        };
        QTest::newRow("window") << system(5) << int(QPalette::Active) << int(QPalette::Base);
        QTest::newRow("window text") << system(8) << int(QPalette::Active) << int(QPalette::WindowText);
        QTest::newRow("highlight") << system(13) << int(QPalette::Active) << int(QPalette::Highlight);
        QTest::newRow("highlight text")
            << system(14) << int(QPalette::Active) << int(QPalette::HighlightedText);
        QTest::newRow("button face") << system(15) << int(QPalette::Active) << int(QPalette::Button);
        QTest::newRow("button shadow") << system(16) << int(QPalette::Active) << int(QPalette::Dark);
        QTest::newRow("grey text") << system(17) << int(QPalette::Disabled) << int(QPalette::Text);
        QTest::newRow("button text") << system(18) << int(QPalette::Active) << int(QPalette::ButtonText);
        QTest::newRow("button highlight") << system(20) << int(QPalette::Active) << int(QPalette::Light);
        QTest::newRow("dark shadow") << system(21) << int(QPalette::Active) << int(QPalette::Shadow);
        QTest::newRow("info text") << system(23) << int(QPalette::Active) << int(QPalette::ToolTipText);
        QTest::newRow("info background") << system(24) << int(QPalette::Active) << int(QPalette::ToolTipBase);
        QTest::newRow("inactive caption") << system(3) << int(QPalette::Inactive) << int(QPalette::Highlight);
        QTest::newRow("older system flag")
            << qint32(0x8000000F) << int(QPalette::Active) << int(QPalette::Button);
    }

    void systemColorsComeFromTheApplicationPalette()
    {
        QFETCH(qint32, color);
        QFETCH(int, group);
        QFETCH(int, role);
        const QColor expected =
            QGuiApplication::palette().color(QPalette::ColorGroup(group), QPalette::ColorRole(role));
        QCOMPARE(resolveColor(color), expected.rgb());
    }

    void systemColorFollowsPaletteChanges()
    {
        QPalette palette = QGuiApplication::palette();
        palette.setColor(QPalette::Active, QPalette::Button, QColor(1, 2, 3));
        QGuiApplication::setPalette(palette);
        QCOMPARE(resolveColor(qint32(0xFF00000F)), qRgb(1, 2, 3));
        QGuiApplication::setPalette(distinctPalette());
        QVERIFY(resolveColor(qint32(0xFF00000F)) != qRgb(1, 2, 3));
    }

    void unknownSystemColorsAreBlack_data()
    {
        QTest::addColumn<qint32>("color");
        QTest::newRow("unused index 25") << qint32(0xFF000019);
        QTest::newRow("index 31") << qint32(0xFF00001F);
        QTest::newRow("index 255") << qint32(-1);
    }

    void unknownSystemColorsAreBlack()
    {
        QFETCH(qint32, color);
        QCOMPARE(resolveColor(color), qRgb(0, 0, 0));
    }
};

QTEST_MAIN(TestSkinColor)
#include "test_skincolor.moc"
