// The main() of a folder's test runner: `<runner> TEST [QtTest options]` runs the test class of
// TEST's file (test_start_game.cpp: "test_start_game") with the options, as its own program would.
#include "tests/runner/TestRunner.h"

#include <QMap>

#include <cstdio>
#include <cstring>

namespace {

QMap<QByteArray, testrunner::Run>& registry()
{
    static QMap<QByteArray, testrunner::Run> runs;
    return runs;
}

} // namespace

bool testrunner::add(const char* sourceFile, Run run)
{
    const char* name = std::strrchr(sourceFile, '/');
    QByteArray key(name ? name + 1 : sourceFile);
    if (const qsizetype dot = key.lastIndexOf('.'); dot > 0)
        key.truncate(dot);
    registry().insert(key, run);
    return true;
}

int main(int argc, char* argv[])
{
    const testrunner::Run run = argc > 1 ? registry().value(argv[1]) : nullptr;
    if (!run) {
        std::fprintf(stderr, "Usage: %s TEST [QtTest options]\nTESTs:\n", argv[0]);
        for (const QByteArray& name : registry().keys())
            std::fprintf(stderr, "  %s\n", name.constData());
        return 2;
    }
    // The test sees the runner as its program and the options as its own.
    argv[1] = argv[0];
    return run(argc - 1, argv + 1);
}
