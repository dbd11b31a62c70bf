#include "skin/MaskRegion.h"
#include "skin/SkinImage.h"
#include "skin/SkinMessages.h"

#include <QFile>
#include <QTest>

namespace {

class NoMessages final : public SkinMessages
{
public:
    void show(const QString& text) override { QFAIL(qPrintable("unexpected message: " + text)); }
};

QString homeFile(const QString& name)
{
    return QStringLiteral(ROVEX_HOME_DIR "/") + name;
}

QImage loadHomeImage(const QString& name)
{
    NoMessages messages;
    QImage image;
    LoadSkinImage(image, homeFile(name), messages);
    return image;
}

const QRect TitleArea(222, 6, 134, 40);
const QRect FlagArea(160, 462, 275, 26);
const QRect ExitRing(484, 26, 33, 33);

} // namespace

// The default skin the build draws into the home folder, held against the main window's layout.
class TestDefaultSkinOutline : public QObject
{
    Q_OBJECT

private:
    QImage m_mask;
    QRegion m_outline;

private slots:
    void initTestCase()
    {
        QVERIFY2(QFile::exists(homeFile("skin.ini")), "build the default_skin target first");
        m_mask = loadHomeImage("skin_mask.bmp");
        m_outline = BuildMaskRegion(m_mask, 0xFFFFFF, 0).value_or(QRegion());
    }

    void definitionNamesTheFourPictures()
    {
        QFile ini(homeFile("skin.ini"));
        QVERIFY(ini.open(QIODevice::ReadOnly));
        const QByteArray text = ini.readAll();
        QVERIFY(text.contains("[Version]\r\nVer=210\r\n"));
        for (const char* line : {"MaskBitmap=skin_mask.bmp", "MouseUpBitmap=skin_up.bmp",
                                 "MouseDownBitmap=skin_down.bmp", "MouseOnBitmap=skin_on.bmp"})
            QVERIFY2(text.contains(QByteArray(line) + "\r\n"), line);
    }

    void picturesAre24BitBitmapsOfTheWindowSize_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("mask") << "skin_mask.bmp";
        QTest::newRow("rest") << "skin_up.bmp";
        QTest::newRow("hover") << "skin_on.bmp";
        QTest::newRow("pressed") << "skin_down.bmp";
    }

    void picturesAre24BitBitmapsOfTheWindowSize()
    {
        QFETCH(QString, name);
        QFile file(homeFile(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray header = file.read(30);
        QCOMPARE(header.left(2), QByteArray("BM"));
        QCOMPARE(int(quint8(header[28])), 24);
        QCOMPARE(loadHomeImage(name).size(), QSize(595, 510));
    }

    void outlineIsNotAPlainRectangle()
    {
        QCOMPARE(m_mask.size(), QSize(595, 510));
        QVERIFY(!m_outline.isEmpty());
        for (const QPoint corner : {QPoint(0, 0), QPoint(594, 0), QPoint(0, 509), QPoint(594, 509)})
            QVERIFY(!m_outline.contains(corner));
        QVERIFY(m_outline.contains(QPoint(297, 5)));
        QVERIFY(!m_outline.contains(QPoint(100, 5)));
    }

    void everyControlLiesInsideTheOutline_data()
    {
        QTest::addColumn<QRect>("control");
        QTest::newRow("StTrL") << QRect(168, 65, 107, 13);
        QTest::newRow("NTrL") << QRect(96, 81, 183, 13);
        QTest::newRow("exit area") << QRect(488, 30, 25, 25);
        QTest::newRow("GroupBox1") << QRect(84, 93, 409, 217);
        QTest::newRow("BitBtn2") << QRect(408, 314, 89, 25);
        QTest::newRow("BitBtn4") << QRect(408, 343, 89, 25);
        QTest::newRow("BitBtn1") << QRect(408, 371, 89, 25);
        QTest::newRow("OptPan") << QRect(75, 310, 326, 93);
        QTest::newRow("SBar") << QRect(81, 402, 406, 19);
        QTest::newRow("RBar") << QRect(115, 419, 338, 19);
        QTest::newRow("StTr") << QRect(288, 66, 17, 17);
        QTest::newRow("NTr") << QRect(288, 81, 17, 17);
        QTest::newRow("title hot area") << TitleArea;
        QTest::newRow("flag hot area") << FlagArea;
        QTest::newRow("exit hot area") << ExitRing;
    }

    void everyControlLiesInsideTheOutline()
    {
        QFETCH(QRect, control);
        QVERIFY(QRegion(control).subtracted(m_outline).isEmpty());
    }

    void looksDifferOnlyInsideTheHotAreas_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("hover") << "skin_on.bmp";
        QTest::newRow("pressed") << "skin_down.bmp";
    }

    void looksDifferOnlyInsideTheHotAreas()
    {
        QFETCH(QString, name);
        const QImage rest = loadHomeImage("skin_up.bmp");
        const QImage look = loadHomeImage(name);
        QRegion differing;
        for (int y = 0; y < rest.height(); ++y) {
            for (int x = 0; x < rest.width(); ++x) {
                if (rest.pixel(x, y) != look.pixel(x, y))
                    differing += QRect(x, y, 1, 1);
            }
        }
        QVERIFY(differing.subtracted(QRegion(TitleArea).united(FlagArea).united(ExitRing)).isEmpty());
        QVERIFY(differing.intersects(TitleArea));
        QVERIFY(differing.intersects(FlagArea));
        QVERIFY(differing.intersects(ExitRing));
    }
};

QTEST_MAIN(TestDefaultSkinOutline)
#include "test_maskregion_defaultskin.moc"
