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
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

namespace {

const QString kGameMarker = QStringLiteral("launched.txt");

QByteArray standardBytes(const QString& slot, const QString& file)
{
    return QStringLiteral("standard %1 %2").arg(slot, file).toUtf8();
}

QByteArray addOnBytes(const QString& archive, const QString& file)
{
    return QStringLiteral("add-on %1 %2").arg(archive, file).toUtf8();
}

// A game folder with the 21 standard files of all 19 slots and an "nfshs.exe" that leaves a marker
// in the folder it was started in.
void makeGame(const QString& game)
{
    for (const QString& slot : trackslots::SlotNames()) {
        for (const QString& name : trackslots::TrackFileSet())
            QVERIFY(writeBytes(game + "Data/Tracks/" + slot + "/" + name, standardBytes(slot, name)));
    }
    const QString exe = game + "nfshs.exe";
    QVERIFY(writeBytes(exe, "#!/bin/sh\npwd > " + kGameMarker.toUtf8() + "\n"));
    QFile::setPermissions(exe, QFile::permissions(exe) | QFile::ExeOwner);
}

// An add-on archive holding `names` (inside `folder` when given) with recognisable contents.
void makeArchive(const QString& path, const QStringList& names, const QString& folder = QString())
{
    QList<ZipEntry> entries;
    if (!folder.isEmpty())
        entries.append(ZipEntry::folder(folder));
    for (const QString& name : names)
        entries.append(ZipEntry::file(folder + name, addOnBytes(QFileInfo(path).fileName(), name)));
    QDir().mkpath(QFileInfo(path).path());
    QString error;
    QVERIFY2(writeZip(path, entries, &error), qPrintable(error));
}

QStringList firstTrackFiles(int count)
{
    return trackslots::TrackFileSet().mid(0, count);
}

QString thirdLine(const QByteArray& options)
{
    const QList<QByteArray> lines = options.split('\n');
    return lines.size() > 2 ? QString::fromUtf8(lines.at(2)).remove('\r') : QString();
}

} // namespace

class TestStartGame : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void pathsMustBeChosenFirst_data();
    void pathsMustBeChosenFirst();
    void newTracksReplaceOnlyTheFilesTheArchiveHolds();
    void addOnTakesTheStandardNameWhateverItsCase();
    void onlyTheSelectedArchiveOfATickedSlotIsInstalled();
    void noSlotTickedStillRecordsInstalledState();
    void tickedSlotWithoutChoiceButtonIsSkipped();
    void archiveGoneSinceScanLeavesSlotUntouched();
    void missingGameSlotFolderIsNotCreated();
    void libraryPathWithBlanksWorks();
    void archiveNamedInWindowsCodePageInstalls();
    void secondRunRestoresBeforeInstalling();
    void standardModeRestoresAndRecordsStandardState();
    void gameOnAnotherFileSystem();
    void archiveNameWithQuoteIsRefusedAndReported();
    void halfInstalledRunIsRestoredOnNextStart_data();
    void halfInstalledRunIsRestoredOnNextStart();
    void ioErrorLeavesWindowUsableAndStateSafe();
    void gameThatDoesNotStartIsReported();
    void retryAfterIoErrorStillRestores();
    void failedRestoreKeepsInstalledStateAndIsTold();
    void extractionFailuresAreToldBeforeTheGameStarts();
    void staleTrackFileInTempIsNotInstalled();
    void batchThatCannotRunIsToldOnceForEverySlot_data();
    void batchThatCannotRunIsToldOnceForEverySlot();
    void gameFolderSpelledInOtherLetterCase();
    void installedArchiveIsShownInHints_data();
    void installedArchiveIsShownInHints();

private:
    // Lays out library and game, writes "options.dat" and opens the window on them.
    void openWindow(const QString& state = QStringLiteral("1"));
    void start();
    void verifySlotStandard(const QString& slot) const;
    void verifySlotInstalled(const QString& slot, const QString& archive, const QStringList& replaced) const;
    void selectArchive(const QString& slot, const QString& archive) const;
    void untickAllBut(const QStringList& keep) const;

    std::unique_ptr<HomeFolder> m_home;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<TForm1> m_form;
    QString m_library;
    QString m_game;
    int m_messagesBefore = 0;
};

void TestStartGame::init()
{
    m_home = std::make_unique<HomeFolder>(QStringLiteral(ROVEX_TOOL_ARCHIVER));
    QVERIFY(m_home->isValid());
    platform::setInterpreterPath(QStringLiteral(ROVEX_TOOL_ROVEX_CMD));
    m_dialogs = std::make_unique<ScriptedDialogs>();
    m_library = m_home->path("library/");
    m_game = m_home->path("game/");
}

void TestStartGame::cleanup()
{
    m_form.reset();
    m_dialogs.reset();
    m_home.reset();
}

void TestStartGame::openWindow(const QString& state)
{
    for (const QString& slot : trackslots::SlotNames())
        QDir().mkpath(m_library + slot);
    m_home->writeOptions({m_library, m_game, state});
    // A new run starts in the home folder; the previous one left the game folder current.
    QVERIFY(QDir::setCurrent(m_home->path()));
    m_form = std::make_unique<TForm1>();
    QVERIFY(m_form->FormCreate());
    m_form->show();
    m_messagesBefore = m_dialogs->messages.size();
}

void TestStartGame::start()
{
    m_form->BitBtn2Click();
}

void TestStartGame::verifySlotStandard(const QString& slot) const
{
    const QString folder = m_game + "Data/Tracks/" + slot + "/";
    QCOMPARE(QDir(folder).entryList(QDir::Files).size(), trackslots::TrackFileSet().size());
    for (const QString& name : trackslots::TrackFileSet())
        QCOMPARE(readAll(folder + name), standardBytes(slot, name));
}

void TestStartGame::verifySlotInstalled(const QString& slot, const QString& archive,
                                        const QStringList& replaced) const
{
    const QString folder = m_game + "Data/Tracks/" + slot + "/";
    for (const QString& name : trackslots::TrackFileSet()) {
        if (replaced.contains(name)) {
            QCOMPARE(readAll(folder + name), addOnBytes(archive, name));
            QCOMPARE(readAll(folder + "0" + name), standardBytes(slot, name));
        } else {
            QCOMPARE(readAll(folder + name), standardBytes(slot, name));
            QVERIFY(!QFile::exists(folder + "0" + name));
        }
    }
    QCOMPARE(QDir(folder).entryList(QDir::Files).size(), trackslots::TrackFileSet().size() + replaced.size());
}

void TestStartGame::selectArchive(const QString& slot, const QString& archive) const
{
    const QList<QRadioButton*> buttons = m_form->slotStrip(slot)->findChildren<QRadioButton*>();
    for (QRadioButton* button : buttons) {
        if (button->statusTip() == archive) {
            button->setChecked(true);
            return;
        }
    }
    QFAIL(qPrintable("no choice button for " + archive));
}

void TestStartGame::untickAllBut(const QStringList& keep) const
{
    for (const QString& slot : trackslots::SlotNames())
        m_form->slotCheckBox(slot)->setChecked(keep.contains(slot));
}

void TestStartGame::pathsMustBeChosenFirst_data()
{
    QTest::addColumn<bool>("libraryChosen");
    QTest::addColumn<bool>("gameChosen");
    QTest::newRow("neither") << false << false;
    QTest::newRow("no library") << false << true;
    QTest::newRow("no game") << true << false;
}

void TestStartGame::pathsMustBeChosenFirst()
{
    QFETCH(bool, libraryChosen);
    QFETCH(bool, gameChosen);
    makeGame(m_game);
    openWindow();
    if (!libraryChosen)
        m_form->PaTr->setText(QStringLiteral("не выбран"));
    if (!gameChosen)
        m_form->PaGa->setText(QStringLiteral("не выбран"));
    start();
    QCOMPARE(m_dialogs->messages.mid(m_messagesBefore), QStringList{"Сначала укажите пути в настройках!"});
    QVERIFY(m_form->isEnabled());
    QVERIFY(!m_form->GameLaunched);
    QVERIFY(!m_form->AddOnsMayBeInstalled);
    QVERIFY(!QFile::exists(m_game + kGameMarker));
}

void TestStartGame::newTracksReplaceOnlyTheFilesTheArchiveHolds()
{
    makeGame(m_game);
    const QStringList coastal = firstTrackFiles(7);
    makeArchive(m_library + "Coastal/reverse.zip", coastal, "reverse/");
    const QStringList uk = trackslots::TrackFileSet();
    makeArchive(m_library + "UK/london.zip", uk);
    openWindow();
    m_form->NTr->setChecked(true);
    start();

    QVERIFY(m_form->GameLaunched);
    QCOMPARE(m_dialogs->messages.size(), m_messagesBefore);
    QCOMPARE(m_form->SBar->text(), QStringLiteral(" Готово. Поехали!"));
    verifySlotInstalled("Coastal", "reverse.zip", coastal);
    verifySlotInstalled("UK", "london.zip", uk);
    for (const QString& slot : trackslots::SlotNames()) {
        if (slot != "Coastal" && slot != "UK")
            verifySlotStandard(slot);
    }
    QTRY_VERIFY(QFile::exists(m_game + kGameMarker));
    QCOMPARE(thirdLine(m_home->options()), QStringLiteral("0"));
    QVERIFY(!QFile::exists(m_home->path("Temp")));
}

void TestStartGame::addOnTakesTheStandardNameWhateverItsCase()
{
    makeGame(m_game);
    QList<ZipEntry> entries{ZipEntry::file("TR.FRD", "upper add-on"),
                            ZipEntry::file("readme.txt", "not a track")};
    QDir().mkpath(m_library + "Park");
    QVERIFY(writeZip(m_library + "Park/upper.zip", entries));
    openWindow();
    m_form->NTr->setChecked(true);
    start();

    const QString folder = m_game + "Data/Tracks/Park/";
    QCOMPARE(readAll(folder + "Tr.frd"), QByteArray("upper add-on"));
    QCOMPARE(readAll(folder + "0Tr.frd"), standardBytes("Park", "Tr.frd"));
    QVERIFY(!QFile::exists(folder + "TR.FRD"));
    QVERIFY(!QFile::exists(folder + "readme.txt"));
}

void TestStartGame::onlyTheSelectedArchiveOfATickedSlotIsInstalled()
{
    makeGame(m_game);
    makeArchive(m_library + "Gt1/a.zip", firstTrackFiles(5));
    makeArchive(m_library + "Gt1/b.zip", firstTrackFiles(9));
    makeArchive(m_library + "Gt1/c.zip", firstTrackFiles(21));
    makeArchive(m_library + "Gt2/other.zip", firstTrackFiles(3));
    openWindow();
    m_form->NTr->setChecked(true);
    selectArchive("Gt1", "b.zip");
    untickAllBut({"Gt1"});
    start();

    verifySlotInstalled("Gt1", "b.zip", firstTrackFiles(9));
    verifySlotStandard("Gt2");
}

void TestStartGame::noSlotTickedStillRecordsInstalledState()
{
    makeGame(m_game);
    makeArchive(m_library + "Empire/e.zip", firstTrackFiles(4));
    openWindow();
    m_form->NTr->setChecked(true);
    untickAllBut({});
    start();

    verifySlotStandard("Empire");
    QCOMPARE(readAll(m_home->path("files.lst")), trackslots::TrackFileSet().join("\r\n").toUtf8() + "\r\n");
    QCOMPARE(thirdLine(m_home->options()), QStringLiteral("0"));
    QTRY_VERIFY(QFile::exists(m_game + kGameMarker));
}

void TestStartGame::tickedSlotWithoutChoiceButtonIsSkipped()
{
    makeGame(m_game);
    openWindow();
    m_form->NTr->setChecked(true);
    m_form->slotCheckBox("Hills")->setEnabled(true);
    m_form->slotCheckBox("Hills")->setChecked(true);
    start();

    QCOMPARE(m_dialogs->messages.size(), m_messagesBefore);
    verifySlotStandard("Hills");
    QVERIFY(m_form->GameLaunched);
}

void TestStartGame::archiveGoneSinceScanLeavesSlotUntouched()
{
    makeGame(m_game);
    makeArchive(m_library + "France/gone.zip", firstTrackFiles(6));
    openWindow();
    m_form->NTr->setChecked(true);
    QVERIFY(QFile::remove(m_library + "France/gone.zip"));
    start();

    verifySlotStandard("France");
    QVERIFY(m_form->GameLaunched);
}

void TestStartGame::missingGameSlotFolderIsNotCreated()
{
    makeGame(m_game);
    QVERIFY(QDir(m_game + "Data/Tracks/Summit").removeRecursively());
    makeArchive(m_library + "Summit/s.zip", firstTrackFiles(6));
    openWindow();
    m_form->NTr->setChecked(true);
    start();

    QVERIFY(!QFile::exists(m_game + "Data/Tracks/Summit"));
    QVERIFY(m_form->GameLaunched);
    QVERIFY(!QFile::exists(m_home->path("Temp")));
}

void TestStartGame::libraryPathWithBlanksWorks()
{
    m_library = m_home->path("my tracks/add-on library/");
    m_game = m_home->path("the game/");
    makeGame(m_game);
    makeArchive(m_library + "Country/wood land.zip", firstTrackFiles(10));
    openWindow();
    m_form->NTr->setChecked(true);
    start();

    verifySlotInstalled("Country", "wood land.zip", firstTrackFiles(10));
    QTRY_VERIFY(QFile::exists(m_game + kGameMarker));
}

void TestStartGame::archiveNamedInWindowsCodePageInstalls()
{
    makeGame(m_game);
    makeArchive(m_library + "Country/win.zip", firstTrackFiles(3));
    QVERIFY(writeBytes(m_library + "Hills/broken.zip", "this is no zip archive"));
    const QByteArray library = QFile::encodeName(m_library);
    QCOMPARE(std::rename((library + "Country/win.zip").constData(),
                         (library + "Country/\xD2\xF0\xE0\xF1\xF1\xE0.zip").constData()),
             0);
    QCOMPARE(std::rename((library + "Hills/broken.zip").constData(),
                         (library + "Hills/\xD1\xEB\xEE\xEC.zip").constData()),
             0);
    openWindow();
    m_form->NTr->setChecked(true);
    selectArchive("Country", "Трасса.zip");
    start();

    verifySlotInstalled("Country", "win.zip", firstTrackFiles(3));
    QVERIFY(m_dialogs->messages.mid(m_messagesBefore).join(QString()).contains("архив Слом.zip:"));
}

void TestStartGame::secondRunRestoresBeforeInstalling()
{
    makeGame(m_game);
    makeArchive(m_library + "Snowy/first.zip", firstTrackFiles(12));
    openWindow();
    m_form->NTr->setChecked(true);
    start();
    verifySlotInstalled("Snowy", "first.zip", firstTrackFiles(12));
    m_form.reset();

    QVERIFY(QFile::remove(m_library + "Snowy/first.zip"));
    makeArchive(m_library + "Snowy/second.zip", firstTrackFiles(4));
    openWindow(thirdLine(m_home->options()));
    QCOMPARE(m_form->SavedState, QStringLiteral("0"));
    start();

    verifySlotInstalled("Snowy", "second.zip", firstTrackFiles(4));
    QVERIFY(QDir(m_game + "Data/Tracks/Snowy").entryList({"00*"}).isEmpty());
}

void TestStartGame::standardModeRestoresAndRecordsStandardState()
{
    makeGame(m_game);
    makeArchive(m_library + "Redrock/r.zip", firstTrackFiles(8));
    openWindow();
    m_form->NTr->setChecked(true);
    start();
    m_form.reset();
    // An add-on file without a standard counterpart stays after the restore.
    QVERIFY(writeBytes(m_game + "Data/Tracks/Redrock/extra.bin", "add-on only"));

    openWindow(QStringLiteral("0"));
    m_form->StTr->setChecked(true);
    start();

    for (const QString& name : trackslots::TrackFileSet())
        QCOMPARE(readAll(m_game + "Data/Tracks/Redrock/" + name), standardBytes("Redrock", name));
    QCOMPARE(readAll(m_game + "Data/Tracks/Redrock/extra.bin"), QByteArray("add-on only"));
    QVERIFY(QDir(m_game + "Data/Tracks/Redrock").entryList({"0*"}).isEmpty());
    QCOMPARE(thirdLine(m_home->options()), QStringLiteral("1"));
}

void TestStartGame::gameOnAnotherFileSystem()
{
    const auto other = folderOnAnotherFileSystem(m_home->path());
    if (!other)
        QSKIP("no folder on another file system than the temporary one");
    m_game = other->path() + "/game/";
    makeGame(m_game);
    makeArchive(m_library + "Germany/g.zip", firstTrackFiles(11));
    openWindow();
    m_form->NTr->setChecked(true);
    start();

    verifySlotInstalled("Germany", "g.zip", firstTrackFiles(11));
}

void TestStartGame::archiveNameWithQuoteIsRefusedAndReported()
{
    makeGame(m_game);
    makeArchive(m_library + "Lostcany/bad\" & echo.zip", firstTrackFiles(5));
    openWindow();
    m_form->NTr->setChecked(true);
    start();

    const QStringList shown = m_dialogs->messages.mid(m_messagesBefore);
    QCOMPARE(shown.size(), 1);
    QVERIFY(shown.first().contains("bad\" & echo.zip"));
    verifySlotStandard("Lostcany");
    QVERIFY(m_form->GameLaunched);
}

void TestStartGame::halfInstalledRunIsRestoredOnNextStart_data()
{
    QTest::addColumn<QString>("recorded"); // the state line the next start reads
    QTest::addColumn<bool>("newTracks");
    QTest::addColumn<QString>("written");
    QTest::newRow("0 recorded") << "0" << false << "1";
    QTest::newRow("stale 1 recorded") << "1" << false << "1";
    QTest::newRow("state line lost") << "" << false << "1";
    QTest::newRow("stale 1, new tracks") << "1" << true << "0";
}

void TestStartGame::halfInstalledRunIsRestoredOnNextStart()
{
    QFETCH(QString, recorded);
    QFETCH(bool, newTracks);
    QFETCH(QString, written);
    makeGame(m_game);
    // A run cut short: two files exchanged, a third only backed up.
    const QString folder = m_game + "Data/Tracks/Atlantic/";
    for (const QString& name :
         {QStringLiteral("Tr.frd"), QStringLiteral("sky.qfs"), QStringLiteral("Tr.ini")})
        QVERIFY(QFile::rename(folder + name, folder + "0" + name));
    QVERIFY(writeBytes(folder + "Tr.frd", "half add-on"));
    QVERIFY(writeBytes(folder + "SKY.QFS", "half add-on"));
    openWindow(recorded);
    (newTracks ? m_form->NTr : m_form->StTr)->setChecked(true);
    start();

    verifySlotStandard("Atlantic");
    QCOMPARE(thirdLine(m_home->options()), written);
}

void TestStartGame::ioErrorLeavesWindowUsableAndStateSafe()
{
    makeGame(m_game);
    makeArchive(m_library + "Aquatica/a.zip", firstTrackFiles(5));
    QVERIFY(QDir().mkpath(m_home->path("files.lst")));
    openWindow();
    m_form->NTr->setChecked(true);
    const int errorsBefore = m_dialogs->errors.size();
    start();

    QCOMPARE(m_dialogs->errors.size(), errorsBefore + 1);
    QVERIFY(m_form->isEnabled());
    QVERIFY(!m_form->GameLaunched);
    QVERIFY(m_form->AddOnsMayBeInstalled);
    QCOMPARE(thirdLine(m_home->options()), QStringLiteral("0"));
    m_form->close();
    QCOMPARE(thirdLine(m_home->options()), QStringLiteral("0"));
    verifySlotStandard("Aquatica");
}

void TestStartGame::gameThatDoesNotStartIsReported()
{
    makeGame(m_game);
    QVERIFY(QFile::remove(m_game + "nfshs.exe"));
    makeArchive(m_library + "Hometown/h.zip", firstTrackFiles(3));
    openWindow();
    m_form->NTr->setChecked(true);
    start();

    QCOMPARE(m_dialogs->messages.size(), m_messagesBefore + 1);
    QVERIFY(m_dialogs->messages.last().startsWith("Не удалось запустить игру: "));
    // Not launched: no "Поехали", the window usable again, and "0" kept while the add-on is in.
    QVERIFY(!m_form->GameLaunched);
    QCOMPARE(m_form->SBar->text(), QStringLiteral(" Трассы подготовлены, но игра не запущена."));
    QVERIFY(m_form->isEnabled());
    verifySlotInstalled("Hometown", "h.zip", firstTrackFiles(3));
    QVERIFY(m_form->close());
    QCOMPARE(thirdLine(m_home->options()), QStringLiteral("0"));
}

void TestStartGame::retryAfterIoErrorStillRestores()
{
    makeGame(m_game);
    makeArchive(m_library + "Aquatica/a.zip", firstTrackFiles(5));
    makeArchive(m_library + "Atlantic/b.zip", firstTrackFiles(5));
    // Runs each batch from a copy and leaves a folder where the next batch must go: the start ends
    // with an I/O error once Aquatica is installed.
    const QString interpreter =
        m_home->writeFile("blocking-cmd", "#!/bin/sh\ncp \"$3\" \"$3.run\"\n"
                                          "rm \"$3\"\nmkdir \"$3\"\n"
                                          "exec \"" ROVEX_TOOL_ROVEX_CMD "\" \"$1\" \"$2\" \"$3.run\"\n");
    QFile::setPermissions(interpreter, QFile::permissions(interpreter) | QFile::ExeOwner);
    platform::setInterpreterPath(interpreter);
    openWindow();
    m_form->NTr->setChecked(true);
    const int errorsBefore = m_dialogs->errors.size();
    start();
    QCOMPARE(m_dialogs->errors.size(), errorsBefore + 1);
    verifySlotInstalled("Aquatica", "a.zip", firstTrackFiles(5));
    QVERIFY(m_form->isEnabled());

    m_form->StTr->setChecked(true);
    start();
    QVERIFY(m_form->GameLaunched);
    verifySlotStandard("Aquatica");
    verifySlotStandard("Atlantic");
    QCOMPARE(thirdLine(m_home->options()), QStringLiteral("1"));
}

void TestStartGame::failedRestoreKeepsInstalledStateAndIsTold()
{
    makeGame(m_game);
    const QString folder = m_game + "Data/Tracks/Redrock/";
    // An add-on of the last launch that cannot be deleted: a folder has taken the standard name.
    QVERIFY(QFile::rename(folder + "Tr.frd", folder + "0Tr.frd"));
    QVERIFY(QDir().mkpath(folder + "Tr.frd/inside"));
    openWindow(QStringLiteral("0"));
    m_form->StTr->setChecked(true);
    start();
    QCOMPARE(m_dialogs->messages.mid(m_messagesBefore),
             QStringList{"Подготовка игры закончилась с ошибками.\n\n"
                         "Не удалось вернуть на место стандартные файлы:\n"
                         "• Гряда красной скалы (Redrock Ridge): Tr.frd (файл с таким именем уже есть).\n"
                         "Они остались в папке трассы под именами с «0» в начале; программа вернёт их при "
                         "следующем запуске.\n\n"
                         "Игра будет запущена."});
    QVERIFY(m_form->GameLaunched);
    QCOMPARE(thirdLine(m_home->options()), QStringLiteral("0"));
    QCOMPARE(readAll(folder + "0Tr.frd"), standardBytes("Redrock", "Tr.frd"));

    // Once the name is free again, the next standard start puts the file back and records "1".
    m_form.reset();
    QVERIFY(QDir(folder + "Tr.frd").removeRecursively());
    openWindow(QStringLiteral("0"));
    m_form->StTr->setChecked(true);
    start();
    verifySlotStandard("Redrock");
    QCOMPARE(thirdLine(m_home->options()), QStringLiteral("1"));
}

void TestStartGame::extractionFailuresAreToldBeforeTheGameStarts()
{
    makeGame(m_game);
    makeArchive(m_library + "Empire/good.zip", firstTrackFiles(6));
    QVERIFY(writeBytes(m_library + "Country/broken.zip", "this is no zip archive"));
    QDir().mkpath(m_library + "Hills");
    QVERIFY(writeZip(m_library + "Hills/readme-only.zip", {ZipEntry::file("readme.txt", "about")}));
    openWindow();
    m_form->NTr->setChecked(true);
    start();
    QCOMPARE(m_dialogs->messages.mid(m_messagesBefore),
             QStringList{"Подготовка игры закончилась с ошибками.\n\n"
                         "Не установлены трассы:\n"
                         "• Лес (Country Woods), архив broken.zip: файл не является архивом или не "
                         "открывается.\n"
                         "• Кельтские руины (Celtic Ruins), архив readme-only.zip: в архиве нет ни одного "
                         "файла трассы.\n\n"
                         "Игра будет запущена."});
    QCOMPARE(m_form->SBar->text(), QStringLiteral(" Готово, но не всё удалось. Поехали!"));
    verifySlotInstalled("Empire", "good.zip", firstTrackFiles(6));
    verifySlotStandard("Country");
    QVERIFY(m_form->GameLaunched);
}

void TestStartGame::staleTrackFileInTempIsNotInstalled()
{
    makeGame(m_game);
    makeArchive(m_library + "Gt2/g.zip", firstTrackFiles(3));
    // Left in "Temp" by an earlier run, in another archive's letter case.
    QVERIFY(writeBytes(m_home->path("Temp/TR.FRD"), "stale add-on"));
    openWindow();
    m_form->NTr->setChecked(true);
    start();
    verifySlotInstalled("Gt2", "g.zip", firstTrackFiles(3));
}

void TestStartGame::batchThatCannotRunIsToldOnceForEverySlot_data()
{
    QTest::addColumn<QString>("interpreter"); // relative to the home folder unless absolute
    QTest::addColumn<QString>("reason");      // %1: the home folder
    QTest::newRow("interpreter missing") << "no-such-cmd"
                                         << "не найден интерпретатор команд: %1no-such-cmd";
    QTest::newRow("interpreter ending at once") << "/bin/true"
                                                << "интерпретатор команд завершился, не закончив распаковку";
}

void TestStartGame::batchThatCannotRunIsToldOnceForEverySlot()
{
    QFETCH(QString, interpreter);
    QFETCH(QString, reason);
    platform::setInterpreterPath(interpreter.startsWith('/') ? interpreter : m_home->path(interpreter));
    makeGame(m_game);
    makeArchive(m_library + "Aquatica/a.zip", firstTrackFiles(5));
    makeArchive(m_library + "Empire/e.zip", firstTrackFiles(5));
    openWindow();
    m_form->NTr->setChecked(true);
    start();
    const QString told = reason.contains("%1") ? reason.arg(m_home->path()) : reason;
    QCOMPARE(m_dialogs->messages.mid(m_messagesBefore),
             QStringList{"Подготовка игры закончилась с ошибками.\n\n"
                         "Не установлены трассы:\n"
                         "• Акватика (Aquatica), архив a.zip: " +
                         told +
                         ".\n"
                         "• Импайр-Сити (Empire City), архив e.zip: " +
                         told +
                         ".\n\n"
                         "Игра будет запущена."});
    verifySlotStandard("Aquatica");
    verifySlotStandard("Empire");
    QVERIFY(m_form->GameLaunched);
}

void TestStartGame::gameFolderSpelledInOtherLetterCase()
{
    makeGame(m_game);
    QVERIFY(QDir(m_game).rename("Data", "DATA"));
    QVERIFY(QDir(m_game + "DATA").rename("Tracks", "TRACKS"));
    QVERIFY(QDir(m_game + "DATA/TRACKS").rename("Aquatica", "AQUATICA"));
    makeArchive(m_library + "Aquatica/a.zip", firstTrackFiles(4));
    openWindow();
    m_form->NTr->setChecked(true);
    start();
    const QString folder = m_game + "DATA/TRACKS/AQUATICA/";
    QCOMPARE(readAll(folder + "Tr.cam"), addOnBytes("a.zip", "Tr.cam"));
    QCOMPARE(readAll(folder + "0Tr.cam"), standardBytes("Aquatica", "Tr.cam"));

    m_form.reset();
    openWindow(QStringLiteral("0"));
    m_form->StTr->setChecked(true);
    start();
    QCOMPARE(readAll(folder + "Tr.cam"), standardBytes("Aquatica", "Tr.cam"));
    QVERIFY(!QFile::exists(folder + "0Tr.cam"));
}

void TestStartGame::installedArchiveIsShownInHints_data()
{
    QTest::addColumn<QString>("change"); // made after the install
    QTest::addColumn<bool>("shown");
    QTest::newRow("game as installed") << "" << true;
    QTest::newRow("a backup gone") << "backup" << false;
    QTest::newRow("another game folder") << "game" << false;
}

void TestStartGame::installedArchiveIsShownInHints()
{
    QFETCH(QString, change);
    QFETCH(bool, shown);
    makeGame(m_game);
    makeArchive(m_library + "Coastal/a.zip", firstTrackFiles(2));
    makeArchive(m_library + "Coastal/reverse.zip", firstTrackFiles(4));
    openWindow();
    m_form->NTr->setChecked(true);
    selectArchive("Coastal", "reverse.zip");
    untickAllBut({"Coastal"});
    start();
    QCOMPARE(m_home->readFile("installed.dat"),
             (m_game +
              "\r\nCoastal\treverse.zip\t0Tr.cam\t0Tr00.can\t0spdRA.bin\t0spdfa.bin\tTr.cam\tTr00.can\t"
              "spdRA.bin\tspdfa.bin\r\n")
                 .toUtf8());
    QCOMPARE(m_home->options(), (m_library + "\r\n" + m_game + "\r\n0\r\n").toUtf8());
    m_form.reset();
    if (change == "backup")
        QVERIFY(QFile::remove(m_game + "Data/Tracks/Coastal/0Tr.cam"));
    if (change == "game")
        m_game = m_home->path("other game/");

    openWindow(QStringLiteral("0"));
    QCOMPARE(m_form->slotCheckBox("Coastal")->statusTip(),
             shown ? QStringLiteral("Бухта Дельфинов — установлена: reverse.zip")
                   : QStringLiteral("Бухта Дельфинов"));
    QCOMPARE(m_form->slotCheckBox("UK")->statusTip(), QStringLiteral("Дорога Дурхэм"));
    QStringList buttons;
    for (const QRadioButton* button : m_form->slotStrip("Coastal")->findChildren<QRadioButton*>())
        buttons.append(button->statusTip());
    buttons.sort();
    QCOMPARE(buttons, (QStringList{"a.zip", shown ? "reverse.zip — сейчас в игре" : "reverse.zip"}));

    // A standard start leaves no record behind.
    m_form->StTr->setChecked(true);
    start();
    QVERIFY(!QFile::exists(m_home->path("installed.dat")));
}

QTEST_MAIN(TestStartGame)
#include "test_start_game.moc"
