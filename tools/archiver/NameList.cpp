#include "tools/archiver/NameList.h"

#include "tools/archiver/FlatName.h"
#include "tools/archiver/RegularFile.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace {

// Reads at most `limit` + 1 bytes, so a file that grew past the limit is noticed.
bool readUpTo(int fd, qint64 limit, QByteArray* content)
{
    content->resize(limit + 1);
    qint64 got = 0;
    while (got < content->size()) {
        const ssize_t n = read(fd, content->data() + got, size_t(content->size() - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            break;
        got += n;
    }
    content->truncate(got);
    return true;
}

} // namespace

bool NameList::load(const QByteArray& path, NameList* list, QString* error)
{
    const QString shown = QFile::decodeName(path);
    QString reason;
    const int fd = openRegularFile(path, &reason);
    if (fd < 0) {
        *error = QStringLiteral("cannot read the list file %1: %2").arg(shown, reason);
        return false;
    }
    QByteArray content;
    const bool read = readUpTo(fd, MaxFileBytes, &content);
    const int readErrno = errno;
    close(fd);
    if (!read) {
        *error = QStringLiteral("cannot read the list file %1: %2")
                     .arg(shown, QString::fromLocal8Bit(strerror(readErrno)));
        return false;
    }
    if (content.size() > MaxFileBytes) {
        *error = QStringLiteral("the list file %1 is larger than %2 bytes").arg(shown).arg(MaxFileBytes);
        return false;
    }
    if (!parse(content, list, error)) {
        *error = QStringLiteral("the list file %1 %2").arg(shown, *error);
        return false;
    }
    return true;
}

bool NameList::parse(const QByteArray& content, NameList* list, QString* error)
{
    *list = NameList();
    list->m_acceptsAll = false;
    const QByteArray text = content.startsWith("\xEF\xBB\xBF") ? content.mid(3) : content;
    for (const QByteArray& line : text.split('\n')) {
        const QByteArray name = line.trimmed();
        if (!name.isEmpty())
            list->m_keys.insert(nameKey(utf8Name(name)));
    }
    if (list->m_keys.isEmpty()) {
        *error = QStringLiteral("names no file");
        return false;
    }
    return true;
}

bool NameList::accepts(const QByteArray& flatName) const
{
    return m_acceptsAll || m_keys.contains(nameKey(flatName));
}
