#include "app/BatchRunner.h"
#include "app/InstallTracks.h"
#include "app/IoError.h"
#include "app/Settings.h"
#include "app/SlotTable.h"
#include "app/StatusBar.h"
#include "app/main_window.h"
#include "platform/Dialogs.h"
#include "platform/Process.h"
#include "platform/RunningGame.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

const QString kNotChosen = QStringLiteral("не выбран");
const QString kChoosePathsFirst = QStringLiteral("Сначала укажите пути в настройках!");
const QString kPreparing =
    QStringLiteral(" Подождите... Происходит подготовка игры к запуску... Окно в данный момент НЕ доступно!");
const QString kReady = QStringLiteral(" Готово. Поехали!");

void makeCurrent(const QString& folder)
{
    if (!QDir::setCurrent(folder))
        throw IoError(QStringLiteral("Не удалось перейти в папку %1").arg(folder));
}

QString slotFailureText(BatchRunner::Outcome outcome, const QString& archive, const QString& reason)
{
    switch (outcome) {
    case BatchRunner::Outcome::Refused:
        return QStringLiteral("Трасса из архива %1 не установлена: путь к архиву или к папке Temp содержит "
                              "кавычку или управляющий символ.")
            .arg(archive);
    case BatchRunner::Outcome::TimedOut:
        return QStringLiteral(
                   "Трасса из архива %1 не установлена: архиватор не закончил работу за отведённое "
                   "время.")
            .arg(archive);
    case BatchRunner::Outcome::NotStarted:
        return QStringLiteral("Трасса из архива %1 не установлена: не удалось запустить архиватор (%2). "
                              "Остальные трассы тоже не будут установлены.")
            .arg(archive, reason);
    case BatchRunner::Outcome::Done:
        break;
    }
    return {};
}

// Extracts the chosen archive of every ticked slot, in window order, and moves its track files in.
void installChosenTracks(TForm1& form, BatchRunner& runner)
{
    const QString trackDir = form.trackDir();
    const QString work = install::workFolder(trackDir);
    for (const trackslots::SlotRow& row : trackslots::windowOrder()) {
        const QString slot = QString::fromUtf8(row.name);
        const QCheckBox* box = form.slotCheckBox(slot);
        const QRadioButton* chosen = form.chosenButton(slot);
        if (!box || !box->isChecked() || !chosen)
            continue;
        const QString archive = install::libraryArchive(trackDir, slot, chosen->statusTip());
        install::prepareWorkFolder(work);
        const BatchRunner::Outcome outcome = runner.extractTrackFiles(archive, work);
        if (outcome != BatchRunner::Outcome::Done) {
            platform::dialogs().message(&form, slotFailureText(outcome, archive, runner.reason()));
            // Without the interpreter no other slot can be extracted either.
            if (outcome == BatchRunner::Outcome::NotStarted)
                return;
            continue;
        }
        install::moveTrackFilesIn(work, install::gameSlotFolder(form.gameDir(), slot));
    }
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
    const QString helpHint = BitBtn1->statusTip();
    try {
        makeCurrent(HomeDir);
        RBar->setText(kPreparing);
        BitBtn1->setStatusTip(kPreparing);
        setEnabled(false);
        RBar->repaint();

        if (NTr->isChecked()) {
            // Recorded before any game file is touched, so that a run cut short anywhere below still
            // leads the next start to give the standard tracks back.
            writeSettings(HomeDir + QStringLiteral("options.dat"),
                          {trackDir(), gameDir(), QStringLiteral("0")});
            AddOnsMayBeInstalled = true;
            if (SavedState == QLatin1String("0"))
                StandartTracks();
            BatchRunner runner(HomeDir, ArchiverPath);
            runner.writeTrackList();
            installChosenTracks(*this, runner);
        } else if (SavedState == QLatin1String("0")) {
            StandartTracks();
        }

        SBar->setText(kReady);
        makeCurrent(gameDir());
        const platform::StartResult game =
            platform::startGame(gameDir() + QStringLiteral("nfshs.exe"), gameDir());
        if (!game.started)
            platform::dialogs().message(this,
                                        QStringLiteral("Не удалось запустить игру: %1").arg(game.reason));
        GameLaunched = true;
        close();
    } catch (const IoError& error) {
        platform::dialogs().error(this, error.message());
        // Give the window back so that it can at least be closed; "options.dat" already keeps the
        // next start safe.
        RBar->setText(QString());
        BitBtn1->setStatusTip(helpHint);
        setEnabled(true);
    }
}
