#include "app/HintMirror.h"
#include "app/StatusBar.h"
#include "app/main_window.h"
#include "tests/app/OpenMainWindow.h"
#include "tests/support/HomeFolder.h"
#include "tests/support/ScriptedDialogs.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

// The hint of the control under the pointer shows in SBar.
class TestHints : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void statusBarFollowsThePointer_data();
    void statusBarFollowsThePointer();
    void placeWithoutHintEmptiesTheStatusBar();
    void choiceButtonShowsItsArchiveName();
    void disabledSlotStillShowsItsHint();
    void nearestAncestorWithHintCounts();
    void longPartOfHintIsShown_data();
    void longPartOfHintIsShown();

private:
    void pointAt(QWidget* widget);
    OpenMainWindow m_window;
};

void TestHints::init()
{
    QVERIFY(m_window.open());
}

void TestHints::cleanup()
{
    m_window.close();
}

void TestHints::pointAt(QWidget* widget)
{
    // Offscreen, the first move may only enter the window: move twice.
    const QPoint centre = widget->mapTo(m_window.form.get(), widget->rect().center());
    QTest::mouseMove(m_window.form.get(), centre + QPoint(1, 0));
    QTest::mouseMove(m_window.form.get(), centre);
}

void TestHints::statusBarFollowsThePointer_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("hint");
    QTest::newRow("start") << "BitBtn2" << QStringLiteral("Начало игры");
    QTest::newRow("add") << "BitBtn4"
                         << QStringLiteral(
                                "Добавить новую трассу в каталог программы (лучше сделать вручную).");
    QTest::newRow("help") << "BitBtn1" << QStringLiteral("Помощь");
    QTest::newRow("exit area") << "PaintBox1" << QStringLiteral("Выход (игра не запускается!)");
    QTest::newRow("standard label") << "StTrL" << QStringLiteral("Игра со стандартными трассами");
    QTest::newRow("new tracks radio")
        << "NTr" << QStringLiteral("Игра с дополнительными трассами (только выбранными)");
    QTest::newRow("track folder field")
        << "PaTr" << QStringLiteral("Воспользуйтесь кнопкой обзор для выбора существующей папки");
    QTest::newRow("game browse") << "Button2" << QStringLiteral("Выбор пути в дереве папок к каталогу игры");
    QTest::newRow("slot") << "Coastal" << QStringLiteral("Бухта Дельфинов");
}

void TestHints::statusBarFollowsThePointer()
{
    QFETCH(QString, name);
    QFETCH(QString, hint);
    pointAt(m_window.form->findChild<QWidget*>(name));
    QTRY_COMPARE(m_window.form->SBar->text(), hint);
}

void TestHints::placeWithoutHintEmptiesTheStatusBar()
{
    pointAt(m_window.form->BitBtn2);
    QTRY_COMPARE(m_window.form->SBar->text(), QStringLiteral("Начало игры"));
    pointAt(m_window.form->Label1);
    QTRY_VERIFY(m_window.form->SBar->text().isEmpty());
}

void TestHints::choiceButtonShowsItsArchiveName()
{
    m_window.form->PaTr->setText(m_window.home->makeLibrary({QStringLiteral("Aquatica/Подводный мир.zip")}));
    m_window.form->CheckTrass();
    QRadioButton* button = m_window.form->chosenButton("Aquatica");
    QVERIFY(button);
    QCOMPARE(button->toolTip(), QStringLiteral("Подводный мир.zip"));
    pointAt(button);
    QTRY_COMPARE(m_window.form->SBar->text(), QStringLiteral("Подводный мир.zip"));
}

void TestHints::disabledSlotStillShowsItsHint()
{
    m_window.form->PaTr->setText(QStringLiteral("не выбран"));
    m_window.form->CheckTrass();
    QVERIFY(!m_window.form->slotCheckBox("UK")->isEnabled());
    pointAt(m_window.form->slotCheckBox("UK"));
    QTRY_COMPARE(m_window.form->SBar->text(), QStringLiteral("Дорога Дурхэм"));
}

void TestHints::nearestAncestorWithHintCounts()
{
    QWidget outer;
    outer.setStatusTip(QStringLiteral("outer"));
    auto* middle = new QWidget(&outer);
    auto* inner = new QWidget(middle);
    QCOMPARE(HintMirror::hintOf(inner), QStringLiteral("outer"));
    middle->setStatusTip(QStringLiteral("middle"));
    QCOMPARE(HintMirror::hintOf(inner), QStringLiteral("middle"));
    QCOMPARE(HintMirror::hintOf(nullptr), QString());
}

void TestHints::longPartOfHintIsShown_data()
{
    QTest::addColumn<QString>("hint");
    QTest::addColumn<QString>("shown");
    QTest::newRow("plain") << "whole hint"
                           << "whole hint";
    QTest::newRow("short and long") << "short|long part"
                                    << "long part";
    QTest::newRow("two bars") << "a|b|c"
                              << "b|c";
    QTest::newRow("empty") << ""
                           << "";
}

void TestHints::longPartOfHintIsShown()
{
    QFETCH(QString, hint);
    QFETCH(QString, shown);
    m_window.form->HintToStatusBar(hint);
    QCOMPARE(m_window.form->SBar->text(), shown);
}

QTEST_MAIN(TestHints)
#include "test_hints.moc"
