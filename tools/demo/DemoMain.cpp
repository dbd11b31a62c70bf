#include "core/IoError.h"
#include "core/Settings.h"
#include "tools/demo/DemoGame.h"
#include "tools/demo/DemoLibrary.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace {

const char Usage[] = "usage: rovex-demo HOME\n"
                     "Lays out a demo game, a track library and a downloads folder in HOME/demo and points\n"
                     "HOME/options.dat at them. An existing set-up is never overwritten.\n";

int fail(const QString& text)
{
    std::fprintf(stderr, "rovex-demo: %s\n", qPrintable(text));
    return 1;
}

} // namespace

// Lays out a demo under HOME: a stand-in game, a track library with add-ons, a downloads folder, and
// an "options.dat" pointing Rovex at them. Never overwrites an existing set-up.
int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() == 2 && (arguments.at(1) == "--help" || arguments.at(1) == "-h")) {
        std::fputs(Usage, stdout);
        return 0;
    }
    // An option is never taken for a folder to lay the demo out in ("./-x" names such a folder).
    if (arguments.size() != 2 || arguments.at(1).startsWith(QLatin1Char('-'))) {
        if (arguments.size() == 2)
            std::fprintf(stderr, "rovex-demo: unknown option %s\n", qPrintable(arguments.at(1)));
        std::fputs(Usage, stderr);
        return 2;
    }
    const QString home = QDir(arguments.at(1)).absolutePath();
    const QString options = home + QStringLiteral("/options.dat");
    const QString demo = home + QStringLiteral("/demo");
    if (QFileInfo::exists(options))
        return fail(QStringLiteral("%1 exists already; remove it to lay out the demo").arg(options));
    if (QFileInfo::exists(demo))
        return fail(QStringLiteral("%1 exists already; remove it to lay out the demo").arg(demo));

    const QString standin = app.applicationDirPath() + QStringLiteral("/nfshs-standin");
    QString error = demo::createGame(demo + QStringLiteral("/game"), standin);
    if (error.isEmpty())
        error = demo::createLibrary(demo + QStringLiteral("/library"));
    if (error.isEmpty())
        error = demo::createDownloads(demo + QStringLiteral("/downloads"));
    if (!error.isEmpty())
        return fail(error);
    try {
        writeSettings(options, {demo + QStringLiteral("/library/"), demo + QStringLiteral("/game/"),
                                QStringLiteral("1")});
    } catch (const IoError& writeError) {
        return fail(writeError.message());
    }
    std::printf("Demo laid out in %s\n", qPrintable(demo));
    return 0;
}
