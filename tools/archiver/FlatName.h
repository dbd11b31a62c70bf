#pragma once

#include <QByteArray>

// The name an archive entry gets in the output folder: the last component of its path, with both
// "/" and "\" taken as separators (archives made on Windows use either). Empty when the entry has
// no usable name ("", "." or ".."), which means it is skipped.
QByteArray flatName(const QByteArray& entryPath);

// An entry name as UTF-8. Archives made on Linux and zips marked as UTF-8 hold UTF-8 already; zips
// made on Windows without that mark hold the DOS code page of the system that made them (CP866 for
// Russian) or, from some archivers, the Windows one (Windows-1251). Such a name is read in whichever
// of the two gives more Russian letters, CP866 on a tie. Both code pages map every byte to its own
// character, so different names stay different.
QByteArray utf8Name(const QByteArray& entryPath);

// The form in which names compare: without regard to letter case, as on Windows. A name that is not
// UTF-8 (a file another program left in the output folder) compares by its bytes, so it can only
// equal itself.
QByteArray nameKey(const QByteArray& name);
