#pragma once

#include <QString>

// The slot folders of the track library. Libraries come from Windows, where "aquatica" is the folder
// of Aquatica: a slot's folder is found in whatever letter case the library spells it, by the scan,
// the folder check, the start command and the add command alike.
namespace library {

// `<trackDir><slot>` as the library spells it; `trackDir + slot` when the library has no such folder.
QString slotFolder(const QString& trackDir, const QString& slot);

} // namespace library
