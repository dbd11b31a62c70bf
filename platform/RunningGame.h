#pragma once

#include <QList>
#include <QString>

// Whether a program is running, as Windows would tell it by the program's file name. Under Wine a
// Windows program is a Linux process whose name is the program's file name and whose first argument is
// its Windows path ("C:\Games\NFS\nfshs.exe"); natively started copies carry a Linux path instead.
namespace platform {

// The ids of the processes whose name or first argument names `program` (a file name such as
// "nfshs.exe"), in any letter case and with any folder before it. Processes that have ended but are
// not yet reaped do not count. `procRoot` is the process table to read: "/proc" but in tests. The order
// is the table's.
QList<qint64> runningProcesses(const QString& program, const QString& procRoot = QStringLiteral("/proc"));

} // namespace platform
