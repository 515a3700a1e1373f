#include "platform/foundation/BlockPool.h"

#include <sanitizer/asan_interface.h>

#include <new>

namespace foundation {

namespace {

constexpr std::size_t kGranule = 16;
constexpr std::size_t kClasses = BlockPool::kLargestPooledBlock / kGranule;

struct FreeBlock {
    FreeBlock* next;
};

// Trivially destructible, so a block freed during thread exit, after the lists were handed
// back, still finds valid state (and `closed` sends it to the general allocator).
struct ThreadLists {
    FreeBlock* heads[kClasses];
    std::size_t keptBytes;
    bool reaperRegistered;
    bool closed;
};
thread_local ThreadLists lists;

std::size_t classOf(std::size_t bytes) { return (bytes + kGranule - 1) / kGranule - 1; }
std::size_t classBytes(std::size_t index) { return (index + 1) * kGranule; }

bool isPooled(std::size_t bytes) { return bytes != 0 && bytes <= BlockPool::kLargestPooledBlock; }

// A kept block is poisoned for AddressSanitizer (a no-op without it), so touching a freed
// value is still reported; the pool opens it only to follow or set its link.
FreeBlock* pop(std::size_t index) {
    FreeBlock* block = lists.heads[index];
    if (block) {
        ASAN_UNPOISON_MEMORY_REGION(block, classBytes(index));
        lists.heads[index] = block->next;
        lists.keptBytes -= classBytes(index);
    }
    return block;
}

// Hands the thread's kept blocks back to the general allocator when the thread ends.
struct Reaper {
    ~Reaper() {
        lists.closed = true;
        for (std::size_t index = 0; index < kClasses; ++index)
            while (FreeBlock* block = pop(index))
                ::operator delete(block);
    }
};

void registerReaper() {
    thread_local Reaper reaper;
    lists.reaperRegistered = true;
}

} // namespace

void* BlockPool::acquire(std::size_t bytes) {
    if (!isPooled(bytes))
        return ::operator new(bytes);
    const std::size_t index = classOf(bytes);
    if (FreeBlock* block = pop(index))
        return block;
    return ::operator new(classBytes(index));
}

void BlockPool::release(void* block, std::size_t bytes) noexcept {
    if (!block)
        return;
    if (!isPooled(bytes) || lists.closed ||
        lists.keptBytes + classBytes(classOf(bytes)) > kMaxKeptBytesPerThread) {
        ::operator delete(block);
        return;
    }
    if (!lists.reaperRegistered)
        registerReaper();
    const std::size_t index = classOf(bytes);
    auto* free = static_cast<FreeBlock*>(block);
    free->next = lists.heads[index];
    lists.heads[index] = free;
    lists.keptBytes += classBytes(index);
    ASAN_POISON_MEMORY_REGION(block, classBytes(index));
}

std::size_t BlockPool::keptBytes() { return lists.keptBytes; }

} // namespace foundation
