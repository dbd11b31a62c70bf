#include "app/AddTrackRun.h"

#include "app/DescriptionReader.h"
#include "app/LibraryFolders.h"
#include "app/SlotTable.h"
#include "app/StatusBar.h"
#include "app/TrackIdentifier.h"
#include "app/main_window.h"
#include "platform/Dialogs.h"
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
        if (trackid::isDescriptionCandidate(name) && fs::fileExists(path) && readDescription(path))
            return true;
        show(addtext::Failed);
    }
    show(addtext::Failed);
    return false;
}

bool AddTrackRun::readDescription(const QString& path)
{
    DescriptionReader reader(path);
    QString line;
    for (;;) {
        show(addtext::Analysing);
        if (!reader.readLine(line))
            return false;
        for (const QString& slot : trackid::slotsNamedIn(line)) {
            if (confirmSlot(slot)) {
                if (fileInto(slot))
                    return true;
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

bool AddTrackRun::fileInto(const QString& slot)
{
    show(addtext::Moving);
    const QString target =
        library::slotFolder(m_form.trackDir(), slot) + QLatin1Char('/') + QFileInfo(m_archive).fileName();
    if (!fs::moveNoReplace(m_archive, target) && !isSameFile(m_archive, target)) {
        show(addtext::MoveFailed);
        return false;
    }
    m_form.CheckTrass();
    show(addtext::Filed, true);
    return true;
}

void AddTrackRun::show(const QString& text, bool repaintNow)
{
    m_form.RBar->setText(text);
    if (repaintNow)
        m_form.RBar->repaint();
}
