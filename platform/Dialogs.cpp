#include "platform/Dialogs.h"

#include "platform/FileListTexts.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QInputDialog>
#include <QMessageBox>

namespace platform {
namespace {

// Qt's own dialogs rather than the desktop's: they speak the program's language, and their all-files
// entry can be made to list every file.
void speakRussian(QFileDialog& dialog)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setProxyModel(new FileListTexts(&dialog));
}

class QtDialogs final : public Dialogs
{
public:
    void message(QWidget* parent, const QString& text) override
    {
        QMessageBox::information(parent, QApplication::applicationName(), text);
    }

    void error(QWidget* parent, const QString& text) override
    {
        QMessageBox::critical(parent, QApplication::applicationName(), text);
    }

    bool askYesNo(QWidget* parent, const QString& title, const QString& text) override
    {
        QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, parent);
        return box.exec() == QMessageBox::Yes;
    }

    QString chooseFolder(QWidget* parent, const QString& prompt) override
    {
        QFileDialog dialog(parent, prompt);
        speakRussian(dialog);
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        return dialog.selectedFiles().constFirst();
    }

    QString chooseOpenFile(QWidget* parent, const QString& title, const QString& filter,
                           const QString& defaultSuffix) override
    {
        QFileDialog dialog(parent, title, QString(), filter);
        speakRussian(dialog);
        // Qt reads "*.*" as names with a dot in them; "*.*" means every file, as it always did on
        // Windows, so a download saved without an extension is listed too.
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& chosen) {
            if (!chosen.endsWith(QStringLiteral("(*.*)")))
                return;
            if (auto* files = dialog.findChild<QFileSystemModel*>())
                files->setNameFilters({QStringLiteral("*")});
        });
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setDefaultSuffix(defaultSuffix);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        return dialog.selectedFiles().constFirst();
    }

    int chooseItem(QWidget* parent, const QString& text, const QStringList& items) override
    {
        bool chosen = false;
        const QString item =
            QInputDialog::getItem(parent, QApplication::applicationName(), text, items, 0, false, &chosen);
        return chosen ? int(items.indexOf(item)) : -1;
    }
};

QtDialogs& qtDialogs()
{
    static QtDialogs instance;
    return instance;
}

Dialogs* installed = nullptr;

} // namespace

int Dialogs::chooseItem(QWidget*, const QString&, const QStringList&)
{
    return -1;
}

Dialogs& dialogs()
{
    return installed ? *installed : qtDialogs();
}

void setDialogs(Dialogs* replacement)
{
    installed = replacement;
}

} // namespace platform
