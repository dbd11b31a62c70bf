#include "app/ClickArea.h"
#include "app/ScrollBox.h"
#include "app/SkinStyle.h"
#include "app/StatusBar.h"
#include "app/main_window.h"
#include "platform/HelpViewer.h"
#include "tests/app/OpenMainWindow.h"
#include "tests/support/HomeFolder.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/UnreadableFolder.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QtTest>

#include <optional>

// The small commands of the main window: browse, mode switch, keys, help and exit.
class TestWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void browseGivesFolderWithOneTrailingSlash_data();
    void browseGivesFolderWithOneTrailingSlash();
    void cancelledTrackFolderBrowseStillRescans();
    void cancelledGameFolderBrowseChangesNothing();
    void gameFolderBrowseDoesNotScan();
    void wrongFolderIsToldAndKept_data();
    void wrongFolderIsToldAndKept();
    void newTracksEnablesAndStandardDisablesTheSlotArea();
    void clickingStandardLabelWhenSelectedChangesNothing();
    void clickingNewTracksLabelSelectsNewTracks();
    void enterInFolderFieldPressesStart();
    void enterOnPushButtonPressesThatButton();
    void escapeDoesNothing();
    void exitAreaClosesTheWindow();
    void helpShowsItsContentsPage();
    void missingHelpIsTold();
    void shippedHelpPagesAreLinkedFromTheContents_data();
    void shippedHelpPagesAreLinkedFromTheContents();
    void paintKeepsModeButtonsVisibleAndClear();
    void tabReachesChoiceButtonsWhereTheirScrollBoxStands();
    void focusedControlShowsAFocusMark_data();
    void focusedControlShowsAFocusMark();

private:
    OpenMainWindow m_window;
};

void TestWindow::initTestCase()
{
    // The program's own style, as its entry installs it.
    QApplication::setStyle(new SkinStyle);
}

void TestWindow::init()
{
    QVERIFY(m_window.open());
    m_window.dialogs->messages.clear();
    m_window.dialogs->errors.clear();
}

void TestWindow::cleanup()
{
    m_window.close();
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

    m_window.dialogs->folderAnswers = {chosen, chosen};
    m_window.form->Button1->click();
    m_window.form->Button2->click();
    QCOMPARE(m_window.form->PaTr->text(), stored);
    QCOMPARE(m_window.form->PaGa->text(), stored);
    QCOMPARE(m_window.dialogs->folderPrompts,
             QStringList({QStringLiteral("Выберите путь к папке с файлами трасс:"),
                          QStringLiteral("Выберите путь к каталогу игры (c файлом nfshs.exe):")}));
}

void TestWindow::cancelledTrackFolderBrowseStillRescans()
{
    const QString library = m_window.home->makeLibrary({"Hills/a.zip"});
    m_window.form->PaTr->setText(library);
    m_window.home->writeFile(QStringLiteral("library/Atlantic/b.zip"));
    m_window.form->Button1->click();
    QCOMPARE(m_window.form->PaTr->text(), library);
    QVERIFY(m_window.form->slotCheckBox("Atlantic")->isChecked());
    QVERIFY(m_window.form->slotCheckBox("Hills")->isChecked());
    QVERIFY(m_window.form->chosenButton("Atlantic"));
}

void TestWindow::cancelledGameFolderBrowseChangesNothing()
{
    m_window.form->PaGa->setText(QStringLiteral("/games/nfs/"));
    m_window.form->Button2->click();
    QCOMPARE(m_window.form->PaGa->text(), QStringLiteral("/games/nfs/"));
    QCOMPARE(m_window.dialogs->folderPrompts.size(), 1);
    // No scan ran: the layout state of the slots is untouched.
    QVERIFY(m_window.form->slotCheckBox("Aquatica")->isEnabled());
}

void TestWindow::gameFolderBrowseDoesNotScan()
{
    m_window.dialogs->folderAnswers = {m_window.home->makeGame({"Aquatica"})};
    m_window.form->Button2->click();
    QVERIFY(m_window.form->slotCheckBox("Aquatica")->isEnabled());
    QVERIFY(m_window.form->PaGa->text().endsWith(QStringLiteral("game/")));
}

void TestWindow::wrongFolderIsToldAndKept_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("entries"); // made in the chosen folder; a trailing "/" makes a folder
    QTest::addColumn<QString>("warning");     // "%1" stands for the chosen folder
    QTest::addColumn<QString>("unreadable");  // the entry made unreadable, "." for the folder itself
    const QString help = QStringLiteral("\nВыбор сохранён. Подробнее — в справке, раздел «Неверная папка».");
    const QString noSlots =
        QStringLiteral("В папке \"%1\" нет ни одной папки трасс (Aquatica, Atlantic, … UK): "
                       "архивы дополнительных трасс лежат в библиотеке по папкам "
                       "стандартных трасс.") +
        help;
    QTest::newRow("library with slot folders")
        << "Button1" << QStringList{"Hills/", "UK/"} << QString() << QString();
    QTest::newRow("library, slot folder in other case")
        << "Button1" << QStringList{"gt2/"} << QString() << QString();
    QTest::newRow("library one level too high")
        << "Button1" << QStringList{"library/UK/"} << noSlots << QString();
    QTest::newRow("library with a file named like a slot")
        << "Button1" << QStringList{"UK"} << noSlots << QString();
    QTest::newRow("game") << "Button2" << QStringList{"nfshs.exe", "Data/Tracks/"} << QString() << QString();
    QTest::newRow("game copied from a CD")
        << "Button2" << QStringList{"NFSHS.EXE", "DATA/TRACKS/"} << QString() << QString();
    QTest::newRow("game without nfshs.exe")
        << "Button2" << QStringList{"Data/Tracks/"}
        << QStringLiteral("В папке \"%1\" нет файла nfshs.exe: похоже, это не каталог игры.") + help
        << QString();
    QTest::newRow("game without Data/Tracks")
        << "Button2" << QStringList{"nfshs.exe", "Data/"}
        << QStringLiteral("В папке \"%1\" нет папки Data/Tracks: похоже, это не каталог игры.") + help
        << QString();
    QTest::newRow("empty folder for the game")
        << "Button2" << QStringList{}
        << QStringLiteral("В папке \"%1\" нет файла nfshs.exe и папки Data/Tracks: похоже, это не каталог "
                          "игры.") +
               help
        << QString();
    const QString cannotRead = QStringLiteral("Папку \"%1\" не удаётся прочитать: нет доступа.") + help;
    QTest::newRow("unreadable library") << "Button1" << QStringList{"UK/"} << cannotRead << ".";
    QTest::newRow("library with an unreadable slot folder")
        << "Button1" << QStringList{"Hills/", "uk/"} << cannotRead.arg("%1uk") << "uk";
    QTest::newRow("unreadable game folder")
        << "Button2" << QStringList{"nfshs.exe", "Data/Tracks/"} << cannotRead << ".";
}

void TestWindow::wrongFolderIsToldAndKept()
{
    QFETCH(QString, button);
    QFETCH(QStringList, entries);
    QFETCH(QString, warning);
    QFETCH(QString, unreadable);
    const QString chosen = m_window.home->makeFolder(QStringLiteral("chosen"));
    for (const QString& entry : entries) {
        if (entry.endsWith(QLatin1Char('/')))
            m_window.home->makeFolder(QStringLiteral("chosen/") + entry);
        else
            m_window.home->writeFile(QStringLiteral("chosen/") + entry);
    }
    m_window.dialogs->folderAnswers = {chosen};
    std::optional<UnreadableFolder> barrier;
    if (!unreadable.isEmpty()) {
        barrier.emplace(chosen + unreadable);
        if (!barrier->isActive())
            QSKIP("no folder can be made unreadable here");
    }
    m_window.form->findChild<QPushButton*>(button)->click();
    barrier.reset();
    QCOMPARE(
        m_window.form->findChild<QLineEdit*>(button == QLatin1String("Button1") ? "PaTr" : "PaGa")->text(),
        chosen);
    QCOMPARE(m_window.dialogs->messages,
             warning.isEmpty() ? QStringList() : QStringList{warning.arg(chosen)});
    // The library scan tells what cannot be read as the check does, and the slot says it in its hint.
    const QString told = button == QLatin1String("Button1") && !unreadable.isEmpty()
                             ? warning.arg(chosen).section(QLatin1Char('\n'), 0, 0)
                             : QString();
    QCOMPARE(m_window.form->RBar->text(), told);
    if (unreadable == QLatin1String("uk"))
        QCOMPARE(m_window.form->slotCheckBox("UK")->statusTip(), QStringLiteral("Дорога Дурхэм. ") + told);
}

void TestWindow::newTracksEnablesAndStandardDisablesTheSlotArea()
{
    QVERIFY(m_window.form->GroupBox1->isEnabled());
    QTest::mouseClick(m_window.form->NTr, Qt::LeftButton);
    QVERIFY(m_window.form->NTr->isChecked());
    QVERIFY(m_window.form->GroupBox1->isEnabled());
    QTest::mouseClick(m_window.form->StTr, Qt::LeftButton);
    QVERIFY(m_window.form->StTr->isChecked());
    QVERIFY(!m_window.form->NTr->isChecked());
    QVERIFY(!m_window.form->GroupBox1->isEnabled());
    // The slot states do not change with the area.
    QVERIFY(!m_window.form->slotCheckBox("UK")->isChecked());
}

void TestWindow::clickingStandardLabelWhenSelectedChangesNothing()
{
    QVERIFY(m_window.form->StTr->isChecked());
    QTest::mouseClick(m_window.form->StTrL, Qt::LeftButton);
    QVERIFY(m_window.form->StTr->isChecked());
    QVERIFY(m_window.form->GroupBox1->isEnabled());
}

void TestWindow::clickingNewTracksLabelSelectsNewTracks()
{
    QTest::mouseClick(m_window.form->NTrL, Qt::LeftButton);
    QVERIFY(m_window.form->NTr->isChecked());
    QVERIFY(m_window.form->GroupBox1->isEnabled());
    QTest::mouseClick(m_window.form->StTrL, Qt::LeftButton);
    QVERIFY(m_window.form->StTr->isChecked());
    QVERIFY(!m_window.form->GroupBox1->isEnabled());
    QTest::mouseClick(m_window.form->NTrL, Qt::LeftButton);
    QVERIFY(m_window.form->NTr->isChecked());
    QVERIFY(m_window.form->GroupBox1->isEnabled());
}

void TestWindow::enterInFolderFieldPressesStart()
{
    QSignalSpy start(m_window.form->BitBtn2, &QPushButton::clicked);
    m_window.form->activateWindow();
    m_window.form->PaTr->setFocus();
    QTest::keyClick(m_window.form->PaTr, Qt::Key_Return);
    QCOMPARE(start.count(), 1);
    QTest::keyClick(m_window.form->PaTr, Qt::Key_Enter);
    QCOMPARE(start.count(), 2);
    m_window.form->slotCheckBox("Gt1")->setFocus();
    QTest::keyClick(m_window.form->slotCheckBox("Gt1"), Qt::Key_Return);
    QCOMPARE(start.count(), 3);
}

void TestWindow::enterOnPushButtonPressesThatButton()
{
    QSignalSpy start(m_window.form->BitBtn2, &QPushButton::clicked);
    m_window.form->activateWindow();
    m_window.form->Button2->setFocus();
    QTest::keyClick(m_window.form->Button2, Qt::Key_Return);
    QCOMPARE(start.count(), 0);
    QCOMPARE(m_window.dialogs->folderPrompts.size(), 1);
}

void TestWindow::escapeDoesNothing()
{
    QSignalSpy exit(m_window.form->BitBtn3, &QPushButton::clicked);
    m_window.form->activateWindow();
    m_window.form->PaGa->setFocus();
    QTest::keyClick(m_window.form->PaGa, Qt::Key_Escape);
    QVERIFY(m_window.form->isVisible());
    QCOMPARE(exit.count(), 0);
    QVERIFY(!QFile::exists(m_window.home->path(QStringLiteral("options.dat"))));
}

void TestWindow::exitAreaClosesTheWindow()
{
    QTest::mouseClick(m_window.form->PaintBox1, Qt::LeftButton);
    QVERIFY(!m_window.form->isVisible());
    QCOMPARE(m_window.home->options(), QStringLiteral("не выбран\r\nне выбран\r\n\r\n").toUtf8());
}

void TestWindow::helpShowsItsContentsPage()
{
    m_window.home->writeFile(QStringLiteral("help/rovex10.html"),
                             "<html><head><title>Rovex help</title></head><body>contents</body></html>");
    m_window.form->BitBtn1->click();
    QVERIFY(m_window.dialogs->messages.isEmpty());
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
    m_window.form->BitBtn1->click();
    QCOMPARE(m_window.dialogs->messages.size(), 1);
    QVERIFY(m_window.dialogs->messages.constFirst().contains(QStringLiteral("rovex10.html")));
}

void TestWindow::shippedHelpPagesAreLinkedFromTheContents_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("tells"); // words the page must hold
    QTest::newRow("folders") << "folders.html"
                             << "Выбор папок" << QStringList{"wrongfolder.html"};
    QTest::newRow("play") << "play.html"
                          << "Выбор трасс и запуск игры" << QStringList{"Старт"};
    QTest::newRow("add") << "add.html"
                         << "Добавление новой трассы" << QStringList{"перетащите"};
    QTest::newRow("wrong folder") << "wrongfolder.html"
                                  << "Неверная папка" << QStringList{"nfshs.exe", "Data/Tracks", "Hometown"};
    QTest::newRow("wine") << "wine.html"
                          << "Запуск игры через Wine" << QStringList{"apt-get install wine", "WINEPREFIX"};
    QTest::newRow("window") << "window.html"
                            << "Перемещение окна" << QStringList{"левую кнопку мыши"};
    QTest::newRow("files not put back")
        << "restore.html"
        << "Если не все файлы удалось вернуть"
        << QStringList{"Закройте игру", "свободное место", "Стандартные трассы", "0Tr.frd", "Tr.frd"};
}

void TestWindow::shippedHelpPagesAreLinkedFromTheContents()
{
    QFETCH(QString, page);
    QFETCH(QString, title);
    QFETCH(QStringList, tells);
    const QString help = QStringLiteral(ROVEX_SOURCE_DIR "/resources/help/");
    QFile contents(help + "rovex10.html");
    QVERIFY(contents.open(QIODevice::ReadOnly));
    QVERIFY(QString::fromUtf8(contents.readAll()).contains("href=\"" + page + "\""));
    QFile file(help + page);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    QVERIFY(text.contains("<title>" + title + "</title>"));
    QVERIFY(text.contains(QStringLiteral("href=\"rovex10.html\"")));
    for (const QString& word : tells)
        QVERIFY2(text.contains(word, Qt::CaseInsensitive), qPrintable(word));
}

void TestWindow::paintKeepsModeButtonsVisibleAndClear()
{
    m_window.form->NTr->hide();
    m_window.form->GroupBox1->setAutoFillBackground(true);
    m_window.form->repaint();
    QVERIFY(!m_window.form->NTr->isHidden());
    QVERIFY(!m_window.form->GroupBox1->autoFillBackground());
}

void TestWindow::tabReachesChoiceButtonsWhereTheirScrollBoxStands()
{
    TForm1& form = *m_window.form;
    form.PaTr->setText(m_window.home->makeLibrary(
        {"UK/u.zip", "Hills/h.zip", "Coastal/c1.zip", "Coastal/c2.zip", "Aquatica/a.zip"}));
    form.CheckTrass();
    form.activateWindow();
    form.slotCheckBox("UK")->setFocus(Qt::TabFocusReason);
    // The left box's strips come first (Coastal before Aquatica), then the right box's (Hills before
    // UK); Tab stops once in each strip, on its first button.
    const QList<QWidget*> expected{form.chosenButton("Coastal"), form.chosenButton("Aquatica"),
                                   form.chosenButton("Hills"), form.chosenButton("UK"), form.BitBtn1};
    for (QWidget* next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
    }
}

void TestWindow::focusedControlShowsAFocusMark_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("captionless");
    // The focus starts on the start button, which Enter presses.
    QTest::newRow("BitBtn2 at start") << "BitBtn2" << false;
    for (const char* name : {"BitBtn1", "BitBtn4", "PaTr", "Button1", "Aquatica", "Hills"})
        QTest::newRow(name) << QString::fromLatin1(name) << false;
    // A radio button without caption has no text to mark: the mark goes round the whole button.
    for (const char* name : {"StTr", "NTr", "choice button"})
        QTest::newRow(name) << QString::fromLatin1(name) << true;
}

void TestWindow::focusedControlShowsAFocusMark()
{
    QFETCH(QString, name);
    QFETCH(bool, captionless);
    TForm1& form = *m_window.form;
    form.PaTr->setText(m_window.home->makeLibrary({"Hills/h.zip", "Aquatica/a.zip"}));
    form.CheckTrass();
    QWidget* control =
        name == QLatin1String("choice button") ? form.chosenButton("Hills") : form.findChild<QWidget*>(name);
    QVERIFY(control);
    if (control == form.BitBtn2)
        QCOMPARE(form.focusWidget(), control);
    form.activateWindow();
    // The mark shows before any keyboard use, from the start on.
    QVERIFY(!form.testAttribute(Qt::WA_KeyboardFocusChange));
    (control == form.BitBtn4 ? form.BitBtn1 : form.BitBtn4)->setFocus(Qt::MouseFocusReason);
    const QImage unfocused = control->grab().toImage();
    control->setFocus(Qt::MouseFocusReason);
    QVERIFY(control->hasFocus());
    const QImage focused = control->grab().toImage();
    QVERIFY(focused != unfocused);
    if (!captionless)
        return;
    const auto changedNear = [&](int x0, int y0) {
        for (int y = y0; y < y0 + 3; ++y) {
            for (int x = x0; x < x0 + 3; ++x) {
                if (focused.pixel(x, y) != unfocused.pixel(x, y))
                    return true;
            }
        }
        return false;
    };
    const int right = focused.width() - 3;
    const int bottom = focused.height() - 3;
    QVERIFY(changedNear(0, 0) && changedNear(right, 0) && changedNear(0, bottom) &&
            changedNear(right, bottom));
}

QTEST_MAIN(TestWindow)
#include "test_window.moc"
