#pragma once

#include "platform/foundation/Value.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace foundation {

struct Notification {
    std::string name;
    const void* sender = nullptr;
    Value userInfo;
};

// Named notifications delivered synchronously on the posting thread (the main thread here).
// Observing returns a token; the observation ends when the token is reset or destroyed, so
// an observer that goes away can never be called.
class NotificationCenter {
public:
    class Observation;
    using Token = std::shared_ptr<Observation>;
    using Handler = std::function<void(const Notification&)>;

    static NotificationCenter& defaultCenter();

    // With a sender, only notifications from that sender are delivered.
    [[nodiscard]] Token addObserver(std::string name, const void* sender, Handler handler);
    void post(const std::string& name, const void* sender = nullptr, Value userInfo = {});

private:
    struct Entry;
    std::vector<std::weak_ptr<Entry>> entries_;
};

} // namespace foundation
