#include "app/HintMirror.h"
#include "app/StatusBar.h"
#include "app/main_window.h"
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
    std::unique_ptr<HomeFolder> m_home;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<TForm1> m_form;
};

void TestHints::init()
{
    m_home = std::make_unique<HomeFolder>();
    QVERIFY(m_home->isValid());
    m_dialogs = std::make_unique<ScriptedDialogs>();
    m_form = std::make_unique<TForm1>();
    QVERIFY(m_form->FormCreate());
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
}

void TestHints::cleanup()
{
    m_form.reset();
    m_dialogs.reset();
    m_home.reset();
}

void TestHints::pointAt(QWidget* widget)
{
    // Offscreen, the first move may only enter the window: move twice.
    const QPoint centre = widget->mapTo(m_form.get(), widget->rect().center());
    QTest::mouseMove(m_form.get(), centre + QPoint(1, 0));
    QTest::mouseMove(m_form.get(), centre);
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
    pointAt(m_form->findChild<QWidget*>(name));
    QTRY_COMPARE(m_form->SBar->text(), hint);
}

void TestHints::placeWithoutHintEmptiesTheStatusBar()
{
    pointAt(m_form->BitBtn2);
    QTRY_COMPARE(m_form->SBar->text(), QStringLiteral("Начало игры"));
    pointAt(m_form->Label1);
    QTRY_VERIFY(m_form->SBar->text().isEmpty());
}

void TestHints::choiceButtonShowsItsArchiveName()
{
    m_form->PaTr->setText(m_home->makeLibrary({QStringLiteral("Aquatica/Подводный мир.zip")}));
    m_form->CheckTrass();
    QRadioButton* button = m_form->chosenButton("Aquatica");
    QVERIFY(button);
    QCOMPARE(button->toolTip(), QStringLiteral("Подводный мир.zip"));
    pointAt(button);
    QTRY_COMPARE(m_form->SBar->text(), QStringLiteral("Подводный мир.zip"));
}

void TestHints::disabledSlotStillShowsItsHint()
{
    m_form->PaTr->setText(QStringLiteral("не выбран"));
    m_form->CheckTrass();
    QVERIFY(!m_form->slotCheckBox("UK")->isEnabled());
    pointAt(m_form->slotCheckBox("UK"));
    QTRY_COMPARE(m_form->SBar->text(), QStringLiteral("Дорога Дурхэм"));
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
    m_form->HintToStatusBar(hint);
    QCOMPARE(m_form->SBar->text(), shown);
}

QTEST_MAIN(TestHints)
#include "test_hints.moc"
