#include "platform/FsNative.h"

#include "platform/FileName.h"

#include <QFile>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace platform::fs::native {

QByteArray encodePath(const QString& path)
{
    if (path.contains(QChar(u'\0')))
        return {};
    return encodeFileName(path);
}

QString errorText(int error)
{
    return qt_error_string(error);
}

QStringList listNames(const QString& folder)
{
    QStringList names;
    DIR* dir = opendir(encodePath(folder).constData());
    if (!dir)
        return names;
    while (const dirent* entry = readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name == "." || name == "..")
            continue;
        names.append(decodeFileName(name));
    }
    closedir(dir);
    return names;
}

bool statEntry(const QString& path, struct stat& info)
{
    const QByteArray encoded = encodePath(path);
    return !encoded.isEmpty() && lstat(encoded.constData(), &info) == 0;
}

bool statTarget(const QString& path, struct stat& info)
{
    const QByteArray encoded = encodePath(path);
    return !encoded.isEmpty() && stat(encoded.constData(), &info) == 0;
}

QString folderOf(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    if (slash < 0)
        return QStringLiteral(".");
    if (slash == 0)
        return QStringLiteral("/");
    return path.left(slash);
}

QString nameOf(const QString& path)
{
    return path.mid(path.lastIndexOf(u'/') + 1);
}

FileDescriptor::~FileDescriptor()
{
    close();
}

bool FileDescriptor::close()
{
    if (m_fd < 0)
        return true;
    const int fd = m_fd;
    m_fd = -1;
    return ::close(fd) == 0;
}

bool writeAll(int fd, const char* data, qsizetype size)
{
    while (size > 0) {
        const ssize_t written = write(fd, data, static_cast<size_t>(size));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

int syncFolder(const QString& folder)
{
    const FileDescriptor dir(open(encodePath(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir.isOpen())
        return errno;
    return fsync(dir.get()) == 0 || errno == EINVAL ? 0 : errno;
}

} // namespace platform::fs::native
