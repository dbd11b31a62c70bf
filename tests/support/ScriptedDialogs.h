#pragma once

#include "platform/Dialogs.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// Answers the program's dialogs from a script and records what they showed, so GUI tests run
// without a screen. Installs itself on construction and uninstalls on destruction.
class ScriptedDialogs final : public platform::Dialogs
{
public:
    ScriptedDialogs();
    ~ScriptedDialogs() override;

    struct Question
    {
        QString title;
        QString text;
    };

    // What the dialogs showed, in order.
    QStringList messages;
    QStringList errors;
    QList<Question> questions;
    QStringList folderPrompts;
    QStringList fileDialogTitles;
    QStringList fileDialogFilters;
    QStringList fileDialogSuffixes;
    QList<QStringList> itemChoices; // the items each list choice offered, its text first

    // Runs as each question is asked, before it is answered: a test looks at the window then.
    std::function<void()> atQuestion;

    // Answers, taken from the front; an empty queue answers No / cancels.
    QList<bool> yesNoAnswers;
    QStringList folderAnswers;
    QStringList fileAnswers;
    QList<int> itemAnswers; // indexes; an empty queue cancels

    void message(QWidget* parent, const QString& text) override;
    void error(QWidget* parent, const QString& text) override;
    bool askYesNo(QWidget* parent, const QString& title, const QString& text) override;
    QString chooseFolder(QWidget* parent, const QString& prompt) override;
    QString chooseOpenFile(QWidget* parent, const QString& title, const QString& filter,
                           const QString& defaultSuffix) override;
    int chooseItem(QWidget* parent, const QString& text, const QStringList& items) override;
};
