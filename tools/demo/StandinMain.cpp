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

const char Usage[] = "usage: nfshs-standin [--report FILE]\n"
                     "Stands in for the game: shows which tracks of its game folder hold add-on files.\n"
                     "--report FILE writes the same lines to FILE and exits without a window.\n";

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
    const char* report = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(Usage, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--report") == 0 && i + 1 < argc) {
            report = argv[++i];
            continue;
        }
        if (std::strcmp(argv[i], "--report") == 0)
            std::fprintf(stderr, "nfshs-standin: --report needs a file\n");
        else
            std::fprintf(stderr, "nfshs-standin: unknown argument %s\n", argv[i]);
        std::fputs(Usage, stderr);
        return 2;
    }
    if (report) {
        QCoreApplication app(argc, argv);
        return writeReport(QString::fromLocal8Bit(report));
    }
    QApplication app(argc, argv);
    StandinWindow window(reportLines(readSlotStates(gameFolder())));
    window.show();
    return app.exec();
}
