#pragma once
// Included ahead of every test file of a folder's runner: each QTEST_MAIN, QTEST_GUILESS_MAIN or
// QTEST_APPLESS_MAIN registers its test class under the file's name ("test_start_game") instead of
// making a main() of its own, so that one program holds the folder's test classes.
#include <QTest>

namespace testrunner {

using Run = int (*)(int argc, char* argv[]);

// Registers `run` under the base name of `sourceFile`; returns true, for a static initialiser.
bool add(const char* sourceFile, Run run);

} // namespace testrunner

#undef QTEST_MAIN_WRAPPER
#define QTEST_MAIN_WRAPPER(TestObject, ...)                                                                  \
    namespace {                                                                                              \
    int runTestClass(int argc, char* argv[])                                                                 \
    {                                                                                                        \
        QT_PREPEND_NAMESPACE(QTest::Internal::callInitMain)<TestObject>();                                   \
        __VA_ARGS__                                                                                          \
        TestObject tc;                                                                                       \
        QTEST_SET_MAIN_SOURCE_PATH                                                                           \
        return QTest::qExec(&tc, argc, argv);                                                                \
    }                                                                                                        \
    const bool registered = testrunner::add(__FILE__, runTestClass);                                         \
    }
