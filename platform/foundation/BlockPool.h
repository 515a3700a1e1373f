#pragma once

#include <cstddef>

namespace foundation {

// Recycles small heap blocks on the thread that frees them. A decoded document is a tree of
// many small blocks that are allocated in one burst and freed in another; the general
// allocator spends more time coalescing such a burst than the parser spends reading it. Freed
// blocks are kept per size class for the next allocation of their class, as long as the thread
// keeps no more than it once had out itself and no more than a fixed bound; everything else
// goes to the general allocator. Kept blocks are poisoned for
// AddressSanitizer, so a use after free is still caught.
class BlockPool {
public:
    static constexpr std::size_t kLargestPooledBlock = 512;
    static constexpr std::size_t kMaxKeptBytesPerThread = 16 << 20;

    // bytes must be the same in the matching release.
    static void* acquire(std::size_t bytes);
    static void release(void* block, std::size_t bytes) noexcept;
    // What this thread keeps for reuse (for tests and measurements).
    static std::size_t keptBytes();
};

// An allocator for standard containers whose storage should come from the pool.
template <typename T>
struct PoolAllocator {
    using value_type = T;
    PoolAllocator() = default;
    template <typename U>
    PoolAllocator(const PoolAllocator<U>&) noexcept {}
    T* allocate(std::size_t count) {
        return static_cast<T*>(BlockPool::acquire(count * sizeof(T)));
    }
    void deallocate(T* block, std::size_t count) noexcept {
        BlockPool::release(block, count * sizeof(T));
    }
    template <typename U>
    bool operator==(const PoolAllocator<U>&) const noexcept {
        return true;
    }
};

} // namespace foundation
