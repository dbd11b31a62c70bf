#include "app/InstalledRecord.h"
#include "app/main_window.h"
#include "core/SlotTable.h"
#include "platform/FileName.h"

#include <QCheckBox>
#include <QRadioButton>

namespace {

void setHint(QWidget* widget, const QString& hint)
{
    widget->setStatusTip(hint);
    widget->setToolTip(hint);
}

} // namespace

QString TForm1::archiveOf(const QAbstractButton* button)
{
    return button->property("archive").toString();
}

void TForm1::showInstalledArchives()
{
    QMap<QString, QString> inGame;
    if (AddOnsMayBeInstalled) {
        if (const std::optional<installed::Record> record =
                installed::read(HomeDir + QStringLiteral("installed.dat")))
            inGame = installed::archivesInGame(*record, gameDir());
    }
    for (const trackslots::SlotRow& row : trackslots::windowOrder()) {
        const QString slot = QString::fromUtf8(row.name);
        const QString archive = inGame.value(slot);
        const QString shown = platform::displayFileName(archive);
        const QString name = QString::fromUtf8(row.hint);
        QCheckBox* box = slotCheckBox(slot);
        QString hint = archive.isEmpty() ? name : name + QStringLiteral(" — установлена: ") + shown;
        // A slot greyed out because its folder cannot be read says so.
        if (const QString problem = box->property("readProblem").toString(); !problem.isEmpty())
            hint += QStringLiteral(". ") + problem;
        setHint(box, hint);
        const QWidget* strip = slotStrip(slot);
        if (!strip)
            continue;
        for (QRadioButton* button : strip->findChildren<QRadioButton*>()) {
            const QString own = archiveOf(button);
            const QString ownShown = platform::displayFileName(own);
            setHint(button, !archive.isEmpty() && own == archive
                                ? ownShown + QStringLiteral(" — сейчас в игре")
                                : ownShown);
        }
    }
}
