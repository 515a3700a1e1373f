#pragma once

#include <cstddef>

// Counts calls to the global operator new of this process, so the benchmark can show that
// parsing allocates only what the returned values hold.
class AllocationCounter {
public:
    struct Totals {
        std::size_t count = 0;
        std::size_t bytes = 0;
    };

    AllocationCounter();
    ~AllocationCounter();
    AllocationCounter(const AllocationCounter&) = delete;
    AllocationCounter& operator=(const AllocationCounter&) = delete;
    // Allocations since construction.
    Totals totals() const;

    static void record(std::size_t bytes);

private:
    Totals start_;
};
