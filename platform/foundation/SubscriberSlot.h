#pragma once

#include <condition_variable>
#include <mutex>

namespace foundation {

// The state one subscriber needs so that ending its subscription is safe from any thread:
// once retired no new call starts, and retiring waits for calls in progress on other threads
// (not for a call on its own thread, so a subscriber may end itself from inside).
class SubscriberSlot {
public:
    // Starts a call unless the subscription has ended.
    bool enter();
    void leave();
    void retire();

private:
    std::mutex mutex_;
    std::condition_variable idle_;
    int calls_ = 0;
    bool retired_ = false;
};

} // namespace foundation
