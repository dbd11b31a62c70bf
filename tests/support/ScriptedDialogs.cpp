#include "tests/support/ScriptedDialogs.h"

ScriptedDialogs::ScriptedDialogs()
{
    platform::setDialogs(this);
}

ScriptedDialogs::~ScriptedDialogs()
{
    platform::setDialogs(nullptr);
}

void ScriptedDialogs::message(QWidget*, const QString& text)
{
    messages.append(text);
}

void ScriptedDialogs::error(QWidget*, const QString& text)
{
    errors.append(text);
}

bool ScriptedDialogs::askYesNo(QWidget*, const QString& title, const QString& text)
{
    questions.append({title, text});
    if (atQuestion)
        atQuestion();
    return !yesNoAnswers.isEmpty() && yesNoAnswers.takeFirst();
}

QString ScriptedDialogs::chooseFolder(QWidget*, const QString& prompt)
{
    folderPrompts.append(prompt);
    return folderAnswers.isEmpty() ? QString() : folderAnswers.takeFirst();
}

QString ScriptedDialogs::chooseOpenFile(QWidget*, const QString& title, const QString& filter,
                                        const QString& defaultSuffix)
{
    fileDialogTitles.append(title);
    fileDialogFilters.append(filter);
    fileDialogSuffixes.append(defaultSuffix);
    return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
}

int ScriptedDialogs::chooseItem(QWidget*, const QString& text, const QStringList& items)
{
    itemChoices.append(QStringList{text} + items);
    return itemAnswers.isEmpty() ? -1 : itemAnswers.takeFirst();
}
