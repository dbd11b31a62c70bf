#pragma once

#include "app/main_window.h"
#include "tests/support/HomeFolder.h"
#include "tests/support/ScriptedDialogs.h"

#include <QTest>

#include <memory>

// A shown main window over a fresh temporary home folder, its dialogs answered by a script.
struct OpenMainWindow
{
    std::unique_ptr<HomeFolder> home;
    std::unique_ptr<ScriptedDialogs> dialogs;
    std::unique_ptr<TForm1> form;

    bool open()
    {
        home = std::make_unique<HomeFolder>();
        if (!home->isValid())
            return false;
        dialogs = std::make_unique<ScriptedDialogs>();
        form = std::make_unique<TForm1>();
        if (!form->FormCreate())
            return false;
        form->show();
        return QTest::qWaitForWindowExposed(form.get());
    }

    void close()
    {
        form.reset();
        dialogs.reset();
        home.reset();
    }
};
