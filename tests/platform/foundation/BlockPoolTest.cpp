#include "platform/foundation/BlockPool.h"
#include "platform/foundation/Dictionary.h"
#include "platform/foundation/Value.h"

#include <gtest/gtest.h>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#include <string>
#include <thread>
#include <utility>
#include <vector>

using foundation::BlockPool;
using foundation::Dictionary;
using foundation::Value;

namespace {

// Each test starts from a thread of its own, so what earlier tests kept does not count.
template <typename Body>
void onFreshThread(Body body) {
    std::thread(std::move(body)).join();
}

} // namespace

TEST(BlockPool, ReusesBlocksOfTheSameSizeClassAndLetsLargeOnesGo) {
    onFreshThread([] {
        void* first = BlockPool::acquire(40);
        void* other = BlockPool::acquire(64);
        BlockPool::release(first, 40);
        EXPECT_EQ(BlockPool::keptBytes(), 48u);
        EXPECT_EQ(BlockPool::acquire(33), first); // 33 to 48 bytes share a class
        EXPECT_EQ(BlockPool::keptBytes(), 0u);
        BlockPool::release(first, 33);
        BlockPool::release(other, 64);
        void* large = BlockPool::acquire(BlockPool::kLargestPooledBlock + 1);
        BlockPool::release(large, BlockPool::kLargestPooledBlock + 1);
        EXPECT_EQ(BlockPool::keptBytes(), 48u + 64u);
    });
}

TEST(BlockPool, KeepsNoMoreThanItsBoundPerThread) {
    onFreshThread([] {
        const std::size_t count = BlockPool::kMaxKeptBytesPerThread / 512 + 100;
        std::vector<void*> blocks;
        for (std::size_t i = 0; i < count; ++i)
            blocks.push_back(BlockPool::acquire(512));
        for (void* block : blocks)
            BlockPool::release(block, 512);
        EXPECT_EQ(BlockPool::keptBytes(), BlockPool::kMaxKeptBytesPerThread);
    });
}

// Values are shared between threads: a thread that drops a document another built never had
// those blocks out itself, so it hands them to the general allocator instead of hoarding them.
TEST(BlockPool, ValuesBuiltOnOneThreadAreReleasedOnAnother) {
    Value::Array items;
    for (int i = 0; i < 1000; ++i)
        items.push_back(Value(Dictionary{{"text", Value(std::string(40, 'a' + i % 26))},
                                         {"index", Value::integer(i)}}));
    Value document = Value::array(items);
    const Value kept = document[999];
    onFreshThread([document = std::move(document)]() mutable {
        document = Value();
        EXPECT_EQ(BlockPool::keptBytes(), 0u);
    });
    EXPECT_EQ(kept["text"].asString(), std::string(40, 'a' + 999 % 26));
    EXPECT_EQ(kept["index"].intValue(), 999);
}

TEST(BlockPool, KeepsNoMoreThanTheThreadOnceHadOut) {
    onFreshThread([] {
        std::vector<void*> foreign;
        std::thread([&foreign] {
            for (int i = 0; i < 20; ++i)
                foreign.push_back(BlockPool::acquire(64));
        }).join();
        std::vector<void*> own;
        for (int i = 0; i < 10; ++i)
            own.push_back(BlockPool::acquire(64));
        for (void* block : own)
            BlockPool::release(block, 64);
        for (void* block : foreign)
            BlockPool::release(block, 64);
        EXPECT_EQ(BlockPool::keptBytes(), 10u * 64u);
    });
}

#if defined(__SANITIZE_ADDRESS__)
// Kept blocks are poisoned; the leak checker must still see them as reachable through the
// pool's lists, or every run that checks for leaks mid-way reports them.
TEST(BlockPool, KeptBlocksAreNotReportedAsLeaks) {
    onFreshThread([] {
        {
            std::vector<void*> blocks;
            for (int i = 0; i < 100; ++i)
                blocks.push_back(BlockPool::acquire(32));
            for (void* block : blocks)
                BlockPool::release(block, 32);
        }
        EXPECT_EQ(__lsan_do_recoverable_leak_check(), 0);
    });
}
#endif
