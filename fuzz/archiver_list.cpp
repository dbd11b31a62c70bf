// The archiver's list file on any bytes: it either names at least one file or is refused, and every
// name on it is accepted, in any letter case.
#include "fuzz/FuzzSupport.h"
#include "tools/archiver/FlatName.h"
#include "tools/archiver/NameList.h"

#include <QString>
#include <QStringDecoder>

namespace {

// Decoded as the archiver reads names: a byte-order mark at the start is a character of the name.
QString decoded(const QByteArray& utf8)
{
    return QStringDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom).decode(utf8);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray content(reinterpret_cast<const char*>(data), qsizetype(size));
    NameList list;
    QString error;
    const bool parsed = NameList::parse(content, &list, &error);
    const QByteArray text = content.startsWith("\xEF\xBB\xBF") ? content.mid(3) : content;
    bool namesSomething = false;
    for (const QByteArray& line : text.split('\n')) {
        const QByteArray name = line.trimmed();
        if (name.isEmpty())
            continue;
        namesSomething = true;
        const QByteArray readable = utf8Name(name);
        fuzz::expect(!parsed || list.accepts(readable), "a listed name is accepted");
        const QString upper = decoded(readable).toUpper();
        fuzz::expect(!parsed || list.accepts(upper.toUtf8()) ||
                         upper.toCaseFolded() != decoded(readable).toCaseFolded(),
                     "a listed name is accepted in capitals");
    }
    fuzz::expect(parsed == namesSomething, "a list is refused exactly when it names nothing");
    return 0;
}
