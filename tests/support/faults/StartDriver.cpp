// rovex-start-driver: the program the fault sweep cuts short. It opens the real main window on the
// home folder that is current, presses Старт once in the mode given, and writes every dialog shown
// from then on, the final status text and whether the game was launched to a log, one line each:
// "M text" (message), "E text" (error box), "S text" (status bar), "L 1" or "L 0" (launched).
// Line breaks inside a text are written as "\n". When the program refuses to start, the dialogs of
// the start-up are what the user was told: they are written as error boxes. A running game is looked
// for in the process table given (a folder of the test's), not in the machine's.
#include "app/StatusBar.h"
#include "app/main_window.h"
#include "platform/Dialogs.h"
#include "platform/Process.h"
#include "platform/RunningGame.h"

#include <QApplication>
#include <QFile>
#include <QRadioButton>

#include <cstdio>

namespace {

class LoggedDialogs final : public platform::Dialogs
{
public:
    explicit LoggedDialogs(const QString& path)
        : m_path(path)
    {
    }

    // Dialogs of a start-up that went on (a missing skin, say) are not the sweep's business.
    void startLogging(bool startUpRefused)
    {
        m_logging = true;
        for (const QString& text : std::as_const(m_startUp)) {
            if (startUpRefused)
                log('E', text);
        }
    }

    void log(char kind, const QString& text)
    {
        if (!m_logging) {
            m_startUp.append(text);
            return;
        }
        QFile file(m_path);
        if (file.open(QIODevice::Append))
            file.write(kind + (" " + QString(text).replace('\n', QStringLiteral("\\n")).toUtf8()) + '\n');
    }

    void message(QWidget*, const QString& text) override { log('M', text); }
    void error(QWidget*, const QString& text) override { log('E', text); }
    bool askYesNo(QWidget*, const QString&, const QString& text) override
    {
        log('Q', text);
        return false;
    }
    QString chooseFolder(QWidget*, const QString&) override { return {}; }
    QString chooseOpenFile(QWidget*, const QString&, const QString&, const QString&) override { return {}; }

private:
    QString m_path;
    bool m_logging = false;
    QStringList m_startUp;
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() != 5 || (arguments.at(1) != "install" && arguments.at(1) != "standard")) {
        std::fputs("Usage: rovex-start-driver install|standard LOG INTERPRETER PROCESS-TABLE\n", stderr);
        return 2;
    }
    platform::setInterpreterPath(arguments.at(3));
    platform::setProcessTable(arguments.at(4));
    LoggedDialogs dialogs(arguments.at(2));
    platform::setDialogs(&dialogs);
    {
        TForm1 form;
        const bool started = form.FormCreate();
        dialogs.startLogging(!started);
        if (!started) {
            dialogs.log('L', QStringLiteral("0"));
            return 3;
        }
        form.show();
        (arguments.at(1) == "install" ? form.NTr : form.StTr)->setChecked(true);
        form.BitBtn2Click();
        // An I/O error gives the window back: the user would close it now.
        if (form.isVisible())
            form.close();
        dialogs.log('S', form.SBar->text());
        dialogs.log('L', form.GameLaunched ? QStringLiteral("1") : QStringLiteral("0"));
    }
    platform::setDialogs(nullptr);
    return 0;
}
