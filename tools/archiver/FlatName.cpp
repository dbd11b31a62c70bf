#include "tools/archiver/FlatName.h"

#include <QString>
#include <QStringDecoder>

#include <algorithm>
#include <iconv.h>

namespace {

// A byte-order mark at the start of a name is a character of the name: "\uFEFFTr.frd" is not "Tr.frd".
bool isUtf8(const QByteArray& bytes, QString* text)
{
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    *text = decoder.decode(bytes);
    return !decoder.hasError();
}

bool isAscii(const QByteArray& bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) == 0; });
}

// The bytes read in `codePage`, or an empty text when some byte has no character there.
QString decoded(const char* codePage, QByteArray bytes)
{
    const iconv_t converter = iconv_open("UTF-8", codePage);
    if (converter == iconv_t(-1))
        return QString();
    QByteArray utf8(bytes.size() * 4, Qt::Uninitialized);
    char* in = bytes.data();
    size_t inLeft = size_t(bytes.size());
    char* out = utf8.data();
    size_t outLeft = size_t(utf8.size());
    const size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
    iconv_close(converter);
    if (result == size_t(-1) || inLeft != 0)
        return QString();
    utf8.truncate(utf8.size() - qsizetype(outLeft));
    return QString::fromUtf8(utf8);
}

qsizetype russianLetters(const QString& text)
{
    return std::count_if(text.begin(), text.end(), [](QChar c) {
        return (c.unicode() >= 0x0410 && c.unicode() <= 0x044F) || c.unicode() == 0x0401 ||
               c.unicode() == 0x0451;
    });
}

} // namespace

QByteArray flatName(const QByteArray& entryPath)
{
    const qsizetype separator = std::max(entryPath.lastIndexOf('/'), entryPath.lastIndexOf('\\'));
    const QByteArray last = entryPath.mid(separator + 1);
    if (last.isEmpty() || last == "." || last == "..")
        return QByteArray();
    return last;
}

QByteArray utf8Name(const QByteArray& entryPath)
{
    QString text;
    if (isAscii(entryPath) || isUtf8(entryPath, &text))
        return entryPath;
    const QString dos = decoded("CP866", entryPath);
    const QString windows = decoded("CP1251", entryPath);
    if (dos.isEmpty() && windows.isEmpty())
        return entryPath; // no converter on this system: keep the bytes, which still compare exactly
    const bool preferWindows =
        dos.isEmpty() || (!windows.isEmpty() && russianLetters(windows) > russianLetters(dos));
    return (preferWindows ? windows : dos).toUtf8();
}

QByteArray nameKey(const QByteArray& name)
{
    if (isAscii(name))
        return name.toLower();
    QString text;
    return isUtf8(name, &text) ? text.toCaseFolded().toUtf8() : name;
}
