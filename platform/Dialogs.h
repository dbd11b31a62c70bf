#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// Every dialog of the program goes through this interface, so tests can answer them without a screen.
namespace platform {

class Dialogs
{
public:
    virtual ~Dialogs() = default;

    // A simple message box with an OK button, captioned with the application title.
    virtual void message(QWidget* parent, const QString& text) = 0;
    // The standard error box for a failed input/output operation.
    virtual void error(QWidget* parent, const QString& text) = 0;
    // A modal question with Yes and No buttons and a question-mark icon; true for Yes.
    virtual bool askYesNo(QWidget* parent, const QString& title, const QString& text) = 0;
    // The folder browser; empty when cancelled. The returned path has no trailing "/" (but "/" itself).
    virtual QString chooseFolder(QWidget* parent, const QString& prompt) = 0;
    // The open-file dialog; `filter` in Qt's form ("Name (*.zip);;All (*.*)"), where an entry of "*.*"
    // lists every file, names without a dot included; empty when cancelled.
    virtual QString chooseOpenFile(QWidget* parent, const QString& title, const QString& filter,
                                   const QString& defaultSuffix) = 0;
    // A small box to pick one of `items` from, with `text` above the list; the index of the chosen one,
    // -1 when cancelled. Sets of dialogs that answer without the user cancel it.
    virtual int chooseItem(QWidget* parent, const QString& text, const QStringList& items);
};

// The dialogs in force: the Qt ones unless a test or a screenless tool has installed others.
Dialogs& dialogs();
// Installs `replacement` (not owned; nullptr goes back to the Qt dialogs).
void setDialogs(Dialogs* replacement);

} // namespace platform
