// rovex-cmd: the command interpreter that runs the batch files Rovex writes.
#include "tools/interpreter/BatchRunner.h"
#include "tools/interpreter/BatchSettings.h"

#include <QStringList>

#include <cstdio>

namespace {

const char usage[] = "Usage: rovex-cmd [--settings FILE.pif] BATCH\n"
                     "Runs BATCH line by line; exit code 0 when every line succeeded, 1 otherwise.\n";

} // namespace

// No application object: the interpreter needs no event loop, plugins or locale, and starting one would
// cost more than running a batch of a copy line.
int main(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    if (arguments.size() == 1 && (arguments.first() == u"--help" || arguments.first() == u"-h")) {
        std::fputs(usage, stdout);
        return 0;
    }

    int timeoutSeconds = interpreter::defaultTimeoutSeconds;
    if (arguments.size() == 3 && arguments.first() == u"--settings") {
        timeoutSeconds = interpreter::readTimeoutSeconds(arguments.at(1));
        arguments = arguments.mid(2);
    }
    if (arguments.size() != 1 || arguments.first().startsWith(u"--")) {
        std::fputs(usage, stderr);
        return 1;
    }
    return interpreter::BatchRunner(timeoutSeconds).runFile(arguments.first()) ? 0 : 1;
}
