#pragma once
// The memory of this machine and of its processes as /proc tells it; used inside the
// engine to size the pool and to recycle or stop offices that hold too much.

#include <chrono>
#include <cstdint>

namespace pelmora {

/// The memory available for new processes now, in bytes; 0 when it cannot be read.
std::uint64_t AvailableMemory();

/// The resident memory of process pid and every process below it, in bytes; 0 when
/// it cannot be read.
std::uint64_t ProcessTreeMemory(int pid);

/// How long a process holding used bytes may go unwatched before it could pass
/// ceiling, at the fastest growth measured for an office; never less than one
/// sampling step, never more than a second.
std::chrono::milliseconds NextMemorySample(std::uint64_t used, std::uint64_t ceiling);

} // namespace pelmora
