#include "platform/foundation/Assertions.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Timer.h"

#include <gtest/gtest.h>

#include <thread>

using namespace foundation;

TEST(AssertionsDeathTest, VerifyStopsTheProcessInEveryBuildNamingTheCondition) {
    EXPECT_DEATH(VERIFY(1 + 1 == 3), "VERIFY\\(1 \\+ 1 == 3\\) failed at .*AssertionsTest.cpp");
}

TEST(AssertionsDeathTest, MainThreadOnlyCallsFromAnotherThreadAreCaught) {
    RunLoop::main().adoptCurrentThread();
    assertIsMainThread();
    EXPECT_DEATH(std::thread([] { assertIsMainThread(); }).join(), "isLoopThread");
    EXPECT_DEATH(std::thread([] {
                     Timer timer;
                     timer.start(Seconds(1), false, [] {});
                 }).join(),
                 "isLoopThread");
}
