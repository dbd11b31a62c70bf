#pragma once

#include <QByteArray>
#include <QSet>
#include <QString>

// The names a list file asks for, one per line (CR LF or LF), compared without regard to letter case.
class NameList
{
public:
    // A list that accepts every name: no list file was given.
    NameList() = default;

    // Reads `path`. Blank lines are ignored and blanks around a name are dropped; a UTF-8 byte-order
    // mark at the start is skipped. Returns false with a reason when the file cannot be read.
    static bool load(const QByteArray& path, NameList* list, QString* error);

    bool accepts(const QByteArray& flatName) const;

private:
    bool m_acceptsAll = true;
    QSet<QString> m_names;
};
