#include "platform/foundation/NotificationCenter.h"

#include "platform/foundation/Assertions.h"
#include "platform/foundation/PlatformContext.h"

#include <algorithm>

namespace foundation {

struct NotificationCenter::Entry {
    std::string name;
    const void* sender;
    Handler handler;
};

// The token owns its entry; the center only holds weak references to it.
class NotificationCenter::Observation {
public:
    explicit Observation(std::shared_ptr<Entry> entry) : entry_(std::move(entry)) {}

private:
    std::shared_ptr<Entry> entry_;
};

NotificationCenter& NotificationCenter::defaultCenter() {
    static NotificationCenter center;
    return center;
}

NotificationCenter::Token NotificationCenter::addObserver(std::string name, const void* sender,
                                                          Handler handler) {
    assertIsMainThread();
    auto entry = std::make_shared<Entry>(Entry{std::move(name), sender, std::move(handler)});
    std::erase_if(entries_, [](const auto& weak) { return weak.expired(); });
    entries_.push_back(entry);
    return std::make_shared<Observation>(std::move(entry));
}

void NotificationCenter::post(const std::string& name, const void* sender, Value userInfo) {
    assertIsMainThread();
    const Notification notification{name, sender, std::move(userInfo)};
    // A snapshot of weak references: observers added during delivery wait for the next post,
    // observers removed during delivery are skipped.
    const auto snapshot = entries_;
    for (const auto& weak : snapshot) {
        auto entry = weak.lock();
        if (!entry || entry->name != name || (entry->sender && entry->sender != sender))
            continue;
        Handler handler = entry->handler;
        entry.reset();
        handler(notification);
    }
}

} // namespace foundation
