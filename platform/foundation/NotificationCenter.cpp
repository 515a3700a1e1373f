#include "platform/foundation/NotificationCenter.h"

#include "platform/foundation/Assertions.h"
#include "platform/foundation/PlatformContext.h"

namespace foundation {

NotificationCenter& NotificationCenter::defaultCenter() {
    static NotificationCenter center;
    return center;
}

Subscription NotificationCenter::addObserver(std::string name, const void* sender,
                                             Handler handler) {
    assertIsMainThread();
    return observers_.subscribe([name = std::move(name), sender,
                                 handler = std::move(handler)](const Notification& notification) {
        if (notification.name == name && (!sender || sender == notification.sender))
            handler(notification);
    });
}

void NotificationCenter::post(const std::string& name, const void* sender, Value userInfo) {
    assertIsMainThread();
    observers_.notify(Notification{name, sender, std::move(userInfo)});
}

} // namespace foundation
