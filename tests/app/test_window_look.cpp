#include "app/ClickArea.h"
#include "app/main_window.h"
#include "skin/SkinForm.h"
#include "tests/app/OpenMainWindow.h"
#include "tests/skin/InteractionSkin.h"

#include <QCheckBox>
#include <QTemporaryDir>
#include <QtTest>

using namespace interaction;

// How the window's own controls look over the skin: every look of the skin is one solid colour, so
// a pixel tells whether a control drew there.
class TestWindowLook : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void groupBoxesDrawNoFrameOfTheirOwn_data();
    void groupBoxesDrawNoFrameOfTheirOwn();
    void settingsCaptionStandsOnAPlate();
    void modeCirclesKeepSkinBetweenThem();
    void slotRowsAreAqua_data();
    void slotRowsAreAqua();
    void exitAreaShowsTheSkinsLooksBeneathIt();

private:
    QImage shot() const { return m_window.form->grab().toImage(); }
    // The rectangle's pixels that are not the skin's rest colour.
    int drawnOver(const QImage& image, const QRect& rect) const;

    OpenMainWindow m_window;
    QTemporaryDir m_skinDir;
};

void TestWindowLook::init()
{
    QVERIFY(m_window.open());
    SkinFile skin;
    skin.size = {595, 510};
    skin.hotAreas = {QStringLiteral("Exit, 484, 26, 33, 33, Выход")};
    const QString file = skin.write(m_skinDir.path());
    QVERIFY(!file.isEmpty());
    m_window.form->SkinForm1->LoadSkin(file);
    QCOMPARE(colorAt(*m_window.form->SkinForm1, 300, 300), Rest);
}

void TestWindowLook::cleanup()
{
    m_window.close();
}

int TestWindowLook::drawnOver(const QImage& image, const QRect& rect) const
{
    int drawn = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x)
            drawn += image.pixelColor(x, y) != Rest;
    }
    return drawn;
}

// Bands three pixels deep along the boxes' edges, where no control of theirs lies.
void TestWindowLook::groupBoxesDrawNoFrameOfTheirOwn_data()
{
    QTest::addColumn<QRect>("band");
    QTest::newRow("slot area, left") << QRect(84, 100, 3, 200);
    QTest::newRow("slot area, right") << QRect(490, 100, 3, 200);
    QTest::newRow("slot area, top") << QRect(90, 95, 190, 3); // NTr's circle ends beside it
    QTest::newRow("slot area, bottom") << QRect(90, 307, 395, 3);
    QTest::newRow("settings, left") << QRect(75, 325, 3, 73);
    QTest::newRow("settings, right") << QRect(398, 325, 3, 73);
    QTest::newRow("settings, beside the first label") << QRect(250, 326, 146, 3);
}

void TestWindowLook::groupBoxesDrawNoFrameOfTheirOwn()
{
    QFETCH(QRect, band);
    QCOMPARE(drawnOver(shot(), band), 0);
}

void TestWindowLook::settingsCaptionStandsOnAPlate()
{
    const QImage image = shot();
    int text = 0;
    int plate = 0;
    for (int y = 310; y < 322; ++y) {
        for (int x = 75; x < 160; ++x) {
            text += qGray(image.pixel(x, y)) < 80;
            plate += image.pixelColor(x, y) == QColor(Qt::white);
        }
    }
    QVERIFY2(text >= 40, qPrintable(QString::number(text)));
    QVERIFY2(plate >= 150, qPrintable(QString::number(plate)));
}

void TestWindowLook::modeCirclesKeepSkinBetweenThem()
{
    const QImage image = shot();
    QVERIFY(drawnOver(image, QRect(291, 70, 11, 9)) > 0);
    QVERIFY(drawnOver(image, QRect(291, 85, 11, 9)) > 0);
    QCOMPARE(drawnOver(image, QRect(288, 81, 17, 3)), 0);
}

void TestWindowLook::slotRowsAreAqua_data()
{
    QTest::addColumn<QString>("slot");
    QTest::addColumn<QPoint>("beside"); // a point of the row beside its caption and box
    QTest::newRow("left column") << "Aquatica" << QPoint(2, 8);
    QTest::newRow("right column") << "Hills" << QPoint(94, 8);
}

void TestWindowLook::slotRowsAreAqua()
{
    QFETCH(QString, slot);
    QFETCH(QPoint, beside);
    const QImage row = m_window.form->slotCheckBox(slot)->grab().toImage();
    QCOMPARE(row.pixelColor(beside), QColor(0, 255, 255));
}

void TestWindowLook::exitAreaShowsTheSkinsLooksBeneathIt()
{
    TForm1& form = *m_window.form;
    const QPoint middle(12, 12);
    // Offscreen the first move may only enter the area.
    QTest::mouseMove(form.PaintBox1, middle - QPoint(1, 1));
    QTest::mouseMove(form.PaintBox1, middle);
    QTRY_COMPARE(colorAt(*form.SkinForm1, 500, 42), Hover);
    QCOMPARE(colorAt(*form.SkinForm1, 485, 27), Hover);

    QTest::mousePress(form.PaintBox1, Qt::LeftButton, {}, middle);
    QCOMPARE(colorAt(*form.SkinForm1, 500, 42), Pressed);
    // Dragged off and let go outside the area: no click, and the skin is at rest again.
    QTest::mouseMove(form.PaintBox1, QPoint(-30, 40));
    QTest::mouseMove(form.PaintBox1, QPoint(-31, 40));
    QTest::mouseRelease(form.PaintBox1, Qt::LeftButton, {}, QPoint(-31, 40));
    QVERIFY(form.isVisible());
    QCOMPARE(colorAt(*form.SkinForm1, 500, 42), Rest);

    QTest::mouseMove(form.PaintBox1, middle - QPoint(1, 1));
    QTest::mouseMove(form.PaintBox1, middle);
    QTRY_COMPARE(colorAt(*form.SkinForm1, 500, 42), Hover);
    QTest::mouseMove(form.SkinForm1, QPoint(300, 470));
    QTRY_COMPARE(colorAt(*form.SkinForm1, 500, 42), Rest);
}

QTEST_MAIN(TestWindowLook)
#include "test_window_look.moc"
