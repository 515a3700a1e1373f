#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

// What this process and its threads have spent, read from the kernel.
namespace resource_usage {

// CPU time of the calling thread: what it computed, not what it waited for.
double threadCPUSeconds();
// CPU time of every thread of the process together.
double processCPUSeconds();
// CPU time of the live threads with this name (as the kernel keeps it: 15 bytes at most),
// summed; empty when none is found or the kernel does not keep per-thread run times.
std::optional<double> namedThreadsCPUSeconds(std::string_view name);
// The process's resident set.
std::size_t residentBytes();
// The largest resident set the process has had so far.
std::size_t peakResidentBytes();
// What the general allocator has handed out and not had back, over all its arenas.
std::size_t heapInUseBytes();

} // namespace resource_usage
