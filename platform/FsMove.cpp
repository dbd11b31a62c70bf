#include "platform/FileSystem.h"
#include "platform/FsNative.h"
#include "platform/FsWildcard.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::fs {
namespace {

using native::encodePath;

bool sameEntry(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool sameFolder(const QString& a, const QString& b)
{
    struct stat first;
    struct stat second;
    return native::statTarget(native::folderOf(a), first) &&
           native::statTarget(native::folderOf(b), second) && sameEntry(first, second);
}

enum class Target
{
    Free,
    Taken,
    IsSource
};

// Windows sees a name that differs from an existing one only in letter case as taken. The one
// exception is the source itself: renaming "tr.frd" to "Tr.frd" in its own folder is allowed.
Target examineTarget(const QString& from, const struct stat& source, const QString& to)
{
    const QString folder = native::folderOf(to);
    const QString name = native::nameOf(to);
    Target result = Target::Free;
    for (const QString& existing : native::listNames(folder)) {
        if (!sameNameIgnoringCase(existing, name))
            continue;
        struct stat info;
        const bool isSource = existing == native::nameOf(from) && sameFolder(from, to) &&
                              native::statEntry(folder + u'/' + existing, info) && sameEntry(info, source);
        if (!isSource)
            return Target::Taken;
        if (existing == name)
            result = Target::IsSource;
    }
    return result;
}

// Without the kernel's no-replace rename only a check followed by a rename is left; another
// process could slip in between, but this program never races itself for these names.
bool renameIfAbsent(const QByteArray& from, const QByteArray& to)
{
    struct stat info;
    if (lstat(to.constData(), &info) == 0) {
        errno = EEXIST;
        return false;
    }
    return rename(from.constData(), to.constData()) == 0;
}

// A second name for the entry cannot replace anything: link() fails when the target exists.
bool relinkNoReplace(const QByteArray& from, const QByteArray& to)
{
    if (link(from.constData(), to.constData()) != 0) {
        if (errno == EPERM || errno == EOPNOTSUPP)
            return renameIfAbsent(from, to); // a file system without hard links
        return false;
    }
    if (unlink(from.constData()) != 0) {
        const int error = errno;
        unlink(to.constData());
        errno = error;
        return false;
    }
    return true;
}

// Rename within one file system that never replaces; file systems without RENAME_NOREPLACE get
// the link-and-unlink way for files.
bool renameNoReplace(const QByteArray& from, const QByteArray& to, bool isFolder)
{
    if (renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    return isFolder ? renameIfAbsent(from, to) : relinkNoReplace(from, to);
}

bool copyContents(int from, int to)
{
    std::array<char, 1 << 16> buffer;
    for (;;) {
        const ssize_t got = read(from, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return got == 0;
        if (!native::writeAll(to, buffer.data(), got))
            return false;
    }
}

// A full copy under a temporary name beside the target, flushed to disk, with the source's mode
// and times. Returns the temporary's name, empty (errno set, nothing left behind) on failure.
QByteArray copyBesideTarget(const QByteArray& from, const struct stat& source, const QString& to)
{
    const native::FileDescriptor input(open(from.constData(), O_RDONLY | O_CLOEXEC));
    if (!input.isOpen())
        return {};
    QByteArray temporary = encodePath(native::folderOf(to) + QStringLiteral("/.rovex-move-XXXXXX"));
    native::FileDescriptor output(mkostemp(temporary.data(), O_CLOEXEC));
    if (!output.isOpen())
        return {};
    const std::array<timespec, 2> times{source.st_atim, source.st_mtim};
    const bool copied =
        copyContents(input.get(), output.get()) && fchmod(output.get(), source.st_mode & 07777) == 0 &&
        futimens(output.get(), times.data()) == 0 && fsync(output.get()) == 0 && output.close();
    if (!copied) {
        const int error = errno;
        unlink(temporary.constData());
        errno = error;
        return {};
    }
    return temporary;
}

// Different file systems: the target is complete and on disk before the source goes. Folders are
// not carried across file systems: the program moves only files between the library, its work
// folders and the game, and a half-copied folder tree could not be undone safely.
bool moveAcrossFileSystems(const QByteArray& from, const struct stat& source, const QString& to)
{
    const QByteArray target = encodePath(to);
    if (S_ISLNK(source.st_mode)) {
        QByteArray link(source.st_size + 1, '\0');
        const ssize_t length = readlink(from.constData(), link.data(), link.size());
        if (length < 0 || length >= link.size() ||
            symlink(link.left(length).constData(), target.constData()) != 0)
            return false;
    } else if (S_ISREG(source.st_mode)) {
        const QByteArray temporary = copyBesideTarget(from, source, to);
        if (temporary.isEmpty())
            return false;
        if (!renameNoReplace(temporary, target, false)) {
            const int error = errno;
            unlink(temporary.constData());
            errno = error;
            return false;
        }
        native::syncFolder(native::folderOf(to));
    } else {
        errno = EXDEV;
        return false;
    }
    if (unlink(from.constData()) != 0) {
        const int error = errno;
        unlink(target.constData());
        errno = error;
        return false;
    }
    return true;
}

} // namespace

bool moveNoReplace(const QString& from, const QString& to)
{
    struct stat source;
    if (!native::statEntry(from, source) || native::nameOf(to).isEmpty() || encodePath(to).isEmpty())
        return false;
    switch (examineTarget(from, source, to)) {
    case Target::Taken:
        errno = EEXIST;
        return false;
    case Target::IsSource:
        return true; // already there under that very name
    case Target::Free:
        break;
    }
    const QByteArray source8 = encodePath(from);
    const QByteArray target8 = encodePath(to);
    if (renameNoReplace(source8, target8, S_ISDIR(source.st_mode)))
        return true;
    if (errno == EXDEV)
        return !S_ISDIR(source.st_mode) && moveAcrossFileSystems(source8, source, to);
    struct stat existing;
    // A case-insensitive file system reports the source itself as the existing target of a
    // rename that only changes letter case.
    if (errno == EEXIST && lstat(target8.constData(), &existing) == 0 && sameEntry(existing, source))
        return rename(source8.constData(), target8.constData()) == 0;
    return false;
}

} // namespace platform::fs
