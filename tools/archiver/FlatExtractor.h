#pragma once

#include "tools/archiver/ExitCode.h"
#include "tools/archiver/Limits.h"
#include "tools/archiver/NameList.h"

#include <QByteArray>

// Extracts the files of `archive` that `wanted` accepts into `outputDir`, without their folders,
// all or nothing: the output folder changes only when the whole archive was read without error and
// within `limits`. Of two files with the same name (letter case aside) the first in archive order
// wins. Folders, links and devices are skipped. Problems are reported on stderr.
ExitCode extractFlat(const QByteArray& archive, const QByteArray& outputDir, const NameList& wanted,
                     const Limits& limits = Limits());
