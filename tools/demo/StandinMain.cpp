#include "tools/demo/SlotReport.h"
#include "tools/demo/StandinWindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>

#include <cstdio>
#include <cstring>

namespace {

// The game runs in its own folder; started from elsewhere it looks beside its executable.
QString gameFolder()
{
    const QString current = QDir::currentPath();
    if (QDir(current + QStringLiteral("/Data/Tracks")).exists())
        return current;
    return QCoreApplication::applicationDirPath();
}

int writeReport(const QString& path)
{
    QFile report(path);
    if (!report.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }
    const QStringList lines = reportLines(readSlotStates(gameFolder()));
    report.write((lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    return report.flush() ? 0 : 1;
}

} // namespace

// A stand-in for the game: shows which add-on tracks Rovex has put in place. "--report FILE" writes
// the same lines to FILE and exits without a window.
int main(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--report") != 0)
            continue;
        if (i + 1 >= argc) {
            std::fprintf(stderr, "usage: nfshs-standin [--report FILE]\n");
            return 2;
        }
        QCoreApplication app(argc, argv);
        return writeReport(QString::fromLocal8Bit(argv[i + 1]));
    }
    QApplication app(argc, argv);
    StandinWindow window(reportLines(readSlotStates(gameFolder())));
    window.show();
    return app.exec();
}
