#pragma once

#include "platform/foundation/Clock.h"
#include "platform/foundation/RunLoop.h"

#include <gtest/gtest.h>

#include <memory>

namespace testing_support {

// A test on the virtual clock, starting at a round time so expected times read plainly.
class VirtualClockFixture : public ::testing::Test {
protected:
    static constexpr double kStart = 1000;

    void SetUp() override {
        foundation::RunLoop::main().setClock(std::make_shared<foundation::VirtualClock>(kStart));
    }
    static foundation::RunLoop& loop() { return foundation::RunLoop::main(); }
    static double now() { return foundation::RunLoop::main().now(); }
    static void advance(double seconds) { loop().runFor(foundation::Seconds(seconds)); }
};

} // namespace testing_support
