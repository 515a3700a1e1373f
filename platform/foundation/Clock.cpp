#include "platform/foundation/Clock.h"

#include <chrono>
#include <cmath>

namespace foundation {

double RealClock::now() const {
    using namespace std::chrono;
    return duration<double>(system_clock::now().time_since_epoch()).count();
}

VirtualClock::VirtualClock(double start)
    : now_(start >= 0 ? start : std::floor(RealClock().now())) {}

double VirtualClock::now() const {
    std::lock_guard lock(mutex_);
    return now_;
}

void VirtualClock::advanceTo(double time) {
    std::lock_guard lock(mutex_);
    if (time > now_)
        now_ = time;
}

} // namespace foundation
