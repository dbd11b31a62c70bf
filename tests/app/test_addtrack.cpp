#include "app/StatusBar.h"
#include "app/main_window.h"
#include "core/SlotTable.h"
#include "platform/Process.h"
#include "tests/support/Files.h"
#include "tests/support/HomeFolder.h"
#include "tests/support/ScriptedDialogs.h"
#include "tools/archiver/ZipWriter.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

namespace {

const QString NotThisSlot = QStringLiteral("Трасса НЕ определена. Попробуйте определить её вручную...");
const QString Filed = QStringLiteral("Трасса была определена. Теперь она должна быть доступна.");
const QString Analysing = QStringLiteral("Подождите. Происходит анализ содержимого файла...");
const QString Failed = QStringLiteral("Трасса определить НЕ удалось. Попробуйте сделать это её вручную...");

QStringList entriesOf(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
}

} // namespace

class TestAddTrack : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void dialogIsTheAddTrackDialog();
    void cancelledDialogDoesNothing();
    void libraryNotChosenAsksForPathsFirst();
    void questionTextIsExact();
    void confirmedSlotGetsTheArchiveAndItsChoiceButton();
    void twoSlotNamesInOneLineAskInTableOrder();
    void slotNameInsideLongerWordCounts();
    void noOnOneLineThenYesOnTheNext();
    void onlyTrackFilesFailAndMoveNothing();
    void trackFileInOtherCaseIsReadAsDescription();
    void allNoLeavesTheArchiveWhereItWas();
    void missingSlotFolderGivesErrorAndIdentificationGoesOn();
    void archiveAlreadyInItsSlotFolderIsAccepted();
    void otherArchiveOfTheSameNameIsNotReplaced();
    void brokenArchiveFails();
    void foreignFilesInExistingTemp1AreKeptAndNotRead();
    void hugeAndBinaryDescriptionsAreReadThrough();
    void archiveNameWithQuoteIsRefused();
    void interpreterThatDoesNotStartIsReported();
    void interpreterThatEndsWithoutMarkerIsReported();
    void unwritableBatchIsAnErrorAndLeavesNothingBehind();

private:
    void openWindow();
    // A downloaded archive "downloads/<name>" with the given entries.
    QString download(const QString& name, const QList<ZipEntry>& entries) const;
    QString describedDownload(const QString& name, const QByteArray& description) const;
    void add(const QString& archive, const QList<bool>& answers);
    QStringList askedSlots() const;
    bool stripHasButtonFor(const QString& slot, const QString& archiveName) const;

    std::unique_ptr<HomeFolder> m_home;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<TForm1> m_form;
    QString m_library;
    QString m_temp1;
    int m_errorsBefore = 0;
};

void TestAddTrack::init()
{
    m_home = std::make_unique<HomeFolder>(QStringLiteral(ROVEX_TOOL_ARCHIVER));
    QVERIFY(m_home->isValid());
    platform::setInterpreterPath(QStringLiteral(ROVEX_TOOL_ROVEX_CMD));
    m_dialogs = std::make_unique<ScriptedDialogs>();
    m_library = m_home->path("library/");
    m_temp1 = m_home->path("Temp1");
    for (const QString& slot : trackslots::SlotNames())
        QVERIFY(QDir().mkpath(m_library + slot));
}

void TestAddTrack::cleanup()
{
    m_form.reset();
    m_dialogs.reset();
    m_home.reset();
}

void TestAddTrack::openWindow()
{
    m_home->writeOptions({m_library, m_home->makeFolder("game"), "1"});
    m_form = std::make_unique<TForm1>();
    QVERIFY(m_form->FormCreate());
    m_form->show();
    m_errorsBefore = m_dialogs->errors.size();
}

QString TestAddTrack::download(const QString& name, const QList<ZipEntry>& entries) const
{
    const QString path = m_home->makeFolder("my downloads") + name;
    QString error;
    if (!writeZip(path, entries, &error))
        qFatal("cannot write the archive: %s", qPrintable(error));
    return path;
}

QString TestAddTrack::describedDownload(const QString& name, const QByteArray& description) const
{
    return download(name, {ZipEntry::file("Tr.frd", "track"), ZipEntry::file("sky.qfs", "sky"),
                           ZipEntry::file("readme.txt", description)});
}

void TestAddTrack::add(const QString& archive, const QList<bool>& answers)
{
    m_dialogs->fileAnswers = QStringList{archive};
    m_dialogs->yesNoAnswers = answers;
    m_form->BitBtn4Click();
    QCOMPARE(m_dialogs->errors.size(), m_errorsBefore);
    QVERIFY(!QFileInfo::exists(m_temp1));
    QVERIFY(!QFileInfo::exists(m_home->path("extrc.bat")));
    QVERIFY(!QFileInfo::exists(m_home->path("extrc1.pif")));
}

QStringList TestAddTrack::askedSlots() const
{
    QStringList slotsAsked;
    for (const ScriptedDialogs::Question& question : m_dialogs->questions) {
        const QString line = question.text.split('\n').value(1);
        slotsAsked.append(line.section('(', -1).section('/', 0, 0));
    }
    return slotsAsked;
}

bool TestAddTrack::stripHasButtonFor(const QString& slot, const QString& archiveName) const
{
    for (const QRadioButton* button : m_form->slotStrip(slot)->findChildren<QRadioButton*>()) {
        if (button->statusTip() == archiveName)
            return true;
    }
    return false;
}

void TestAddTrack::dialogIsTheAddTrackDialog()
{
    openWindow();
    m_form->BitBtn4Click();
    QCOMPARE(m_dialogs->fileDialogTitles, QStringList{"Добавление файла с трассой"});
    QCOMPARE(m_dialogs->fileDialogFilters,
             QStringList{"Файл с запакованной трассой (*.zip);;Все файлы (*.*)"});
    QCOMPARE(m_dialogs->fileDialogSuffixes, QStringList{"zip"});
}

void TestAddTrack::cancelledDialogDoesNothing()
{
    openWindow();
    m_form->RBar->setText("before");
    m_form->BitBtn4Click();
    QCOMPARE(m_form->RBar->text(), QStringLiteral("before"));
    QVERIFY(m_dialogs->questions.isEmpty());
    QVERIFY(!QFileInfo::exists(m_temp1));
    QVERIFY(!QFileInfo::exists(m_home->path("extrc.bat")));
}

void TestAddTrack::libraryNotChosenAsksForPathsFirst()
{
    openWindow();
    m_form->PaTr->setText(QStringLiteral("не выбран"));
    m_dialogs->fileAnswers = QStringList{describedDownload("t.zip", "UK")};
    m_form->BitBtn4Click();
    QCOMPARE(m_dialogs->messages.last(), QStringLiteral("Сначала укажите пути в настройках!"));
    QVERIFY(m_dialogs->fileDialogTitles.isEmpty());
    QVERIFY(m_dialogs->questions.isEmpty());
    QCOMPARE(m_form->RBar->text(), QString());
}

void TestAddTrack::questionTextIsExact()
{
    openWindow();
    add(describedDownload("cove.zip", "A new Coastal track\r\n"), {false});
    QCOMPARE(m_dialogs->questions.size(), 1);
    QCOMPARE(m_dialogs->questions.at(0).title, QStringLiteral("Трасса определена"));
    QCOMPARE(m_dialogs->questions.at(0).text,
             QStringLiteral("Предположительно это трасса: \nDolphin Cove (Coastal/Бухта Дельфинов)\n"
                            "Переместить файл в соответствующую папку?\n"
                            "Ответ \"нет\" - продолжим определение этой трассы."));
}

void TestAddTrack::confirmedSlotGetsTheArchiveAndItsChoiceButton()
{
    openWindow();
    QVERIFY(!m_form->slotCheckBox("Hometown")->isEnabled());
    const QString archive = describedDownload("my town.zip", "Hometown remake");
    const QByteArray bytes = readAll(archive);
    add(archive, {true});
    QCOMPARE(askedSlots(), QStringList{"Hometown"});
    QCOMPARE(m_form->RBar->text(), Filed);
    QVERIFY(!QFileInfo::exists(archive));
    QCOMPARE(readAll(m_library + "Hometown/my town.zip"), bytes);
    QVERIFY(stripHasButtonFor("Hometown", "my town.zip"));
    QVERIFY(m_form->slotCheckBox("Hometown")->isEnabled());
    QVERIFY(m_form->slotCheckBox("Hometown")->isChecked());
}

void TestAddTrack::twoSlotNamesInOneLineAskInTableOrder()
{
    openWindow();
    const QString archive = describedDownload("two.zip", "Summit or Coastal?");
    // The progress text shown when each question comes tells what the previous answer led to.
    QStringList shown;
    m_dialogs->atQuestion = [&] {
        shown.append(m_form->RBar->text());
    };
    add(archive, {false, true});
    QCOMPARE(askedSlots(), (QStringList{"Coastal", "Summit"}));
    QCOMPARE(shown, (QStringList{Analysing, NotThisSlot}));
    QVERIFY(QFileInfo::exists(m_library + "Summit/two.zip"));
    QVERIFY(!QFileInfo::exists(m_library + "Coastal/two.zip"));
    QCOMPARE(m_form->RBar->text(), Filed);
}

void TestAddTrack::slotNameInsideLongerWordCounts()
{
    openWindow();
    add(describedDownload("duke.zip", "made by DUKE"), {true});
    QCOMPARE(askedSlots(), QStringList{"UK"});
    QVERIFY(QFileInfo::exists(m_library + "UK/duke.zip"));
}

void TestAddTrack::noOnOneLineThenYesOnTheNext()
{
    openWindow();
    add(describedDownload("race.zip", "Gt1 style\nfor Park\nand Snowy\n"), {false, true});
    QCOMPARE(askedSlots(), (QStringList{"Gt1", "Park"}));
    QVERIFY(QFileInfo::exists(m_library + "Park/race.zip"));
    QCOMPARE(m_form->RBar->text(), Filed);
}

void TestAddTrack::onlyTrackFilesFailAndMoveNothing()
{
    openWindow();
    QList<ZipEntry> entries;
    for (const QString& name : trackslots::TrackFileSet())
        entries.append(ZipEntry::file(name, "UK Coastal " + name.toUtf8()));
    const QString archive = download("plain.zip", entries);
    add(archive, {true});
    QVERIFY(m_dialogs->questions.isEmpty());
    QCOMPARE(m_form->RBar->text(), Failed);
    QVERIFY(QFileInfo::exists(archive));
    for (const QString& slot : trackslots::SlotNames())
        QCOMPARE(entriesOf(m_library + slot), QStringList{});
}

void TestAddTrack::trackFileInOtherCaseIsReadAsDescription()
{
    openWindow();
    add(download("celtic.zip",
                 {ZipEntry::file("TR.FRD", "binary Hills data"), ZipEntry::file("Tr.ini", "UK")}),
        {true});
    QCOMPARE(askedSlots(), QStringList{"Hills"});
    QVERIFY(QFileInfo::exists(m_library + "Hills/celtic.zip"));
}

void TestAddTrack::allNoLeavesTheArchiveWhereItWas()
{
    openWindow();
    const QString archive = describedDownload("maybe.zip", "France\nGermany");
    add(archive, {false, false});
    QCOMPARE(askedSlots(), (QStringList{"France", "Germany"}));
    QCOMPARE(m_form->RBar->text(), Failed);
    QVERIFY(QFileInfo::exists(archive));
}

void TestAddTrack::missingSlotFolderGivesErrorAndIdentificationGoesOn()
{
    QVERIFY(QDir(m_library + "Redrock").removeRecursively());
    openWindow();
    const QString archive = describedDownload("rock.zip", "Redrock and Rockypas\nEmpire");
    add(archive, {true, true});
    // The failed move leaves the line: Rockypas on the same line is not asked about.
    QCOMPARE(askedSlots(), (QStringList{"Redrock", "Empire"}));
    QVERIFY(QFileInfo::exists(m_library + "Empire/rock.zip"));
    QVERIFY(!QFileInfo::exists(m_library + "Redrock"));
    QCOMPARE(m_form->RBar->text(), Filed);
}

void TestAddTrack::archiveAlreadyInItsSlotFolderIsAccepted()
{
    QList<ZipEntry> entries{ZipEntry::file("info.txt", "Lostcany")};
    const QString archive = m_library + "Lostcany/canyon.zip";
    QVERIFY(writeZip(archive, entries));
    const QByteArray bytes = readAll(archive);
    openWindow();
    add(archive, {true});
    QCOMPARE(m_form->RBar->text(), Filed);
    QCOMPARE(readAll(archive), bytes);
    QCOMPARE(entriesOf(m_library + "Lostcany"), QStringList{"canyon.zip"});
}

void TestAddTrack::otherArchiveOfTheSameNameIsNotReplaced()
{
    QVERIFY(writeZip(m_library + "Country/woods.zip", {ZipEntry::file("old.txt", "the old one")}));
    const QByteArray old = readAll(m_library + "Country/woods.zip");
    openWindow();
    const QString archive = describedDownload("woods.zip", "Country");
    const QByteArray fresh = readAll(archive);
    add(archive, {true});
    QCOMPARE(
        m_form->RBar->text(),
        QStringLiteral("В папке трассы Country уже есть файл \"woods.zip\": новый архив оставлен на месте."));
    QCOMPARE(readAll(m_library + "Country/woods.zip"), old);
    QCOMPARE(readAll(archive), fresh);
}

void TestAddTrack::brokenArchiveFails()
{
    openWindow();
    const QString archive = m_home->writeFile("my downloads/broken.zip", "this is no zip archive, UK");
    add(archive, {true});
    QVERIFY(m_dialogs->questions.isEmpty());
    QCOMPARE(m_form->RBar->text(), Failed);
    QVERIFY(QFileInfo::exists(archive));
}

void TestAddTrack::foreignFilesInExistingTemp1AreKeptAndNotRead()
{
    m_home->writeFile("Temp1/notes.txt", "Aquatica, my own notes");
    m_home->writeFile("Temp1/readme.txt", "someone else's readme");
    openWindow();
    const QString archive = describedDownload("atl.zip", "Atlantic");
    m_dialogs->fileAnswers = QStringList{archive};
    m_dialogs->yesNoAnswers = {true};
    m_form->BitBtn4Click();
    QCOMPARE(askedSlots(), QStringList{"Atlantic"});
    QVERIFY(QFileInfo::exists(m_library + "Atlantic/atl.zip"));
    QCOMPARE(entriesOf(m_temp1), (QStringList{"notes.txt", "readme.txt"}));
    QCOMPARE(readAll(m_temp1 + "/readme.txt"), QByteArray("someone else's readme"));
    QCOMPARE(readAll(m_temp1 + "/notes.txt"), QByteArray("Aquatica, my own notes"));
}

void TestAddTrack::hugeAndBinaryDescriptionsAreReadThrough()
{
    openWindow();
    // No line ends and no Latin letters: one endless line that names no slot.
    QByteArray oneLine(16 * 1024 * 1024, '\0');
    for (qsizetype i = 0; i < oneLine.size(); ++i)
        oneLine[i] = static_cast<char>(0x80 + i % 0x80);
    // Control characters and digits only, with line ends among them.
    QByteArray binary(4 * 1024 * 1024, '\0');
    for (qsizetype i = 0; i < binary.size(); ++i)
        binary[i] = static_cast<char>(i % 0x40);
    const QString archive =
        download("big.zip", {ZipEntry::file("data.bin", binary), ZipEntry::file("huge.txt", oneLine),
                             ZipEntry::file("readme.txt", "Gt2")});
    add(archive, {false});
    QCOMPARE(askedSlots(), QStringList{"Gt2"});
    QCOMPARE(m_form->RBar->text(), Failed);
    QVERIFY(QFileInfo::exists(archive));
}

void TestAddTrack::archiveNameWithQuoteIsRefused()
{
    openWindow();
    const QString archive = describedDownload("say \"hi\".zip", "UK");
    const qsizetype messagesBefore = m_dialogs->messages.size();
    add(archive, {true});
    QCOMPARE(m_dialogs->messages.mid(messagesBefore),
             QStringList{"Трасса не добавлена. Недопустимый символ в пути: " + archive +
                         "\nПуть не должен содержать кавычек и управляющих символов: переименуйте файл или "
                         "папку и попробуйте ещё раз."});
    QVERIFY(m_dialogs->questions.isEmpty());
    QCOMPARE(m_form->RBar->text(), Failed);
    QVERIFY(QFileInfo::exists(archive));
}

void TestAddTrack::interpreterThatDoesNotStartIsReported()
{
    openWindow();
    platform::setInterpreterPath(m_home->path("no-such-interpreter"));
    const int messagesBefore = m_dialogs->messages.size();
    const QString archive = describedDownload("lost.zip", "UK");
    add(archive, {true});
    QCOMPARE(m_dialogs->messages.size(), messagesBefore + 1);
    QVERIFY(!m_dialogs->messages.last().isEmpty());
    QVERIFY(m_dialogs->questions.isEmpty());
    QCOMPARE(m_form->RBar->text(), Failed);
    QVERIFY(QFileInfo::exists(archive));
}

void TestAddTrack::interpreterThatEndsWithoutMarkerIsReported()
{
    openWindow();
    platform::setInterpreterPath(QStringLiteral("/bin/true"));
    const int messagesBefore = m_dialogs->messages.size();
    add(describedDownload("lost.zip", "UK"), {true});
    QCOMPARE(m_dialogs->messages.mid(messagesBefore),
             QStringList{"Интерпретатор команд завершился, не закончив распаковку"});
    QCOMPARE(m_form->RBar->text(), Failed);
}

void TestAddTrack::unwritableBatchIsAnErrorAndLeavesNothingBehind()
{
    openWindow();
    QVERIFY(QDir().mkdir(m_home->path("extrc.bat")));
    const QString archive = describedDownload("stuck.zip", "UK");
    m_dialogs->fileAnswers = QStringList{archive};
    m_dialogs->yesNoAnswers = {true};
    m_form->BitBtn4Click();
    QCOMPARE(m_dialogs->errors.size(), m_errorsBefore + 1);
    QVERIFY(m_dialogs->questions.isEmpty());
    QVERIFY(!QFileInfo::exists(m_temp1));
    QVERIFY(QFileInfo::exists(archive));
}

QTEST_MAIN(TestAddTrack)
#include "test_addtrack.moc"
