#include "platform/FileSystem.h"
#include "platform/FsNative.h"

#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::fs {
namespace {

// The file the bytes belong in: a link is followed, so that the link stays and its file is updated.
QString finalTarget(const QString& path)
{
    struct stat info;
    if (native::statEntry(path, info) && S_ISLNK(info.st_mode)) {
        const QString resolved = QFileInfo(path).canonicalFilePath();
        if (!resolved.isEmpty())
            return resolved;
    }
    return path;
}

// The error text; errno keeps the error for callers that word it themselves.
QString failure(const QString& path, int error)
{
    const QString text = QStringLiteral("Cannot write %1: %2").arg(path, native::errorText(error));
    errno = error;
    return text;
}

} // namespace

QString writeFileAtomically(const QString& path, const QByteArray& contents)
{
    const QString target = finalTarget(path);
    const QByteArray target8 = native::encodePath(target);
    if (target8.isEmpty() || native::nameOf(target).isEmpty())
        return failure(path, ENOENT);
    struct stat old;
    if (native::statTarget(target, old) && S_ISDIR(old.st_mode))
        return failure(path, EISDIR);
    const bool replacing = native::statTarget(target, old);

    QByteArray temporary =
        native::encodePath(native::folderOf(target) + QStringLiteral("/.rovex-write-XXXXXX"));
    native::FileDescriptor file(mkostemp(temporary.data(), O_CLOEXEC));
    if (!file.isOpen())
        return failure(path, errno);
    // A new file gets the usual permissions of the user, a replaced one keeps its own.
    mode_t mode = old.st_mode & 07777;
    if (!replacing) {
        const mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    const bool written = native::writeAll(file.get(), contents.constData(), contents.size()) &&
                         fchmod(file.get(), mode) == 0 && fsync(file.get()) == 0 && file.close() &&
                         rename(temporary.constData(), target8.constData()) == 0;
    if (!written) {
        const int error = errno;
        unlink(temporary.constData());
        return failure(path, error);
    }
    if (const int error = native::syncFolder(native::folderOf(target)))
        return failure(path, error);
    return {};
}

} // namespace platform::fs
