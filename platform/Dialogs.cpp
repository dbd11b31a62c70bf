#include "platform/Dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace platform {
namespace {

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
        return QFileDialog::getExistingDirectory(parent, prompt, QString(), QFileDialog::ShowDirsOnly);
    }

    QString chooseOpenFile(QWidget* parent, const QString& title, const QString& filter,
                           const QString& defaultSuffix) override
    {
        QFileDialog dialog(parent, title, QString(), filter);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setDefaultSuffix(defaultSuffix);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        return dialog.selectedFiles().constFirst();
    }
};

QtDialogs& qtDialogs()
{
    static QtDialogs instance;
    return instance;
}

Dialogs* installed = nullptr;

} // namespace

Dialogs& dialogs()
{
    return installed ? *installed : qtDialogs();
}

void setDialogs(Dialogs* replacement)
{
    installed = replacement;
}

} // namespace platform
