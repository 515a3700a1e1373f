#include "platform/foundation/SubscriberSlot.h"

#include <algorithm>
#include <vector>

namespace foundation {

namespace {
// The slots this thread is calling right now.
thread_local std::vector<const SubscriberSlot*> callingOnThisThread;
} // namespace

bool SubscriberSlot::enter() {
    {
        std::lock_guard lock(mutex_);
        if (retired_)
            return false;
        ++calls_;
    }
    callingOnThisThread.push_back(this);
    return true;
}

void SubscriberSlot::leave() {
    // The innermost call: a subscriber may be reached again from inside its own call.
    const auto innermost =
        std::find(callingOnThisThread.rbegin(), callingOnThisThread.rend(), this);
    callingOnThisThread.erase(std::next(innermost).base());
    {
        std::lock_guard lock(mutex_);
        --calls_;
    }
    idle_.notify_all();
}

void SubscriberSlot::retire() {
    const auto own = std::ranges::count(callingOnThisThread, this);
    std::unique_lock lock(mutex_);
    retired_ = true;
    idle_.wait(lock, [&] { return calls_ == own; });
}

} // namespace foundation
