#pragma once

#include <QString>

// The path of the picture file that a skin file names `name`, in the skin folder `folder` (ending
// with "/"). Skins made on Windows write subfolders with "\" and, in a skin file in the Windows code
// page, names that keep that code page's bytes on disk when unpacked from a Windows archive: such a
// file is found by those bytes (see platform/FileName.h). Without one, the name is taken as read.
QString picturePath(const QString& folder, QString name);
