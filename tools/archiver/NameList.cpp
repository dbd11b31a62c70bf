#include "tools/archiver/NameList.h"

#include "tools/archiver/FlatName.h"

#include <QFile>

bool NameList::load(const QByteArray& path, NameList* list, QString* error)
{
    QFile file(QFile::decodeName(path));
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read the list file %1: %2").arg(file.fileName(), file.errorString());
        return false;
    }
    QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *error = QStringLiteral("cannot read the list file %1: %2").arg(file.fileName(), file.errorString());
        return false;
    }
    if (content.startsWith("\xEF\xBB\xBF"))
        content.remove(0, 3);
    *list = NameList();
    list->m_acceptsAll = false;
    for (const QByteArray& line : content.split('\n')) {
        const QByteArray name = line.trimmed();
        if (!name.isEmpty())
            list->m_names.insert(comparableName(name));
    }
    return true;
}

bool NameList::accepts(const QByteArray& flatName) const
{
    return m_acceptsAll || m_names.contains(comparableName(flatName));
}
