#include "app/LibraryFolders.h"

#include "platform/FileSystem.h"

namespace library {

QString slotFolder(const QString& trackDir, const QString& slot)
{
    const QString exact = trackDir + slot;
    if (platform::fs::folderExists(exact))
        return exact;
    const QString found = platform::fs::resolveIgnoringCase(exact);
    return platform::fs::folderExists(found) ? found : exact;
}

} // namespace library
