// The item splitter and the integer reader of skin files on any text.
#include "fuzz/FuzzSupport.h"
#include "skin/SplitItems.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const QChar separator : {QChar(u','), QChar(u' ')}) {
        QStringList items;
        SplitItems(items, text, separator);
        fuzz::expect(items.size() <= text.size() + 1, "no more items than characters");
        for (const QString& item : std::as_const(items))
            parseSkinInteger(item);
    }
    return 0;
}
