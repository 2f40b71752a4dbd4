#pragma once

#include <QtGlobal>

// The memory figures of the running process, in bytes; -1 when unknown.
namespace ProcessMemory {

// The peak resident set so far (VmHWM).
qint64 peakResident();
// Heap bytes handed out by malloc and not yet freed (mallinfo2 with glibc).
qint64 heapInUse();

} // namespace ProcessMemory
