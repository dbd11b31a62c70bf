#pragma once

#include <QtGlobal>

// Whether process `pid` still runs: it exists and has not ended (an ended one that nobody has
// reaped yet does not count).
bool processIsRunning(qint64 pid);
