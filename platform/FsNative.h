#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <sys/stat.h>

// The file layer's bridge to the Linux system calls: path encoding, errno texts, entry listing.
namespace platform::fs::native {

// `path` in the file system's encoding (see FileName.h); empty (so every system call fails) for a path holding a NUL,
// which would otherwise silently name a different, shorter path.
QByteArray encodePath(const QString& path);

// The text of an errno value, for error messages.
QString errorText(int error);

// Every name in `folder` except "." and ".." in the order the file system gives them; names that are
// not valid UTF-8 keep their bytes (see FileName.h). A missing or unreadable folder gives none.
QStringList listNames(const QString& folder);

// lstat()/stat() of a path; false when there is nothing (or it cannot be examined).
bool statEntry(const QString& path, struct stat& info);
bool statTarget(const QString& path, struct stat& info);

// The folder part and the last component of a path: "/a/b/c" gives "/a/b" and "c", "c" gives "." and
// "c", "/c" gives "/" and "c". A trailing "/" leaves the name empty.
QString folderOf(const QString& path);
QString nameOf(const QString& path);

// Owns an open file descriptor and closes it once.
class FileDescriptor
{
public:
    explicit FileDescriptor(int fd = -1)
        : m_fd(fd)
    {
    }
    ~FileDescriptor();
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return m_fd; }
    bool isOpen() const { return m_fd >= 0; }
    // Closes now and reports the result: a delayed write error can show up only here.
    bool close();

private:
    int m_fd;
};

// Writes all `size` bytes, resuming after interruptions and partial writes. False with errno set.
bool writeAll(int fd, const char* data, qsizetype size);

// Flushes a folder's entries to disk, so that a rename into it survives a power cut. Returns errno, 0
// on success; file systems that cannot flush folders (EINVAL) count as success.
int syncFolder(const QString& folder);

} // namespace platform::fs::native
