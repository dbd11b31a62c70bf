#include "platform/ScratchFiles.h"

#include "platform/FsNative.h"

#include <QByteArray>
#include <QList>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

enum class Kind
{
    None,
    File,
    Folder
};

bool isScratchName(const QByteArray& name, const QByteArray& prefix, qsizetype length)
{
    if (!name.startsWith(prefix) || name.size() != prefix.size() + length)
        return false;
    for (const char c : name.mid(prefix.size())) {
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            return false;
    }
    return true;
}

// The names are those of mkostemp() in the file layer's move and safe write, and of the archiver's
// private folder.
Kind scratchKind(const QByteArray& name, ScratchKinds kinds)
{
    if ((kinds.testFlag(Scratch::MoveCopies) && isScratchName(name, ".rovex-move-", 6)) ||
        (kinds.testFlag(Scratch::SafeWrites) && isScratchName(name, ".rovex-write-", 6)))
        return Kind::File;
    if (kinds.testFlag(Scratch::ArchiverFolders) && isScratchName(name, ".7zip-", 8))
        return Kind::Folder;
    return Kind::None;
}

// The names in the open folder `folderFd`, read through a descriptor of its own.
QList<QByteArray> namesIn(int folderFd)
{
    QList<QByteArray> names;
    const int listingFd = openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listingFd < 0)
        return names;
    DIR* listing = fdopendir(listingFd);
    if (!listing) {
        close(listingFd);
        return names;
    }
    while (const dirent* entry = readdir(listing)) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..")
            names.append(name);
    }
    closedir(listing);
    return names;
}

// Whether `name` in `folderFd` is, without following a link, of the given type.
bool isOfType(int folderFd, const QByteArray& name, mode_t type)
{
    struct stat info;
    return fstatat(folderFd, name.constData(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
           (info.st_mode & S_IFMT) == type;
}

// Everything goes through descriptors: a link put in place of a checked folder cannot lead the
// removal elsewhere.
void removeExtractionFolder(int parentFd, const QByteArray& name)
{
    const fs::native::FileDescriptor folder(
        openat(parentFd, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!folder.isOpen())
        return;
    for (const QByteArray& inner : namesIn(folder.get())) {
        if (isOfType(folder.get(), inner, S_IFREG))
            unlinkat(folder.get(), inner.constData(), 0);
    }
    unlinkat(parentFd, name.constData(), AT_REMOVEDIR);
}

} // namespace

void removeScratchFiles(const QString& folder, ScratchKinds kinds)
{
    const QByteArray path = fs::native::encodePath(folder);
    const fs::native::FileDescriptor parent(
        path.isEmpty() ? -1 : open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!parent.isOpen())
        return;
    for (const QByteArray& name : namesIn(parent.get())) {
        switch (scratchKind(name, kinds)) {
        case Kind::File:
            if (isOfType(parent.get(), name, S_IFREG))
                unlinkat(parent.get(), name.constData(), 0);
            break;
        case Kind::Folder:
            if (isOfType(parent.get(), name, S_IFDIR))
                removeExtractionFolder(parent.get(), name);
            break;
        case Kind::None:
            break;
        }
    }
}

} // namespace platform
