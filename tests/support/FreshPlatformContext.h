#pragma once

#include "platform/foundation/PlatformContext.h"

#include <gtest/gtest.h>

#include <memory>

namespace testing_support {

// Every test runs in a platform context of its own: a fresh run loop and clock, sandbox,
// application and shared objects, all torn down when the test ends.
class FreshPlatformContext : public ::testing::EmptyTestEventListener {
public:
    FreshPlatformContext();
    ~FreshPlatformContext() override;

    // A new process on the same sandbox home: every shared object is made again on first use.
    static void relaunch();

private:
    void OnTestStart(const ::testing::TestInfo& test) override;
    void OnTestEnd(const ::testing::TestInfo& test) override;

    std::unique_ptr<foundation::PlatformContext> context_;
};

} // namespace testing_support
