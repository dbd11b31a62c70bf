#include "tools/archiver/Report.h"

#include <cstdio>

void report(const QString& message)
{
    std::fprintf(stderr, "7zip.exe: %s\n", message.toUtf8().constData());
}
