#include "tests/support/FreshPlatformContext.h"

#include "platform/foundation/Sandbox.h"

namespace testing_support {

namespace {
FreshPlatformContext* installed = nullptr;
} // namespace

FreshPlatformContext::FreshPlatformContext() { installed = this; }

FreshPlatformContext::~FreshPlatformContext() { installed = nullptr; }

void FreshPlatformContext::OnTestStart(const ::testing::TestInfo&) {
    context_ = std::make_unique<foundation::PlatformContext>();
}

void FreshPlatformContext::OnTestEnd(const ::testing::TestInfo&) { context_.reset(); }

void FreshPlatformContext::relaunch() {
    const std::string home = foundation::Sandbox::current().home();
    installed->context_.reset();
    installed->context_ = std::make_unique<foundation::PlatformContext>();
    if (!home.empty()) {
        EXPECT_TRUE(foundation::Sandbox::current().setHome(home));
    }
}

} // namespace testing_support
