// Start-up figures: the library scan of a full library and the time from creating the window to its
// first paint. Prints the figures; targets are 20 ms for the scan and 300 ms for the window.
#include "app/main_window.h"
#include "platform/Dialogs.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Start-up shows the skin's banner and, without a skin, its error: count them instead of waiting.
class SilentDialogs final : public platform::Dialogs
{
public:
    void message(QWidget*, const QString&) override {}
    void error(QWidget*, const QString&) override {}
    bool askYesNo(QWidget*, const QString&, const QString&) override { return false; }
    QString chooseFolder(QWidget*, const QString&) override { return {}; }
    QString chooseOpenFile(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
};

void touch(const QString& path)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write("x");
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Rovex"));
    SilentDialogs dialogs;
    platform::setDialogs(&dialogs);

    QTemporaryDir home;
    touch(home.filePath(QStringLiteral("7zip.exe")));
    touch(home.filePath(QStringLiteral("extrc.pif")));
    const QString library = home.filePath(QStringLiteral("library")) + QLatin1Char('/');
    const QStringList slotNames{"Aquatica", "Atlantic", "Coastal",  "Country", "Empire",
                                "France",   "Germany",  "Gt1",      "Gt2",     "Gt3",
                                "Hills",    "Hometown", "Lostcany", "Park",    "Redrock",
                                "Rockypas", "Snowy",    "Summit",   "UK"};
    for (const QString& slot : slotNames) {
        QDir().mkpath(library + slot);
        for (int i = 0; i < 10; ++i)
            touch(library + slot + QStringLiteral("/track%1.zip").arg(i));
    }
    QDir::setCurrent(home.path());

    std::vector<double> windowTimes;
    std::vector<double> scanTimes;
    for (int run = 0; run < 7; ++run) {
        QElapsedTimer clock;
        clock.start();
        auto form = std::make_unique<TForm1>();
        form->FormCreate();
        form->show();
        if (!QTest::qWaitForWindowExposed(form.get()))
            std::fprintf(stderr, "the window was not exposed\n");
        windowTimes.push_back(clock.nsecsElapsed() / 1e6);

        form->PaTr->setText(library);
        clock.restart();
        form->CheckTrass();
        scanTimes.push_back(clock.nsecsElapsed() / 1e6);
    }
    std::printf("window created, started and shown: median %.1f ms (target 300 ms)\n", median(windowTimes));
    std::printf("library scan, 19 slots x 10 archives: median %.2f ms (target 20 ms)\n", median(scanTimes));
    platform::setDialogs(nullptr);
    return 0;
}
