#include "platform/foundation/BlockPool.h"

#include <sanitizer/asan_interface.h>

#include <algorithm>
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
    // Bytes this thread took from the pool minus what it gave back, and the most that ever
    // was: a thread keeps no more than it once had out itself. A thread that only frees what
    // another built (the main thread dropping parsed documents) then keeps little.
    long long outstandingBytes;
    long long peakOutstandingBytes;
    bool reaperRegistered;
    bool closed;
};
thread_local ThreadLists lists;

std::size_t classOf(std::size_t bytes) { return (bytes + kGranule - 1) / kGranule - 1; }
std::size_t classBytes(std::size_t index) { return (index + 1) * kGranule; }

bool isPooled(std::size_t bytes) { return bytes != 0 && bytes <= BlockPool::kLargestPooledBlock; }

// A kept block is poisoned for AddressSanitizer (a no-op without it), so touching a freed
// value is still reported. Its link stays readable: the leak checker ignores pointers held in
// poisoned memory and would report every kept block but the first of each list.
void poisonBehindLink(FreeBlock* block, std::size_t index) {
    ASAN_POISON_MEMORY_REGION(reinterpret_cast<char*>(block) + sizeof(FreeBlock),
                              classBytes(index) - sizeof(FreeBlock));
}

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
    lists.outstandingBytes += static_cast<long long>(classBytes(index));
    lists.peakOutstandingBytes = std::max(lists.peakOutstandingBytes, lists.outstandingBytes);
    if (FreeBlock* block = pop(index))
        return block;
    return ::operator new(classBytes(index));
}

namespace {

bool keeps(std::size_t bytes) {
    const auto bound = std::min(static_cast<long long>(BlockPool::kMaxKeptBytesPerThread),
                                lists.peakOutstandingBytes);
    return !lists.closed &&
           static_cast<long long>(lists.keptBytes + classBytes(classOf(bytes))) <= bound;
}

} // namespace

void BlockPool::release(void* block, std::size_t bytes) noexcept {
    if (!block)
        return;
    if (!isPooled(bytes))
        return ::operator delete(block);
    lists.outstandingBytes -= static_cast<long long>(classBytes(classOf(bytes)));
    if (!keeps(bytes))
        return ::operator delete(block);
    if (!lists.reaperRegistered)
        registerReaper();
    const std::size_t index = classOf(bytes);
    auto* free = static_cast<FreeBlock*>(block);
    free->next = lists.heads[index];
    lists.heads[index] = free;
    lists.keptBytes += classBytes(index);
    poisonBehindLink(free, index);
}

std::size_t BlockPool::keptBytes() { return lists.keptBytes; }

} // namespace foundation
