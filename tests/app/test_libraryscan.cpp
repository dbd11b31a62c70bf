#include "app/ScrollBox.h"
#include "app/StatusBar.h"
#include "app/main_window.h"
#include "tests/support/HomeFolder.h"
#include "tests/support/ScriptedDialogs.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QtTest>

#include <algorithm>

namespace {

QList<QRadioButton*> buttonsOf(const TForm1& form, const QString& slot)
{
    QList<QRadioButton*> buttons = form.slotStrip(slot)->findChildren<QRadioButton*>();
    std::sort(buttons.begin(), buttons.end(),
              [](QRadioButton* a, QRadioButton* b) { return a->x() < b->x(); });
    return buttons;
}

QStringList hintsOf(const QList<QRadioButton*>& buttons)
{
    QStringList hints;
    for (const QRadioButton* button : buttons)
        hints.append(button->statusTip());
    hints.sort();
    return hints;
}

QStringList numberedArchives(const QString& slot, int count)
{
    QStringList archives;
    for (int i = 0; i < count; ++i)
        archives.append(QStringLiteral("%1/track%2.zip").arg(slot).arg(i, 3, 10, QLatin1Char('0')));
    return archives;
}

} // namespace

// The library scan: one choice button per archive in each slot's strip.
class TestLibraryScan : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void fiveArchivesGrowTheColumnRange();
    void rightColumnGrowsItsOwnBox();
    void fullStripEndsAtItsEdge();
    void moreArchivesThanFitAreCutAndTold();
    void entriesOfEveryKindCount_data();
    void entriesOfEveryKindCount();
    void archiveNamesAreKeptAsListed();
    void slotsWithoutArchivesAreDisabled();
    void rescanSelectsTheFirstArchiveAgain();
    void smallerLibraryLeavesSurplusButtonsSelectable();
    void missingFolderKeepsOlderButtonsButDisablesTheSlot();
    void libraryNotChosenChangesNoPosition();

private:
    TForm1* scan(const QStringList& archives);
    std::unique_ptr<HomeFolder> m_home;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<TForm1> m_form;
};

void TestLibraryScan::init()
{
    m_home = std::make_unique<HomeFolder>();
    QVERIFY(m_home->isValid());
    m_dialogs = std::make_unique<ScriptedDialogs>();
    m_form = std::make_unique<TForm1>();
    QVERIFY(m_form->FormCreate());
}

void TestLibraryScan::cleanup()
{
    m_form.reset();
    m_dialogs.reset();
    m_home.reset();
}

TForm1* TestLibraryScan::scan(const QStringList& archives)
{
    m_form->PaTr->setText(m_home->makeLibrary(archives));
    m_form->CheckTrass();
    return m_form.get();
}

void TestLibraryScan::fiveArchivesGrowTheColumnRange()
{
    const TForm1& form = *scan(numberedArchives("Coastal", 5));
    const QList<QRadioButton*> buttons = buttonsOf(form, "Coastal");
    QCOMPARE(buttons.size(), 5);
    const QList<int> lefts{4, 22, 40, 58, 76};
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(buttons[i]->geometry(), QRect(lefts[i], 0, 17, 17));
        QVERIFY(buttons[i]->text().isEmpty());
        QCOMPARE(buttons[i]->toolTip(), buttons[i]->statusTip());
    }
    QCOMPARE(hintsOf(buttons),
             QStringList({"track000.zip", "track001.zip", "track002.zip", "track003.zip", "track004.zip"}));
    // The first one found is selected; exactly one is.
    QVERIFY(buttons[0]->isChecked());
    QCOMPARE(std::count_if(buttons.begin(), buttons.end(), [](QRadioButton* b) { return b->isChecked(); }),
             1);
    QCOMPARE(form.chosenButton("Coastal"), buttons[0]);
    QCOMPARE(form.ScrollBox1->range(), 95);
    QCOMPARE(form.ScrollBox2->range(), 77);
    QCOMPARE(form.ScrollBox1->position(), 0);
    QCOMPARE(form.ScrollBox2->position(), 0);
    QVERIFY(form.slotCheckBox("Coastal")->isEnabled());
    QVERIFY(form.slotCheckBox("Coastal")->isChecked());
}

void TestLibraryScan::rightColumnGrowsItsOwnBox()
{
    QStringList archives = numberedArchives("UK", 7);
    archives += numberedArchives("Hills", 3);
    archives += numberedArchives("Gt3", 4);
    const TForm1& form = *scan(archives);
    // Seven buttons: the last at 112, so the range ends at 18 * 7 + 5.
    QCOMPARE(form.ScrollBox2->range(), 131);
    QCOMPARE(form.ScrollBox1->range(), 77);
    QCOMPARE(buttonsOf(form, "Hills").size(), 3);
    QCOMPARE(buttonsOf(form, "Gt3").size(), 4);
}

void TestLibraryScan::fullStripEndsAtItsEdge()
{
    const TForm1& form = *scan(numberedArchives("Park", 255));
    const QList<QRadioButton*> buttons = buttonsOf(form, "Park");
    QCOMPARE(buttons.size(), 255);
    QCOMPARE(buttons.constLast()->x(), 4576);
    QCOMPARE(buttons.constLast()->geometry().right() + 1, 4593);
    QCOMPARE(form.ScrollBox2->range(), 18 * 255 + 5);
    QVERIFY(form.RBar->text().isEmpty());
}

void TestLibraryScan::moreArchivesThanFitAreCutAndTold()
{
    const TForm1& form = *scan(numberedArchives("Empire", 300));
    QCOMPARE(buttonsOf(form, "Empire").size(), TForm1::MaxChoiceButtons);
    QVERIFY(form.slotCheckBox("Empire")->isChecked());
    // Told where the pointer's hints do not wipe it.
    m_form->HintToStatusBar(QString());
    QCOMPARE(form.RBar->text(),
             QStringLiteral("В папке трассы Empire больше 255 архивов: показаны первые 255."));
}

void TestLibraryScan::entriesOfEveryKindCount_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<bool>("folder");
    QTest::addColumn<bool>("counts");
    QTest::addColumn<QString>("slotFolder"); // Snowy's folder, as the library spells it
    QTest::newRow("archive") << "a.zip" << false << true << "Snowy";
    QTest::newRow("upper-case extension") << "A.ZIP" << false << true << "Snowy";
    QTest::newRow("hidden file") << ".hidden.zip" << false << true << "Snowy";
    QTest::newRow("folder named like an archive") << "folder.zip" << true << true << "Snowy";
    QTest::newRow("other file") << "readme.txt" << false << false << "Snowy";
    QTest::newRow("archive name inside a longer one") << "a.zip.bak" << false << false << "Snowy";
    QTest::newRow("lower-case slot folder") << "a.zip" << false << true << "snowy";
}

void TestLibraryScan::entriesOfEveryKindCount()
{
    QFETCH(QString, entry);
    QFETCH(bool, folder);
    QFETCH(bool, counts);
    QFETCH(QString, slotFolder);

    const QString library = m_home->makeLibrary({});
    const QString path = QStringLiteral("library/") + slotFolder + QLatin1Char('/') + entry;
    if (folder)
        m_home->makeFolder(path);
    else
        m_home->writeFile(path);
    m_form->PaTr->setText(library);
    m_form->CheckTrass();
    QCOMPARE(hintsOf(buttonsOf(*m_form, "Snowy")), counts ? QStringList{entry} : QStringList());
    QCOMPARE(m_form->slotCheckBox("Snowy")->isChecked(), counts);
    QCOMPARE(m_form->slotCheckBox("Snowy")->isEnabled(), counts);
}

void TestLibraryScan::archiveNamesAreKeptAsListed()
{
    const TForm1& form = *scan(
        {QStringLiteral("Gt1/with blanks .zip"), QStringLiteral("Gt1/Трасса №1.zip"), "Gt1/x;y'z\".zip"});
    QCOMPARE(hintsOf(buttonsOf(form, "Gt1")), QStringList({QStringLiteral("with blanks .zip"), "x;y'z\".zip",
                                                           QStringLiteral("Трасса №1.zip")}));
}

void TestLibraryScan::slotsWithoutArchivesAreDisabled()
{
    m_home->makeFolder(QStringLiteral("library/Summit"));
    const TForm1& form = *scan({"Aquatica/a.zip"});
    QVERIFY(form.slotCheckBox("Aquatica")->isChecked());
    for (const char* slot : {"Summit", "Hometown", "Gt2"}) {
        QVERIFY(!form.slotCheckBox(slot)->isEnabled());
        QVERIFY(!form.slotCheckBox(slot)->isChecked());
        QVERIFY(buttonsOf(form, slot).isEmpty());
    }
}

void TestLibraryScan::rescanSelectsTheFirstArchiveAgain()
{
    TForm1& form = *scan(numberedArchives("France", 6));
    QList<QRadioButton*> buttons = buttonsOf(form, "France");
    buttons[3]->setChecked(true);
    form.slotCheckBox("France")->setChecked(false);

    form.CheckTrass();
    buttons = buttonsOf(form, "France");
    QCOMPARE(buttons.size(), 6);
    QVERIFY(buttons[0]->isChecked());
    QCOMPARE(form.chosenButton("France"), buttons[0]);
    QVERIFY(form.slotCheckBox("France")->isChecked());
    // The range grows by the scan, never shrinks, and is shared by the column.
    QCOMPARE(form.ScrollBox1->range(), 18 * 6 + 5);
}

void TestLibraryScan::smallerLibraryLeavesSurplusButtonsSelectable()
{
    TForm1& form = *scan(numberedArchives("Redrock", 4));
    const QString second = m_home->makeFolder(QStringLiteral("second"));
    m_home->writeFile(QStringLiteral("second/Redrock/new.zip"));
    form.PaTr->setText(second);
    form.CheckTrass();

    const QList<QRadioButton*> buttons = buttonsOf(form, "Redrock");
    QCOMPARE(buttons.size(), 4);
    QCOMPARE(buttons[0]->statusTip(), QStringLiteral("new.zip"));
    QVERIFY(buttons[0]->isChecked());
    QVERIFY(buttons[3]->isVisibleTo(&form));
    // An older button selected deselects the new one: one group per strip.
    buttons[3]->setChecked(true);
    QVERIFY(!buttons[0]->isChecked());
    QCOMPARE(form.chosenButton("Redrock"), buttons[3]);
}

void TestLibraryScan::missingFolderKeepsOlderButtonsButDisablesTheSlot()
{
    TForm1& form = *scan(numberedArchives("Germany", 2));
    buttonsOf(form, "Germany")[1]->setChecked(true);
    form.PaTr->setText(m_home->makeFolder(QStringLiteral("empty")));
    form.CheckTrass();
    QCOMPARE(buttonsOf(form, "Germany").size(), 2);
    QCOMPARE(form.chosenButton("Germany"), buttonsOf(form, "Germany")[1]);
    QVERIFY(!form.slotCheckBox("Germany")->isEnabled());
    QVERIFY(!form.slotCheckBox("Germany")->isChecked());
}

void TestLibraryScan::libraryNotChosenChangesNoPosition()
{
    TForm1& form = *m_form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    scan(numberedArchives("Gt2", 8));
    form.ScrollBox1->setPosition(18);
    QCOMPARE(form.ScrollBox1->position(), 18);
    form.PaTr->setText(QStringLiteral("не выбран"));
    form.CheckTrass();
    QCOMPARE(form.ScrollBox1->position(), 18);
    QVERIFY(!form.slotCheckBox("Gt2")->isEnabled());
}

QTEST_MAIN(TestLibraryScan)
#include "test_libraryscan.moc"
