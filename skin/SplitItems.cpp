#include "skin/SplitItems.h"

namespace {

// Code 0 counts with the other control codes: it ends an item, so it must also be stepped over, or
// the line would yield empty items without end.
bool isSkippable(QChar c)
{
    return c.unicode() <= 32;
}

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

} // namespace

void SplitItems(QStringList& list, const QString& text, QChar separator)
{
    list.clear();
    const qsizetype size = text.size();
    qsizetype pos = 0;
    auto skip = [&] {
        while (pos < size && isSkippable(text[pos]))
            ++pos;
    };
    skip();
    while (pos < size) {
        QString item;
        if (text[pos] == u'"') {
            ++pos;
            while (pos < size) {
                if (text[pos] == u'"') {
                    if (pos + 1 < size && text[pos + 1] == u'"') {
                        item.append(u'"');
                        pos += 2;
                        continue;
                    }
                    ++pos;
                    break;
                }
                item.append(text[pos++]);
            }
        } else {
            const qsizetype start = pos;
            while (pos < size && text[pos] != separator && text[pos].unicode() >= 32)
                ++pos;
            item = text.mid(start, pos - start);
        }
        list.append(item);
        skip();
        if (pos < size && text[pos] == separator) {
            ++pos;
            skip();
        }
    }
}

std::optional<qint32> parseSkinInteger(const QString& text)
{
    qsizetype pos = 0;
    const qsizetype size = text.size();
    while (pos < size && text[pos] == u' ')
        ++pos;
    bool negative = false;
    if (pos < size && (text[pos] == u'-' || text[pos] == u'+')) {
        negative = text[pos] == u'-';
        ++pos;
    }
    bool hex = false;
    if (pos < size && (text[pos] == u'$' || text[pos] == u'x' || text[pos] == u'X')) {
        hex = true;
        ++pos;
    } else if (pos + 1 < size && text[pos] == u'0' && (text[pos + 1] == u'x' || text[pos + 1] == u'X')) {
        hex = true;
        pos += 2;
    }
    if (pos >= size)
        return std::nullopt;

    quint64 magnitude = 0;
    const quint64 limit = hex ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    for (; pos < size; ++pos) {
        const int digit = hexDigit(text[pos]);
        if (digit < 0 || (!hex && digit > 9))
            return std::nullopt;
        magnitude = magnitude * (hex ? 16 : 10) + static_cast<quint64>(digit);
        if (magnitude > limit)
            return std::nullopt;
    }
    // A hexadecimal number is a 32-bit pattern: $FFFFFFFF reads as -1.
    const auto bits = static_cast<quint32>(magnitude);
    return static_cast<qint32>(negative ? 0u - bits : bits);
}
