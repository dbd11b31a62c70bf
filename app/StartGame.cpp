#include "app/BatchRunner.h"
#include "app/InstallTracks.h"
#include "app/InstalledRecord.h"
#include "app/StandardCheck.h"
#include "app/StartLocks.h"
#include "app/StartReport.h"
#include "app/StatusBar.h"
#include "app/main_window.h"
#include "core/IoError.h"
#include "core/Settings.h"
#include "core/SlotTable.h"
#include "core/SystemErrorText.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/GameRunner.h"
#include "platform/Process.h"
#include "platform/RunningGame.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <cerrno>

namespace fs = platform::fs;

namespace {

const QString kNotChosen = QStringLiteral("не выбран");
const QString kChoosePathsFirst = QStringLiteral("Сначала укажите пути в настройках!");
const QString kPreparing =
    QStringLiteral(" Подождите... Происходит подготовка игры к запуску... Окно в данный момент НЕ доступно!");
const QString kReady = QStringLiteral(" Готово. Поехали!");
const QString kReadyWithErrors = QStringLiteral(" Готово, но не всё удалось. Поехали!");
const QString kNotStarted = QStringLiteral(" Трассы подготовлены, но игра не запущена.");

void makeCurrent(const QString& folder)
{
    if (!QDir::setCurrent(folder))
        throw IoError(QStringLiteral("Не удалось перейти в папку %1").arg(folder));
}

QString exchangeFailure(const install::SlotInstall& result)
{
    const QString error = systemErrorInWords(result.error);
    if (result.failedFile.isEmpty())
        return QStringLiteral("Нет папки трассы в папке игры (%1)").arg(error);
    if (result.atBackup)
        return QStringLiteral("Не удалось сохранить стандартный файл %1 под именем 0%1 (%2)")
            .arg(result.failedFile, error);
    return QStringLiteral("Не удалось перенести файл %1 в папку игры (%2)").arg(result.failedFile, error);
}

// Extracts the chosen archive of every ticked slot, in window order, and moves its track files in.
// A slot is installed whole or not at all: it goes into `record` or, left standard, into `report`.
void installChosenTracks(TForm1& form, const QStringList& unrestored, StartReport& report,
                         installed::Record& record, StandardCheck& standard)
{
    const QString trackDir = form.trackDir();
    const QString work = install::workFolder(trackDir);
    BatchRunner runner(form.HomeDir, form.ArchiverPath);
    runner.writeTrackList();
    QString interpreterFailure;
    for (const trackslots::SlotRow& row : trackslots::windowOrder()) {
        const QString slot = QString::fromUtf8(row.name);
        const QCheckBox* box = form.slotCheckBox(slot);
        const QRadioButton* chosen = form.chosenButton(slot);
        if (!box || !box->isChecked() || !chosen)
            continue;
        const QString name = TForm1::archiveOf(chosen);
        const QString slotFolder = install::gameSlotFolder(form.gameDir(), slot);
        // Without the interpreter no slot can be extracted: it is tried once.
        if (!interpreterFailure.isEmpty()) {
            report.notInstalled(slot, name, interpreterFailure);
            continue;
        }
        // Add-on files over a slot that still holds backups would mix two tracks.
        if (unrestored.contains(slot)) {
            report.notInstalled(slot, name,
                                QStringLiteral("Стандартные файлы этой трассы не удалось вернуть на место"));
            continue;
        }
        if (!fs::folderExists(slotFolder)) {
            report.notInstalled(
                slot, name,
                QStringLiteral("В папке игры нет папки трассы %1").arg(QDir::cleanPath(slotFolder)));
            continue;
        }
        if (!install::prepareWorkFolder(work)) {
            const QString error = systemErrorInWords(errno);
            report.notInstalled(
                slot, name,
                (fs::folderExists(work)
                     ? QStringLiteral("Не удалось очистить папку %1 от файлов прошлой распаковки (%2)")
                     : QStringLiteral("Не удалось создать папку %1 (%2)"))
                    .arg(QDir::cleanPath(work), error));
            continue;
        }
        const BatchRunner::Outcome outcome =
            runner.extractTrackFiles(install::libraryArchive(trackDir, slot, name), work);
        if (outcome != BatchRunner::Outcome::Done) {
            report.notInstalled(slot, name, runner.reason());
            if (outcome == BatchRunner::Outcome::NotStarted)
                interpreterFailure = runner.reason();
            continue;
        }
        standard.compareBeforeBackup(slot, slotFolder, work);
        const install::SlotInstall result = install::moveTrackFilesIn(work, slotFolder);
        if (result.succeeded() && result.installed.isEmpty()) {
            report.notInstalled(slot, name, QStringLiteral("В архиве нет ни одного файла трассы"));
        } else if (result.succeeded()) {
            QStringList entries = result.installed;
            for (const QString& file : result.backedUp)
                entries.append(QLatin1Char('0') + file);
            entries.sort();
            record.archives.append({slot, name, entries});
        } else {
            report.notInstalled(slot, name, exchangeFailure(result));
        }
        report.notRestored(slot, result.backupsLeft, result.error);
        if (result.flushError)
            report.notFlushed(slot, result.flushError);
    }
}

// The game folder's own state, not the state line: a run cut short, or a settings file lost or
// written by hand, may leave backups behind a recorded "1".
bool gameHoldsBackups(const QString& gameDir)
{
    for (const QString& slot : trackslots::SlotNames()) {
        if (install::holdsBackups(install::gameSlotFolder(gameDir, slot)))
            return true;
    }
    return false;
}

} // namespace

void TForm1::BitBtn2Click()
{
    if (PaGa->text() == kNotChosen || PaTr->text() == kNotChosen) {
        platform::dialogs().message(this, kChoosePathsFirst);
        return;
    }
    // Nothing keeps a running game's files from being swapped under it, and a second game would start.
    if (const QList<qint64> games = platform::runningProcesses(QStringLiteral("nfshs.exe"));
        !games.isEmpty()) {
        platform::dialogs().message(this, QStringLiteral("Игра уже запущена (процесс nfshs.exe, номер %1). "
                                                         "Закройте её и нажмите «Старт» снова: пока игра "
                                                         "работает, трассы менять нельзя.")
                                              .arg(games.first()));
        return;
    }
    // Another installation of the program may be preparing the same game folder or library now.
    auto locks = std::make_unique<StartLocks>(gameDir(), install::workFolder(trackDir()));
    if (const QString held = locks->take(); !held.isEmpty()) {
        platform::dialogs().message(this, held);
        return;
    }
    m_startLocks = std::move(locks);
    const QString helpHint = BitBtn1->statusTip();
    // The window comes back usable, so that the user can try again or close it.
    const auto giveWindowBack = [&] {
        RBar->setText(QString());
        BitBtn1->setStatusTip(helpHint);
        setEnabled(true);
        m_startLocks.reset();
    };
    StartReport report;
    bool reportShown = false;
    try {
        makeCurrent(HomeDir);
        RBar->setText(kPreparing);
        BitBtn1->setStatusTip(kPreparing);
        setEnabled(false);
        RBar->repaint();

        // The record of the archives in the game is true only until the game folders change.
        const QString recordFile = HomeDir + QStringLiteral("installed.dat");
        if (fs::entryExists(recordFile))
            fs::removeFile(recordFile);
        const bool restoreFirst = AddOnsMayBeInstalled || gameHoldsBackups(gameDir());
        StandardCheck standard(HomeDir, gameDir());
        if (NTr->isChecked()) {
            // Recorded before any game file is touched, so that a run cut short anywhere below still
            // leads the next start to give the standard tracks back.
            writeSettings(HomeDir + QStringLiteral("options.dat"),
                          {trackDir(), gameDir(), QStringLiteral("0")});
            AddOnsMayBeInstalled = true;
        }
        QStringList unrestored;
        if (restoreFirst) {
            standard.noteBackups();
            for (const install::SlotRestore& slot : StandartTracks()) {
                unrestored.append(slot.slot);
                report.notRestored(slot.slot, slot.notRestored, slot.error);
                if (slot.flushError)
                    report.notFlushed(slot.slot, slot.flushError);
            }
            standard.compareRestored();
            // Only a restore that left no backup behind lets the standard state be recorded.
            if (!NTr->isChecked())
                AddOnsMayBeInstalled = !unrestored.isEmpty() || gameHoldsBackups(gameDir());
        }
        if (NTr->isChecked()) {
            installed::Record record{gameDir(), {}};
            installChosenTracks(*this, unrestored, report, record, standard);
            installed::write(recordFile, record);
        }
        report.notStandard(standard.differences());

        if (!report.isEmpty())
            platform::dialogs().message(this, report.text(true));
        reportShown = true;
        makeCurrent(gameDir());
        const platform::StartResult game =
            platform::startGameThroughRunner(gameDir() + QStringLiteral("nfshs.exe"), gameDir());
        if (!game.started) {
            // Not launched: the state recorded at close stays as the folders are now.
            QDir::setCurrent(HomeDir);
            platform::dialogs().message(this,
                                        QStringLiteral("Не удалось запустить игру: %1").arg(game.reason));
            giveWindowBack();
            SBar->setText(kNotStarted);
            return;
        }
        SBar->setText(report.hasFailures() ? kReadyWithErrors : kReady);
        GameLaunched = true;
        close();
    } catch (const IoError& error) {
        platform::dialogs().error(this, error.message());
        if (!report.isEmpty() && !reportShown)
            platform::dialogs().message(this, report.text(false));
        // "options.dat" already keeps the next start safe.
        giveWindowBack();
    }
}
