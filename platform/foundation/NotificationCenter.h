#pragma once

#include "platform/foundation/Subscribers.h"
#include "platform/foundation/Value.h"

#include <functional>
#include <string>

namespace foundation {

struct Notification {
    std::string name;
    const void* sender = nullptr;
    Value userInfo;
};

// Named notifications delivered synchronously on the main thread. Observing returns a
// subscription; the observation ends when it is dropped, so an observer that goes away can
// never be called.
class NotificationCenter {
public:
    using Handler = std::function<void(const Notification&)>;

    static NotificationCenter& defaultCenter();

    // With a sender, only notifications from that sender are delivered.
    [[nodiscard]] Subscription addObserver(std::string name, const void* sender, Handler handler);
    void post(const std::string& name, const void* sender = nullptr, Value userInfo = {});

private:
    Subscribers<Notification> observers_;
};

} // namespace foundation
