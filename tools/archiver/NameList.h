#pragma once

#include <QByteArray>
#include <QSet>

// The names a list file asks for, one per line (CR LF or LF), compared without regard to letter case.
class NameList
{
public:
    // The largest list file read: the callers list a few dozen names.
    static constexpr qint64 MaxFileBytes = 1024 * 1024;

    // A list that accepts every name: no list file was given.
    NameList() = default;

    // Reads `path`. Blank lines are ignored and blanks around a name are dropped; a UTF-8 byte-order
    // mark at the start is skipped. Returns false with a reason when the file cannot be read, is not
    // a regular file, is larger than MaxFileBytes or names nothing.
    static bool load(const QByteArray& path, NameList* list, QString* error);

    // Reads list file content already in memory; the same rules as load().
    static bool parse(const QByteArray& content, NameList* list, QString* error);

    bool accepts(const QByteArray& flatName) const;

private:
    bool m_acceptsAll = true;
    QSet<QByteArray> m_keys;
};
