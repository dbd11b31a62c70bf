#pragma once

#include "app/FolderLock.h"

#include <QString>

class QWidget;

// One running copy per home folder. Two copies would interleave their moves in the same game folders
// and write "options.dat" over each other, so the first copy keeps a lock file in the home folder for
// as long as it runs. A copy that ended without letting go (killed, crashed) leaves a lock that the
// next copy takes over.
class SingleCopy
{
public:
    // `homeDir`: the home folder as the program addresses its files through it.
    explicit SingleCopy(const QString& homeDir);

    // Takes the home folder for this copy. False when another copy holds it or the lock file cannot be
    // made; the user has been told and nothing else has been written.
    bool claim(QWidget* parent);

private:
    FolderLock m_lock;
};
