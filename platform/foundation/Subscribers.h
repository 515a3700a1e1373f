#pragma once

#include "platform/foundation/SubscriberSlot.h"

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace foundation {

// Keeps a subscription alive; it ends when the last copy is dropped.
using Subscription = std::shared_ptr<void>;

// Callbacks that stay subscribed while their Subscription lives. Any thread may subscribe,
// notify or drop a subscription; dropping it waits for its calls in progress on other threads,
// so whatever the callback captured may be destroyed right after. Each notify calls a
// snapshot: subscribers added meanwhile wait for the next one, ended ones are skipped.
template <typename... Args>
class Subscribers {
public:
    using Callback = std::function<void(Args...)>;

    [[nodiscard]] Subscription subscribe(Callback callback) {
        auto entry = std::make_shared<Entry>();
        entry->callback = std::move(callback);
        {
            std::lock_guard lock(mutex_);
            std::erase_if(entries_, [](const auto& weak) { return weak.expired(); });
            entries_.push_back(entry);
        }
        return std::make_shared<Handle>(std::move(entry));
    }

    void notify(const Args&... args) const {
        for (const auto& entry : snapshot()) {
            if (!entry->enter())
                continue;
            entry->callback(args...);
            entry->leave();
        }
    }

private:
    struct Entry : SubscriberSlot {
        Callback callback;
    };
    struct Handle {
        explicit Handle(std::shared_ptr<Entry> entry) : entry(std::move(entry)) {}
        Handle(const Handle&) = delete;
        Handle& operator=(const Handle&) = delete;
        ~Handle() { entry->retire(); }
        std::shared_ptr<Entry> entry;
    };

    std::vector<std::shared_ptr<Entry>> snapshot() const {
        std::vector<std::shared_ptr<Entry>> live;
        std::lock_guard lock(mutex_);
        for (const auto& weak : entries_)
            if (auto entry = weak.lock())
                live.push_back(std::move(entry));
        return live;
    }

    mutable std::mutex mutex_;
    std::vector<std::weak_ptr<Entry>> entries_;
};

} // namespace foundation
