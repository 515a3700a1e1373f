#include "platform/foundation/WorkerThread.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/RunLoop.h"

#include <gtest/gtest.h>

#include <future>
#include <thread>

using namespace foundation;

namespace {

class WorkerThreadTest : public ::testing::Test {
protected:
    WorkerThreadTest() { loop.setClock(std::make_shared<VirtualClock>(1000.0)); }
    RunLoop loop;
};

} // namespace

TEST_F(WorkerThreadTest, WorkRunsOnTheWorkerAndTheReplyOnTheLoopBeforeTimersJump) {
    WorkerThread worker("test-worker", loop);
    std::thread::id workedOn, repliedOn;
    std::vector<std::string> order;
    Timer timer(loop);
    timer.start(Seconds(5), false, [&] { order.push_back("timer"); });
    auto owner = std::make_shared<int>(0);
    std::promise<void> release;
    auto released = release.get_future().share();
    worker.performThenReply<int>(
        [&, released] {
            released.wait();
            workedOn = std::this_thread::get_id();
            return 42;
        },
        owner,
        [&](int result) {
            repliedOn = std::this_thread::get_id();
            order.push_back("reply " + std::to_string(result));
        });
    release.set_value();
    ASSERT_TRUE(loop.runUntil([&] { return order.size() == 2; }, Seconds(10)));
    EXPECT_EQ(order, (std::vector<std::string>{"reply 42", "timer"}));
    EXPECT_NE(workedOn, std::this_thread::get_id());
    EXPECT_EQ(repliedOn, std::this_thread::get_id());
}

TEST_F(WorkerThreadTest, NoReplyReachesAGoneOwnerAndDroppedJobsReleaseTheClock) {
    int replies = 0;
    {
        WorkerThread worker("test-worker", loop);
        auto owner = std::make_shared<int>(0);
        std::promise<void> release;
        auto released = release.get_future().share();
        worker.performThenReply<int>(
            [released] {
                released.wait();
                return 1;
            },
            owner, [&](int) { ++replies; });
        // Queued behind the blocked job; dropped when the worker goes.
        worker.performThenReply<int>([] { return 2; }, owner, [&](int) { ++replies; });
        owner.reset();
        release.set_value();
    }
    EXPECT_FALSE(loop.runUntil([&] { return replies > 0; }, Seconds(10)));
    EXPECT_EQ(replies, 0);
}
