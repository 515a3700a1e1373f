#include "AllocationCounter.h"

#include <cstdlib>
#include <new>

namespace {
// Counting is switched on only while a counter lives, so timed runs pay one predictable branch
// per allocation (the peers' allocations go through here too). Counters are used from the
// benchmark's single thread.
int activeCounters = 0;
AllocationCounter::Totals allocated;
} // namespace

AllocationCounter::AllocationCounter() : start_(allocated) { ++activeCounters; }

AllocationCounter::~AllocationCounter() { --activeCounters; }

AllocationCounter::Totals AllocationCounter::totals() const {
    return {allocated.count - start_.count, allocated.bytes - start_.bytes};
}

void AllocationCounter::record(std::size_t bytes) {
    if (activeCounters == 0)
        return;
    ++allocated.count;
    allocated.bytes += bytes;
}

void* operator new(std::size_t size) {
    AllocationCounter::record(size);
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
