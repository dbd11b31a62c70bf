// The add command's description reader on any file: it reads to the end, no line longer than its
// limit.
#include "app/DescriptionReader.h"
#include "core/IoError.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    DescriptionReader reader(fuzz::writeScratchFile(QStringLiteral("readme.txt"), data, size));
    QString line;
    qsizetype lines = 0;
    while (reader.readLine(line)) {
        fuzz::expect(line.size() <= DescriptionReader::MaxLineBytes, "a line keeps at most its limit");
        fuzz::expect(++lines <= qsizetype(size) + 1, "no more lines than bytes");
    }
    return 0;
}
