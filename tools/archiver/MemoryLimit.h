#pragma once

#include <QtGlobal>

// The most memory the archiver takes. Decoders allocate what an archive's header asks for (an LZMA
// dictionary may be declared at gigabytes in a file of a few hundred bytes); past this bound the
// allocation fails and the archive is refused instead of the machine running out of memory.
constexpr qint64 MemoryLimitBytes = qint64(512) << 20;

// Bounds this process's heap to MemoryLimitBytes.
void limitMemory();
