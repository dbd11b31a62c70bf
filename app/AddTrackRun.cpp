#include "app/AddTrackRun.h"

#include "app/DescriptionReader.h"
#include "app/LibraryFolders.h"
#include "app/StatusBar.h"
#include "app/TrackIdentifier.h"
#include "app/main_window.h"
#include "core/SlotTable.h"
#include "platform/Dialogs.h"
#include "platform/FileName.h"
#include "platform/FileSystem.h"

#include <QCheckBox>
#include <QFileInfo>

namespace fs = platform::fs;

namespace {

const QString QuestionTitle = QStringLiteral("Трасса определена");

// The archive already lies at the target: picking a file from its own slot folder and confirming
// that slot is a success, while another archive that merely has the same name is not.
bool isSameFile(const QString& a, const QString& b)
{
    const QString canonical = QFileInfo(a).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(b).canonicalFilePath();
}

} // namespace

AddTrackRun::AddTrackRun(TForm1& form, const QString& archive)
    : m_form(form)
    , m_archive(archive)
{
}

bool AddTrackRun::identify(const QString& unpackFolder)
{
    for (const QString& name : fs::findEntries(unpackFolder, QStringLiteral("*.*"))) {
        const QString path = unpackFolder + QLatin1Char('/') + name;
        // Folders cannot be read as text.
        if (trackid::isDescriptionCandidate(name) && fs::fileExists(path)) {
            const Filing filing = readDescription(path);
            if (filing != Filing::NotYet)
                return filing == Filing::Filed;
        }
        show(addtext::Failed);
    }
    show(addtext::Failed);
    return false;
}

AddTrackRun::Filing AddTrackRun::readDescription(const QString& path)
{
    DescriptionReader reader(path);
    QString line;
    for (;;) {
        show(addtext::Analysing);
        if (!reader.readLine(line))
            return Filing::NotYet;
        for (const QString& slot : trackid::slotsNamedIn(line)) {
            if (confirmSlot(slot)) {
                const Filing filing = fileInto(slot);
                if (filing != Filing::NotYet)
                    return filing;
                break; // a failed move goes on with the next line
            }
            show(addtext::NotThisSlot);
        }
    }
}

bool AddTrackRun::confirmSlot(const QString& slot)
{
    QString caption;
    QString hint;
    if (const QCheckBox* box = m_form.slotCheckBox(slot)) {
        caption = box->text();
        hint = box->statusTip();
    } else if (const trackslots::SlotRow* row = trackslots::findSlot(slot)) {
        caption = QString::fromUtf8(row->caption);
        hint = QString::fromUtf8(row->hint);
    }
    const QString question = trackid::slotQuestion(caption, slot, hint);
    return platform::dialogs().askYesNo(&m_form, QuestionTitle, trackid::forDisplay(question));
}

AddTrackRun::Filing AddTrackRun::fileInto(const QString& slot)
{
    show(addtext::Moving);
    const QString folder = library::slotFolder(m_form.trackDir(), slot);
    const QString name = QFileInfo(m_archive).fileName();
    const QString target = folder + QLatin1Char('/') + name;
    if (!fs::moveNoReplace(m_archive, target) && !isSameFile(m_archive, target)) {
        // The user has chosen the slot: no other slot fits an archive whose name is taken in it.
        if (!fs::findNameIgnoringCase(folder, name).isEmpty()) {
            show(addtext::NameTaken.arg(slot, platform::displayFileName(name)), true);
            return Filing::NameTaken;
        }
        show(addtext::MoveFailed);
        return Filing::NotYet;
    }
    m_form.CheckTrass();
    show(addtext::Filed, true);
    return Filing::Filed;
}

void AddTrackRun::show(const QString& text, bool repaintNow)
{
    m_form.RBar->setText(text);
    if (repaintNow)
        m_form.RBar->repaint();
}
