#include "platform/IniFile.h"

#include "platform/TextCodec.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStringDecoder>

// The rules of the Windows reader, which skin files made on Windows rely on:
// - lines end at CR, LF or CR LF; a UTF-8 byte-order mark at the start is skipped, and a UTF-16 one
//   (Notepad's "Unicode") makes the file UTF-16 of that byte order;
// - a header is a line whose first non-blank character is "[" and that holds a "]"; its name is the
//   text up to the first "]", trimmed; a "[" line without "]" is read like any other line;
// - a key line holds "="; key and value are trimmed of blanks and tabs; ";" and "#" are not special;
// - names compare without regard to ASCII letter case; the first section of a name and in it the
//   first key of a name win;
// - a value enclosed whole in the same quote (' or ") loses both; at most 2047 characters count.
namespace platform {
namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

QString trimBlanks(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin).toString();
}

// Only ASCII letters fold, as in the Windows reader; other letters compare exactly.
QString asciiLower(const QString& name)
{
    QString folded = name;
    for (QChar& c : folded) {
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    }
    return folded;
}

QString unquoted(const QString& value)
{
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

QString decodeIniText(const QByteArray& bytes)
{
    if (bytes.startsWith("\xFF\xFE"))
        return QStringDecoder(QStringDecoder::Utf16LE).decode(bytes.mid(2));
    if (bytes.startsWith("\xFE\xFF"))
        return QStringDecoder(QStringDecoder::Utf16BE).decode(bytes.mid(2));
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return decodeText(bytes.mid(3));
    return decodeText(bytes);
}

} // namespace

IniFile::IniFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        m_status = Status::Missing;
        return;
    }
    if (!info.isFile()) {
        m_status = Status::NotAFile;
        return;
    }
    if (info.size() > MaxFileBytes) {
        m_status = Status::TooLarge;
        return;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_status = Status::Unreadable;
        return;
    }
    const QByteArray bytes = file.read(MaxFileBytes + 1);
    if (bytes.size() > MaxFileBytes) {
        m_status = Status::TooLarge; // it grew since it was looked at
        return;
    }
    m_status = Status::Read;
    parse(decodeIniText(bytes));
}

void IniFile::parse(const QString& text)
{
    QSet<QString> seenSections{QString()};
    QString current;       // keys before any header belong to the section ""
    bool ignoring = false; // inside a repeated section, which does not count

    qsizetype pos = 0;
    while (pos < text.size()) {
        qsizetype end = pos;
        while (end < text.size() && text[end] != u'\r' && text[end] != u'\n')
            ++end;
        const QStringView line = QStringView(text).mid(pos, end - pos);
        pos = (end + 1 < text.size() && text[end] == u'\r' && text[end + 1] == u'\n') ? end + 2 : end + 1;

        qsizetype first = 0;
        while (first < line.size() && isBlank(line[first]))
            ++first;
        if (first < line.size() && line[first] == u'[') {
            const qsizetype close = line.indexOf(u']', first);
            if (close >= 0) {
                current = asciiLower(trimBlanks(line.mid(first + 1, close - first - 1)));
                ignoring = seenSections.contains(current);
                seenSections.insert(current);
                continue;
            }
        }
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0 || ignoring)
            continue;
        QHash<QString, QString>& keys = m_sections[current];
        const QString key = asciiLower(trimBlanks(line.left(equals)));
        if (!keys.contains(key))
            keys.insert(key, unquoted(trimBlanks(line.mid(equals + 1))).left(MaxValueLength));
    }
}

QString IniFile::value(const QString& section, const QString& key, const QString& defaultValue) const
{
    const auto sectionIt = m_sections.constFind(asciiLower(trimBlanks(section)));
    if (sectionIt == m_sections.constEnd())
        return defaultValue;
    const auto keyIt = sectionIt->constFind(asciiLower(trimBlanks(key)));
    return keyIt == sectionIt->constEnd() ? defaultValue : *keyIt;
}

} // namespace platform
