#include "platform/foundation/Clock.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Timer.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

using namespace foundation;

namespace {

class VirtualLoop : public ::testing::Test {
protected:
    VirtualLoop() { loop.setClock(clock); }
    std::shared_ptr<VirtualClock> clock = std::make_shared<VirtualClock>(1000.0);
    RunLoop loop;
};

} // namespace

TEST_F(VirtualLoop, EqualDeadlinesFireInRegistrationOrder) {
    std::vector<int> order;
    for (int i = 0; i < 5; ++i)
        loop.scheduleTimer(Seconds(2), false, [&, i](Timer&) { order.push_back(i); });
    loop.scheduleTimer(Seconds(1), false, [&](Timer&) { order.push_back(-1); });
    loop.runUntilIdle();
    EXPECT_EQ(order, (std::vector<int>{-1, 0, 1, 2, 3, 4}));
    EXPECT_DOUBLE_EQ(loop.now(), 1002.0);
}

TEST_F(VirtualLoop, IdleLoopJumpsToNextTimerWithoutRealWaiting) {
    bool fired = false;
    loop.scheduleTimer(Seconds(31), false, [&](Timer&) { fired = true; });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(loop.runUntil([&] { return fired; }, Seconds(5)));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_DOUBLE_EQ(loop.now(), 1031.0);
}

TEST_F(VirtualLoop, RunUntilWithNothingLeftToDoReturnsAtOnceAndKeepsTheClock) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(loop.runUntil([] { return false; }, Seconds(5)));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_DOUBLE_EQ(loop.now(), 1000.0);
}

TEST_F(VirtualLoop, RepeatingTimerInvalidatingItselfStops) {
    int count = 0;
    auto timer = loop.scheduleTimer(Seconds(0.5), true, [&](Timer& t) {
        if (++count == 3)
            t.invalidate();
    });
    loop.runFor(Seconds(10));
    EXPECT_EQ(count, 3);
    EXPECT_FALSE(timer->isValid());
    EXPECT_DOUBLE_EQ(loop.now(), 1010.0);
}

TEST_F(VirtualLoop, CallbacksMayCancelOthersAndScheduleNewTimers) {
    std::vector<std::string> fired;
    std::shared_ptr<Timer> victim;
    loop.scheduleTimer(Seconds(1), false, [&](Timer&) {
        fired.push_back("first");
        victim->invalidate();
        loop.scheduleTimer(Seconds(0), false, [&](Timer&) { fired.push_back("scheduled-now"); });
    });
    victim = loop.scheduleTimer(Seconds(1), false, [&](Timer&) { fired.push_back("victim"); });
    loop.runUntilIdle();
    EXPECT_EQ(fired, (std::vector<std::string>{"first", "scheduled-now"}));
}

TEST_F(VirtualLoop, DelayedCallsCancelByOwnerAndKey) {
    int a = 0, b = 0, c = 0;
    int owner1 = 0, owner2 = 0;
    loop.performAfter(Seconds(1), &owner1, "a", [&] { ++a; });
    loop.performAfter(Seconds(1), &owner1, "b", [&] { ++b; });
    loop.performAfter(Seconds(1), &owner2, "a", [&] { ++c; });
    loop.cancelPerforms(&owner1, "a");
    loop.runFor(Seconds(0.5));
    loop.cancelPerforms(&owner2);
    loop.runUntilIdle();
    EXPECT_EQ(a, 0);
    EXPECT_EQ(b, 1);
    EXPECT_EQ(c, 0);
}

TEST_F(VirtualLoop, RunForStopsAtTheDeadlineAndLeavesLaterTimers) {
    int fired = 0;
    loop.scheduleTimer(Seconds(1), false, [&](Timer&) { ++fired; });
    loop.scheduleTimer(Seconds(3), false, [&](Timer&) { ++fired; });
    loop.runFor(Seconds(2));
    EXPECT_EQ(fired, 1);
    EXPECT_DOUBLE_EQ(loop.now(), 1002.0);
    EXPECT_TRUE(loop.hasPendingTimers());
}

TEST_F(VirtualLoop, PostsFromAnotherThreadWakeAWaitingLoopBeforeTimersJump) {
    bool timerFired = false, posted = false;
    loop.scheduleTimer(Seconds(15), false, [&](Timer&) { timerFired = true; });
    std::thread worker;
    {
        auto token = std::make_shared<RunLoop::WorkToken>(loop);
        worker = std::thread([&, token]() mutable {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            loop.post([&] { posted = true; });
            token.reset();
        });
    }
    EXPECT_TRUE(loop.runUntil([&] { return posted; }, Seconds(5)));
    EXPECT_FALSE(timerFired) << "virtual time must not jump while background work is pending";
    worker.join();
}

TEST_F(VirtualLoop, PostAndWaitFromAnotherThreadRunsOnTheLoop) {
    std::thread::id ranOn;
    std::thread worker([&] { loop.postAndWait([&] { ranOn = std::this_thread::get_id(); }); });
    RunLoop::WorkToken token(loop);
    loop.runUntil([&] { return ranOn != std::thread::id(); }, Seconds(5));
    worker.join();
    EXPECT_EQ(ranOn, std::this_thread::get_id());
}

TEST(RealLoop, RunUntilGivesUpAtTheRealTimeBound) {
    RunLoop loop;
    RunLoop::WorkToken pending(loop);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(loop.runUntil([] { return false; }, Seconds(0.1)));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(90));
}
