#pragma once

#include <QFlags>
#include <QString>

namespace platform {

// What the program's own work leaves behind when a run is cut short, each only where that work makes it.
enum class Scratch
{
    SafeWrites = 0x1,      // ".rovex-write-" and six letters or digits: a safe write's temporary file
    MoveCopies = 0x2,      // ".rovex-move-" and six: a move's copy across file systems, beside its target
    ArchiverFolders = 0x4, // ".7zip-" and eight: the archiver's private folder, in or beside its output
};
Q_DECLARE_FLAGS(ScratchKinds, Scratch)
Q_DECLARE_OPERATORS_FOR_FLAGS(ScratchKinds)

// Removes from `folder` the entries of the given kinds: the temporary files only as plain files, the
// extraction folders with the plain files in them. Nothing else is touched: no other name, no link
// (and nothing behind one), no folder inside an extraction folder, which then stays. A missing folder
// is passed over.
void removeScratchFiles(const QString& folder, ScratchKinds kinds);

} // namespace platform
