#pragma once

#include <QList>
#include <QString>

// Whether a program is running, as Windows would tell it by the program's file name. Under Wine a
// Windows program is a Linux process whose name is the program's file name and whose first argument is
// its Windows path ("C:\Games\NFS\nfshs.exe"); in its first moments it is still Wine's loader
// ("wine64 C:\Games\NFS\NFSHS.EXE", the preloader before it). Natively started copies carry a Linux
// path instead.
namespace platform {

// The ids of this user's processes whose name, first argument, or first argument after Wine's loaders
// names `program` (a file name such as "nfshs.exe"), in any letter case and with any folder before it.
// Processes that have ended but are not yet reaped do not count. `procRoot` is the process table to
// read; empty reads processTable(). The order is the table's.
QList<qint64> runningProcesses(const QString& program, const QString& procRoot = QString());

// The process table the program looks at: "/proc", unless another folder laid out like it was set.
QString processTable();
void setProcessTable(const QString& folder);

} // namespace platform
