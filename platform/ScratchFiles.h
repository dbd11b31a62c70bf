#pragma once

#include <QString>

namespace platform {

// Removes from `folder` what the program's own work leaves behind when a run is cut short: the
// temporary copies of moves across file systems (".rovex-move-" and six letters or digits), the
// temporary files of safe writes (".rovex-write-" and six), both only as plain files, and the
// archiver's private extraction folders (".7zip-" and eight) with the plain files in them. Nothing
// else is touched: no other name, no link (and nothing behind one), no folder inside an extraction
// folder, which then stays. A missing folder is passed over.
void removeScratchFiles(const QString& folder);

} // namespace platform
