#pragma once

#include <QtGlobal>

// The memory figures of the running process, in bytes; -1 when unknown.
namespace ProcessMemory {

// The peak resident set so far (VmHWM).
qint64 peakResident();
// Bytes of the process now in memory (VmRSS). Unlike malloc's own counts it
// leaves out address space reserved but never touched, as the alignment of
// large blocks leaves.
qint64 resident();

} // namespace ProcessMemory
