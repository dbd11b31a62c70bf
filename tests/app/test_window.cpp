#include "app/ClickArea.h"
#include "app/ScrollBox.h"
#include "app/main_window.h"
#include "platform/HelpViewer.h"
#include "tests/support/HomeFolder.h"
#include "tests/support/ScriptedDialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QtTest>

// The small commands of the main window: browse, mode switch, keys, help and exit.
class TestWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void browseGivesFolderWithOneTrailingSlash_data();
    void browseGivesFolderWithOneTrailingSlash();
    void cancelledTrackFolderBrowseStillRescans();
    void cancelledGameFolderBrowseChangesNothing();
    void gameFolderBrowseDoesNotScan();
    void newTracksEnablesAndStandardDisablesTheSlotArea();
    void clickingStandardLabelWhenSelectedChangesNothing();
    void clickingNewTracksLabelSelectsNewTracks();
    void enterInFolderFieldPressesStart();
    void enterOnPushButtonPressesThatButton();
    void escapeDoesNothing();
    void exitAreaClosesTheWindow();
    void helpShowsItsContentsPage();
    void missingHelpIsTold();
    void paintKeepsModeButtonsVisibleAndClear();

private:
    std::unique_ptr<HomeFolder> m_home;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<TForm1> m_form;
};

void TestWindow::init()
{
    m_home = std::make_unique<HomeFolder>();
    QVERIFY(m_home->isValid());
    m_dialogs = std::make_unique<ScriptedDialogs>();
    m_form = std::make_unique<TForm1>();
    QVERIFY(m_form->FormCreate());
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    m_dialogs->messages.clear();
    m_dialogs->errors.clear();
}

void TestWindow::cleanup()
{
    m_form.reset();
    m_dialogs.reset();
    m_home.reset();
}

void TestWindow::browseGivesFolderWithOneTrailingSlash_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("stored");
    QTest::newRow("plain folder") << "/data/tracks"
                                  << "/data/tracks/";
    QTest::newRow("folder with slash") << "/data/tracks/"
                                       << "/data/tracks/";
    QTest::newRow("root") << "/"
                          << "/";
    QTest::newRow("blanks and Cyrillic") << QStringLiteral("/мои трассы") << QStringLiteral("/мои трассы/");
}

void TestWindow::browseGivesFolderWithOneTrailingSlash()
{
    QFETCH(QString, chosen);
    QFETCH(QString, stored);

    m_dialogs->folderAnswers = {chosen, chosen};
    m_form->Button1->click();
    m_form->Button2->click();
    QCOMPARE(m_form->PaTr->text(), stored);
    QCOMPARE(m_form->PaGa->text(), stored);
    QCOMPARE(m_dialogs->folderPrompts,
             QStringList({QStringLiteral("Выберите путь к папке с файлами трасс:"),
                          QStringLiteral("Выберите путь к каталогу игры (c файлом nfshs.exe):")}));
}

void TestWindow::cancelledTrackFolderBrowseStillRescans()
{
    const QString library = m_home->makeLibrary({"Hills/a.zip"});
    m_form->PaTr->setText(library);
    m_home->writeFile(QStringLiteral("library/Atlantic/b.zip"));
    m_form->Button1->click();
    QCOMPARE(m_form->PaTr->text(), library);
    QVERIFY(m_form->slotCheckBox("Atlantic")->isChecked());
    QVERIFY(m_form->slotCheckBox("Hills")->isChecked());
    QVERIFY(m_form->chosenButton("Atlantic"));
}

void TestWindow::cancelledGameFolderBrowseChangesNothing()
{
    m_form->PaGa->setText(QStringLiteral("/games/nfs/"));
    m_form->Button2->click();
    QCOMPARE(m_form->PaGa->text(), QStringLiteral("/games/nfs/"));
    QCOMPARE(m_dialogs->folderPrompts.size(), 1);
    // No scan ran: the layout state of the slots is untouched.
    QVERIFY(m_form->slotCheckBox("Aquatica")->isEnabled());
}

void TestWindow::gameFolderBrowseDoesNotScan()
{
    m_dialogs->folderAnswers = {m_home->makeGame({"Aquatica"})};
    m_form->Button2->click();
    QVERIFY(m_form->slotCheckBox("Aquatica")->isEnabled());
    QVERIFY(m_form->PaGa->text().endsWith(QStringLiteral("game/")));
}

void TestWindow::newTracksEnablesAndStandardDisablesTheSlotArea()
{
    QVERIFY(m_form->GroupBox1->isEnabled());
    QTest::mouseClick(m_form->NTr, Qt::LeftButton);
    QVERIFY(m_form->NTr->isChecked());
    QVERIFY(m_form->GroupBox1->isEnabled());
    QTest::mouseClick(m_form->StTr, Qt::LeftButton);
    QVERIFY(m_form->StTr->isChecked());
    QVERIFY(!m_form->NTr->isChecked());
    QVERIFY(!m_form->GroupBox1->isEnabled());
    // The slot states do not change with the area.
    QVERIFY(!m_form->slotCheckBox("UK")->isChecked());
}

void TestWindow::clickingStandardLabelWhenSelectedChangesNothing()
{
    QVERIFY(m_form->StTr->isChecked());
    QTest::mouseClick(m_form->StTrL, Qt::LeftButton);
    QVERIFY(m_form->StTr->isChecked());
    QVERIFY(m_form->GroupBox1->isEnabled());
}

void TestWindow::clickingNewTracksLabelSelectsNewTracks()
{
    QTest::mouseClick(m_form->NTrL, Qt::LeftButton);
    QVERIFY(m_form->NTr->isChecked());
    QVERIFY(m_form->GroupBox1->isEnabled());
    QTest::mouseClick(m_form->StTrL, Qt::LeftButton);
    QVERIFY(m_form->StTr->isChecked());
    QVERIFY(!m_form->GroupBox1->isEnabled());
    QTest::mouseClick(m_form->NTrL, Qt::LeftButton);
    QVERIFY(m_form->NTr->isChecked());
    QVERIFY(m_form->GroupBox1->isEnabled());
}

void TestWindow::enterInFolderFieldPressesStart()
{
    QSignalSpy start(m_form->BitBtn2, &QPushButton::clicked);
    m_form->activateWindow();
    m_form->PaTr->setFocus();
    QTest::keyClick(m_form->PaTr, Qt::Key_Return);
    QCOMPARE(start.count(), 1);
    QTest::keyClick(m_form->PaTr, Qt::Key_Enter);
    QCOMPARE(start.count(), 2);
    m_form->slotCheckBox("Gt1")->setFocus();
    QTest::keyClick(m_form->slotCheckBox("Gt1"), Qt::Key_Return);
    QCOMPARE(start.count(), 3);
}

void TestWindow::enterOnPushButtonPressesThatButton()
{
    QSignalSpy start(m_form->BitBtn2, &QPushButton::clicked);
    m_form->activateWindow();
    m_form->Button2->setFocus();
    QTest::keyClick(m_form->Button2, Qt::Key_Return);
    QCOMPARE(start.count(), 0);
    QCOMPARE(m_dialogs->folderPrompts.size(), 1);
}

void TestWindow::escapeDoesNothing()
{
    QSignalSpy exit(m_form->BitBtn3, &QPushButton::clicked);
    m_form->activateWindow();
    m_form->PaGa->setFocus();
    QTest::keyClick(m_form->PaGa, Qt::Key_Escape);
    QVERIFY(m_form->isVisible());
    QCOMPARE(exit.count(), 0);
    QVERIFY(!QFile::exists(m_home->path(QStringLiteral("options.dat"))));
}

void TestWindow::exitAreaClosesTheWindow()
{
    QTest::mouseClick(m_form->PaintBox1, Qt::LeftButton);
    QVERIFY(!m_form->isVisible());
    QCOMPARE(m_home->options(), QStringLiteral("не выбран\r\nне выбран\r\n\r\n").toUtf8());
}

void TestWindow::helpShowsItsContentsPage()
{
    m_home->writeFile(QStringLiteral("help/rovex10.html"),
                      "<html><head><title>Rovex help</title></head><body>contents</body></html>");
    m_form->BitBtn1->click();
    QVERIFY(m_dialogs->messages.isEmpty());
    platform::HelpViewer* viewer = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* help = qobject_cast<platform::HelpViewer*>(window))
            viewer = help;
    }
    QVERIFY(viewer);
    QVERIFY(viewer->isVisible());
    QVERIFY(viewer->toPlainText().contains(QStringLiteral("contents")));
}

void TestWindow::missingHelpIsTold()
{
    m_form->BitBtn1->click();
    QCOMPARE(m_dialogs->messages.size(), 1);
    QVERIFY(m_dialogs->messages.constFirst().contains(QStringLiteral("rovex10.html")));
}

void TestWindow::paintKeepsModeButtonsVisibleAndClear()
{
    m_form->NTr->hide();
    m_form->GroupBox1->setAutoFillBackground(true);
    m_form->repaint();
    QVERIFY(!m_form->NTr->isHidden());
    QVERIFY(!m_form->GroupBox1->autoFillBackground());
}

QTEST_MAIN(TestWindow)
#include "test_window.moc"
