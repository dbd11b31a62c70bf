#include "fuzz/FuzzSupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace fuzz {

QString scratchFolder()
{
    static QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/rovex-fuzz-XXXXXX"));
    return folder.path();
}

QString writeScratchFile(const QString& name, const uint8_t* data, size_t size)
{
    const QString path = scratchFolder() + QLatin1Char('/') + name;
    QFile file(path);
    const qint64 bytes = qint64(size);
    expect(file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
               file.write(reinterpret_cast<const char*>(data), bytes) == bytes,
           "the input can be written to the scratch folder");
    return path;
}

void expect(bool holds, const char* promise)
{
    if (holds)
        return;
    std::fprintf(stderr, "broken promise: %s\n", promise);
    std::abort();
}

} // namespace fuzz

namespace fuzz {

void startGuiApplication()
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "rovex-fuzz";
    static char* argv[] = {name, nullptr};
    static QApplication application(argc, argv);
}

} // namespace fuzz
