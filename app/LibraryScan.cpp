#include "app/CaptionlessRadio.h"
#include "app/FolderCheck.h"
#include "app/Layout.h"
#include "app/LibraryFolders.h"
#include "app/ScrollBox.h"
#include "app/StatusBar.h"
#include "app/main_window.h"
#include "core/SlotTable.h"
#include "platform/FileName.h"
#include "platform/FileSystem.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QRadioButton>

namespace {

constexpr int ChoiceButtonSize = 17;
constexpr int ChoiceButtonStep = 18;
constexpr int FirstChoiceButtonLeft = 4;

} // namespace

void TForm1::CheckTrass()
{
    const QString library = trackDir();
    QString crowdedSlot;
    // A folder that cannot be read is told, not taken for one without archives.
    QStringList unreadable;
    if (const QString problem = foldercheck::readProblem(library); !problem.isEmpty())
        unreadable.append(problem);
    const auto& rows = trackslots::windowOrder();
    // The window's components are walked from the last one back.
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        const QString slot = QString::fromLatin1(row->name);
        QCheckBox* box = slotCheckBox(slot);
        const QString folder = library::slotFolder(library, slot);
        if (!platform::fs::folderExists(folder)) {
            box->setEnabled(false);
            box->setChecked(false);
            box->setProperty("readProblem", QString());
            continue;
        }
        const QString problem = foldercheck::readProblem(folder);
        box->setProperty("readProblem", problem);
        if (!problem.isEmpty())
            unreadable.append(problem);
        int k = 0;
        for (const QString& archive : platform::fs::findEntries(folder, QStringLiteral("*.zip"))) {
            if (k == MaxChoiceButtons) {
                if (crowdedSlot.isEmpty())
                    crowdedSlot = slot;
                break;
            }
            ++k;
            AddChoiceButton(*row, k, archive);
        }
        ScrollBox1->setPosition(0);
        ScrollBox2->setPosition(0);
        box->setEnabled(k > 0);
        box->setChecked(k > 0);
    }
    layout::orderTabChain(this);
    // Told in RBar, where no pointer hint wipes it before it is read.
    QStringList told = unreadable;
    if (!crowdedSlot.isEmpty()) {
        told.append(QStringLiteral("В папке трассы %1 больше %2 архивов: показаны первые %2.")
                        .arg(crowdedSlot)
                        .arg(MaxChoiceButtons));
    }
    if (!told.isEmpty())
        RBar->setText(told.join(QLatin1Char(' ')));
    showInstalledArchives();
}

void TForm1::AddChoiceButton(const trackslots::SlotRow& slot, int k, const QString& archive)
{
    const QString name = QString::fromLatin1(slot.name);
    QWidget* strip = slotStrip(name);
    QButtonGroup*& group = m_choiceGroups[name];
    if (!group)
        group = new QButtonGroup(strip);

    const int left = ChoiceButtonStep * (k - 1) + FirstChoiceButtonLeft;
    // A button of an earlier scan at this very place would lie covered and unreachable: the new one
    // takes its place, so a strip never holds more buttons than fit in it.
    for (QAbstractButton* older : group->buttons()) {
        if (older->x() == left) {
            group->removeButton(older);
            delete older;
            break;
        }
    }

    auto* button = new CaptionlessRadio(strip);
    button->setGeometry(left, 0, ChoiceButtonSize, ChoiceButtonSize);
    // The property keeps the name's bytes for the install; the hint shows it readably.
    button->setProperty("archive", archive);
    button->setStatusTip(platform::displayFileName(archive));
    button->setToolTip(platform::displayFileName(archive));
    button->setProperty("tabOrder", k);
    group->addButton(button);
    if (k == 1)
        button->setChecked(true);
    button->show();

    ScrollBox* box = scrollBoxOf(name);
    if (left > box->range() - 10) {
        box->setRange(box->range() + ChoiceButtonStep);
        box->setPosition(box->position() + ChoiceButtonStep);
    }
}
