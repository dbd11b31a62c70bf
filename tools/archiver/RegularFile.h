#pragma once

#include <QByteArray>
#include <QString>

// Opens `path` for reading only when it is a regular file. A FIFO, a device or a folder is refused
// without blocking: opening a FIFO for reading would wait for a writer, and /dev/zero never ends.
// Returns the descriptor (close-on-exec, blocking reads) or -1 with the reason in `error`.
int openRegularFile(const QByteArray& path, QString* error);
