#include "app/AddTrackRun.h"
#include "app/BatchRunner.h"
#include "app/StatusBar.h"
#include "app/UnpackFolder.h"
#include "app/main_window.h"
#include "core/IoError.h"
#include "platform/Dialogs.h"

#include <QScopedValueRollback>

namespace {

const QString NotChosen = QStringLiteral("не выбран");
const QString ChoosePathsFirst = QStringLiteral("Сначала укажите пути в настройках!");
const QString DialogTitle = QStringLiteral("Добавление файла с трассой");
const QString DialogFilter = QStringLiteral("Файл с запакованной трассой (*.zip);;Все файлы (*.*)");
const QString DefaultSuffix = QStringLiteral("zip");
// The archiver's command line cannot carry such a path safely; the user can rename the file or folder.
const QString UnsafePath = QStringLiteral("Трасса не добавлена. %1\nПуть не должен содержать кавычек и "
                                          "управляющих символов: переименуйте файл или папку и "
                                          "попробуйте ещё раз.");

} // namespace

// The add command: the user picks a downloaded archive, which is then filed (AddTrackArchive).
void TForm1::BitBtn4Click()
{
    if (!libraryChosen())
        return;
    const QString archive =
        platform::dialogs().chooseOpenFile(this, DialogTitle, DialogFilter, DefaultSuffix);
    if (!archive.isEmpty())
        AddTrackArchive(archive);
}

bool TForm1::libraryChosen()
{
    // Without a library there is nowhere to file an archive: no point in picking one.
    if (trackDir() != NotChosen)
        return true;
    platform::dialogs().message(this, ChoosePathsFirst);
    return false;
}

// Unpacks the archive into "Temp1" beside the library, finds a description that names a slot, and on
// the user's Yes moves the archive into that slot's library folder.
bool TForm1::AddTrackArchive(const QString& archive)
{
    const QScopedValueRollback<bool> running(m_addRunning, true);
    RBar->setText(addtext::Unpacking);
    RBar->repaint();
    try {
        UnpackFolder folder(trackDir() + QStringLiteral("../Temp1"));
        BatchRunner runner(HomeDir, ArchiverPath);
        const BatchRunner::Outcome outcome = runner.extractAll(archive, folder.path());
        if (outcome == BatchRunner::Outcome::TimedOut || outcome == BatchRunner::Outcome::NotStarted ||
            outcome == BatchRunner::Outcome::Failed)
            platform::dialogs().message(this, runner.reason());
        if (outcome == BatchRunner::Outcome::Refused)
            platform::dialogs().message(this, UnsafePath.arg(runner.reason()));
        if (outcome != BatchRunner::Outcome::Done) {
            RBar->setText(addtext::Failed);
            return false;
        }
        RBar->setText(addtext::Searching);
        return AddTrackRun(*this, archive).identify(folder.path());
    } catch (const IoError& error) {
        platform::dialogs().error(this, error.message());
        return false;
    }
}
