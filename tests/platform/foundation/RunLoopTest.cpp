#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/Lifetime.h"
#include "platform/foundation/Timer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <time.h>
#include <vector>

using namespace foundation;

namespace {

class VirtualLoop : public ::testing::Test {
protected:
    VirtualLoop() { loop.setClock(clock); }
    std::shared_ptr<VirtualClock> clock = std::make_shared<VirtualClock>(1000.0);
    RunLoop loop;
};

double threadCPUSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

} // namespace

TEST_F(VirtualLoop, EqualDeadlinesFireInRegistrationOrder) {
    std::vector<int> order;
    std::vector<std::unique_ptr<Timer>> timers;
    Lifetime owner;
    for (int i = 0; i < 5; ++i) {
        timers.push_back(std::make_unique<Timer>(loop));
        timers.back()->start(Seconds(2), false, [&, i] { order.push_back(i); });
        // Posted work shares the same ordering.
        loop.postAfter(Seconds(2), owner.handle(), [&, i] { order.push_back(10 + i); });
    }
    Timer early(loop);
    early.start(Seconds(1), false, [&] { order.push_back(-1); });
    loop.runUntilIdle();
    EXPECT_EQ(order, (std::vector<int>{-1, 0, 10, 1, 11, 2, 12, 3, 13, 4, 14}));
    EXPECT_DOUBLE_EQ(loop.now(), 1002.0);
}

TEST_F(VirtualLoop, IdleLoopJumpsToNextTimerWithoutRealWaiting) {
    bool fired = false;
    Timer timer(loop);
    timer.start(Seconds(31), false, [&] { fired = true; });
    EXPECT_TRUE(loop.runUntil([&] { return fired; }, Seconds(5)));
    EXPECT_DOUBLE_EQ(loop.now(), 1031.0);
    EXPECT_FALSE(timer.isActive());
}

TEST_F(VirtualLoop, RunUntilWithNothingLeftToDoReturnsAtOnceAndKeepsTheClock) {
    EXPECT_FALSE(loop.runUntil([] { return false; }, Seconds(5)));
    EXPECT_DOUBLE_EQ(loop.now(), 1000.0);
}

TEST_F(VirtualLoop, RepeatingTimerStoppingItselfStops) {
    int count = 0;
    Timer timer(loop);
    timer.start(Seconds(0.5), true, [&] {
        if (++count == 3)
            timer.stop();
    });
    loop.runFor(Seconds(10));
    EXPECT_EQ(count, 3);
    EXPECT_FALSE(timer.isActive());
    EXPECT_DOUBLE_EQ(loop.now(), 1010.0);
}

TEST_F(VirtualLoop, CallbacksMayStopOthersAndStartNewTimers) {
    std::vector<std::string> fired;
    Timer first(loop), victim(loop), later(loop);
    first.start(Seconds(1), false, [&] {
        fired.push_back("first");
        victim.stop();
        later.start(Seconds(0), false, [&] { fired.push_back("started-now"); });
    });
    victim.start(Seconds(1), false, [&] { fired.push_back("victim"); });
    loop.runUntilIdle();
    EXPECT_EQ(fired, (std::vector<std::string>{"first", "started-now"}));
}

TEST_F(VirtualLoop, TimersDieWithTheirOwnerEvenInsideTheirOwnCallback) {
    struct Owner {
        explicit Owner(RunLoop& loop) : timer(loop) {}
        Timer timer;
    };
    int fired = 0;
    auto gone = std::make_unique<Owner>(loop);
    gone->timer.start(Seconds(1), false, [&] { ++fired; });
    gone.reset();
    auto selfDestroying = std::make_unique<Owner>(loop);
    selfDestroying->timer.start(Seconds(2), true, [&] {
        ++fired;
        selfDestroying.reset();
    });
    loop.runUntilIdle();
    EXPECT_EQ(fired, 1);
    EXPECT_FALSE(loop.hasPendingTimers());
}

TEST_F(VirtualLoop, RestartingATimerReplacesItsPendingFiring) {
    std::vector<double> firedAt;
    Timer timer(loop);
    timer.start(Seconds(1), false, [&] { firedAt.push_back(loop.now()); });
    loop.runFor(Seconds(0.5));
    timer.start(Seconds(1), false, [&] { firedAt.push_back(loop.now()); });
    loop.runUntilIdle();
    EXPECT_EQ(firedAt, (std::vector<double>{1001.5}));
}

TEST_F(VirtualLoop, PostedWorkOfAGoneOwnerNeverRunsNorMovesTheClock) {
    int ran = 0;
    auto owner = std::make_shared<int>(0);
    Lifetime lifetime;
    loop.postAfter(Seconds(50), owner, [&] { ++ran; });
    loop.postAfter(Seconds(60), lifetime.handle(), [&] { ++ran; });
    loop.postAfter(Seconds(1), lifetime.handle(), [&] { ++ran; });
    loop.post(std::weak_ptr<const void>(owner), [&] { ++ran; });
    owner.reset();
    loop.runFor(Seconds(2));
    lifetime.cancelAll();
    loop.postAfter(Seconds(3), lifetime.handle(), [&] { ran += 10; });
    loop.runUntilIdle();
    EXPECT_EQ(ran, 11);
    EXPECT_DOUBLE_EQ(loop.now(), 1005.0) << "abandoned work must not hold the next jump";
}

TEST_F(VirtualLoop, RunForStopsAtTheDeadlineAndLeavesLaterTimers) {
    int fired = 0;
    Timer soon(loop), late(loop);
    soon.start(Seconds(1), false, [&] { ++fired; });
    late.start(Seconds(3), false, [&] { ++fired; });
    loop.runFor(Seconds(2));
    EXPECT_EQ(fired, 1);
    EXPECT_DOUBLE_EQ(loop.now(), 1002.0);
    EXPECT_TRUE(loop.hasPendingTimers());
}

TEST_F(VirtualLoop, PostsFromAnotherThreadWakeAWaitingLoopBeforeTimersJump) {
    bool timerFired = false, posted = false;
    Timer timer(loop);
    timer.start(Seconds(15), false, [&] { timerFired = true; });
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

TEST_F(VirtualLoop, StopFromACallbackEndsRunAndLeavesLaterRunsResponsive) {
    int ticks = 0;
    Timer timer(loop);
    timer.start(Seconds(2), true, [&] {
        if (++ticks == 3) {
            timer.stop();
            loop.stop();
        }
    });
    loop.run();
    EXPECT_EQ(ticks, 3);
    EXPECT_DOUBLE_EQ(loop.now(), 1006.0);
    // A finished run must not leave the loop spinning while it waits for background work.
    RunLoop::WorkToken pending(loop);
    const double cpuBefore = threadCPUSeconds();
    EXPECT_FALSE(loop.runUntil([] { return false; }, Seconds(0.3)));
    EXPECT_LT(threadCPUSeconds() - cpuBefore, 0.15);
}

TEST(RealLoop, RunUntilGivesUpAtTheRealTimeBound) {
    RunLoop loop;
    RunLoop::WorkToken pending(loop);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(loop.runUntil([] { return false; }, Seconds(0.1)));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(90));
}

TEST(RealClockLoop, RunWakesForTimersAndEndsOnStopFromAnotherThread) {
    RunLoop loop;
    std::atomic<bool> fired{false};
    Timer timer(loop);
    timer.start(Seconds(0.05), false, [&] { fired = true; });
    // Stops only once the timer has fired, so a run that never wakes for it never ends.
    std::thread stopper([&] {
        while (!fired)
            std::this_thread::yield();
        loop.stop();
    });
    loop.run();
    stopper.join();
    EXPECT_TRUE(fired);
}
