#pragma once

#include "ads/render/FlexTimeBase.h"

namespace testing_support {

// A flex ad's time base that says whatever the test sets.
struct FixedTimeBase : pennant::FlexTimeBase {
    double timeIntervalSinceFirstRender() const override { return seconds; }
    double seconds = 0;
};

} // namespace testing_support
