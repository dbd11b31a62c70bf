#include "platform/FileSystem.h"

#include "platform/FsNative.h"
#include "platform/FsWildcard.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::fs {

QStringList findEntries(const QString& folder, const QString& pattern)
{
    QStringList found;
    for (const QString& name : native::listNames(folder)) {
        if (matchesWindowsPattern(name, pattern))
            found.append(name);
    }
    return found;
}

int listingError(const QString& folder)
{
    DIR* dir = opendir(native::encodePath(folder).constData());
    if (!dir)
        return errno;
    closedir(dir);
    return 0;
}

bool fileExists(const QString& path)
{
    struct stat info;
    return native::statTarget(path, info) && !S_ISDIR(info.st_mode);
}

bool folderExists(const QString& path)
{
    struct stat info;
    return native::statTarget(path, info) && S_ISDIR(info.st_mode);
}

bool entryExists(const QString& path)
{
    struct stat info;
    return native::statEntry(path, info);
}

QString findNameIgnoringCase(const QString& folder, const QString& name)
{
    if (name.isEmpty())
        return {};
    QString best;
    for (const QString& candidate : native::listNames(folder)) {
        if (candidate == name)
            return candidate;
        // Several case variants can live side by side on Linux: take the same one every time.
        if (sameNameIgnoringCase(candidate, name) && (best.isEmpty() || candidate < best))
            best = candidate;
    }
    return best;
}

QString resolveIgnoringCase(const QString& path)
{
    const QString name = native::nameOf(path);
    const QString existing = findNameIgnoringCase(native::folderOf(path), name);
    if (existing.isEmpty())
        return path;
    return path.left(path.size() - name.size()) + existing;
}

bool removeFile(const QString& path)
{
    struct stat info;
    if (!native::statEntry(path, info))
        return false;
    if (S_ISDIR(info.st_mode)) {
        errno = EISDIR;
        return false;
    }
    return unlink(native::encodePath(path).constData()) == 0;
}

bool createFolder(const QString& path)
{
    const QByteArray encoded = native::encodePath(path);
    return !encoded.isEmpty() && mkdir(encoded.constData(), 0777) == 0;
}

bool removeFolder(const QString& path)
{
    const QByteArray encoded = native::encodePath(path);
    return !encoded.isEmpty() && rmdir(encoded.constData()) == 0;
}

bool fileIsLocked(const QString& path)
{
    const native::FileDescriptor file(open(native::encodePath(path).constData(), O_RDONLY | O_CLOEXEC));
    // Closing the descriptor lets go of the lock if this process got it.
    return file.isOpen() && flock(file.get(), LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
}

bool flushFolder(const QString& folder)
{
    const int error = native::syncFolder(folder);
    errno = error;
    return error == 0;
}

} // namespace platform::fs
