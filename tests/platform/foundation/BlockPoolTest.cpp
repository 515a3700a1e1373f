#include "platform/foundation/BlockPool.h"
#include "platform/foundation/Dictionary.h"
#include "platform/foundation/Value.h"

#include <gtest/gtest.h>

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
        BlockPool::release(first, 40);
        EXPECT_EQ(BlockPool::keptBytes(), 48u);
        EXPECT_EQ(BlockPool::acquire(33), first); // 33 to 48 bytes share a class
        EXPECT_EQ(BlockPool::keptBytes(), 0u);
        BlockPool::release(first, 33);

        void* other = BlockPool::acquire(64);
        EXPECT_NE(other, first);
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

// Values are shared between threads: one built here and dropped on another thread goes to that
// thread's pool, which hands its blocks back when the thread ends (a leak checker run of this
// test would report any it kept).
TEST(BlockPool, ValuesBuiltOnOneThreadAreReleasedOnAnother) {
    Value::Array items;
    for (int i = 0; i < 1000; ++i)
        items.push_back(Value(Dictionary{{"text", Value(std::string(40, 'a' + i % 26))},
                                         {"index", Value::integer(i)}}));
    Value document = Value::array(items);
    const Value kept = document[999];
    onFreshThread([document = std::move(document)]() mutable {
        document = Value();
        EXPECT_GT(BlockPool::keptBytes(), 1000u * 48u);
    });
    EXPECT_EQ(kept["text"].asString(), std::string(40, 'a' + 999 % 26));
    EXPECT_EQ(kept["index"].intValue(), 999);
}
