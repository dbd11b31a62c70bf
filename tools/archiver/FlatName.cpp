#include "tools/archiver/FlatName.h"

#include <algorithm>

QByteArray flatName(const QByteArray& entryPath)
{
    const qsizetype separator = std::max(entryPath.lastIndexOf('/'), entryPath.lastIndexOf('\\'));
    const QByteArray last = entryPath.mid(separator + 1);
    if (last.isEmpty() || last == "." || last == "..")
        return QByteArray();
    return last;
}

QString comparableName(const QByteArray& name)
{
    return QString::fromUtf8(name).toCaseFolded();
}
