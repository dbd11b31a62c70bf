#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// File operations with the Windows file-name rules the game folders rely on: the game is a Windows
// program whose files live on a case-sensitive Linux file system. Paths use "/"; a doubled "/" is harmless.
namespace platform::fs {

// Names of the entries of `folder` that match a Windows search pattern ("*.zip", "0*.*", "*.*"):
// "*" and "?" wildcards, letters compared without regard to case, "*.*" matching every name.
// Entries of every kind count (files, folders, dot-files); "." and ".." are never returned.
// A missing or unreadable folder gives an empty list. The order is not sorted. A trailing ".*" also
// matches names without a dot ("0*.*" finds "0Tr"). Names that are not valid UTF-8 come back with
// their bytes escaped (see FileName.h), so that every function here opens them again.
QStringList findEntries(const QString& folder, const QString& pattern);

// 0 when the entries of `folder` can be listed; otherwise the errno that stops it (ENOENT when there is
// no such folder), so that an unreadable folder is not taken for an empty one.
int listingError(const QString& folder);

bool fileExists(const QString& path);   // a file (not a folder) is there
bool folderExists(const QString& path); // a folder is there
bool entryExists(const QString& path);  // anything is there (a dangling link too)

// The name of the entry of `folder` that equals `name` without regard to letter case; an exact match
// wins over the others. Empty when there is none.
QString findNameIgnoringCase(const QString& folder, const QString& name);

// `path` with its last component replaced by the existing entry of that folder that matches it
// without regard to letter case; `path` unchanged when none does.
QString resolveIgnoringCase(const QString& path);

// Rename or move `from` to `to` without ever replacing an existing target: a target that exists, or
// that differs from an existing entry only in letter case, makes it fail. Works across file systems
// (copy to a temporary name in the target folder, flush, rename into place, then delete the source).
// A failure leaves source and target as they were. Returns whether it moved. Giving an entry another
// letter case of its own name is allowed; folders move only within one file system.
bool moveNoReplace(const QString& from, const QString& to);

bool removeFile(const QString& path);   // a file or link, never a folder
bool createFolder(const QString& path); // one level, like mkdir
bool removeFolder(const QString& path); // only when empty

// Flushes the entries of `folder` (renames, new and deleted names) to disk, so that they survive a
// power cut. False with errno set when that fails; file systems that cannot flush folders succeed.
bool flushFolder(const QString& folder);

// Whether another process holds an exclusive lock (flock) on the file: QLockFile's holder keeps its
// lock file so locked for as long as it runs, so a dead holder's file is not locked.
bool fileIsLocked(const QString& path);

// Writes `contents` to `path` so that a failure at any moment leaves the old file whole: a temporary
// file beside it, flushed to disk, renamed over the old one. Returns an error text, empty on success;
// errno tells the error then.
QString writeFileAtomically(const QString& path, const QByteArray& contents);

} // namespace platform::fs
