#pragma once

#include "platform/foundation/Subscribers.h"

#include <functional>
#include <memory>
#include <vector>

namespace foundation {
template <typename T>
class Singleton;
}

namespace ui {

class ModalView;
class Window;

// The alerts and action sheets on screen, bottom to top. Each has a dimmed window of its own
// at the alert level; only the top one shows, and the one below comes back when it goes.
// The stack keeps them alive while shown, since whoever showed one need not keep it.
class AlertStack {
public:
    static AlertStack& shared();

    std::vector<std::shared_ptr<ModalView>> views() const;
    std::shared_ptr<ModalView> top() const;

    void push(const std::shared_ptr<ModalView>& view);
    // Takes the view and its window off the screen; observers hear the button it went with.
    void remove(const ModalView& view, int buttonIndex);

    // Observers of views coming and going (the simulator traces them).
    [[nodiscard]] foundation::Subscription observeShown(std::function<void(const ModalView&)> fn);
    [[nodiscard]] foundation::Subscription
    observeDismissed(std::function<void(const ModalView&, int buttonIndex)> fn);

private:
    friend class foundation::Singleton<AlertStack>;
    AlertStack() = default;

    struct Entry {
        std::shared_ptr<ModalView> view;
        std::shared_ptr<Window> window;
    };
    std::vector<Entry> entries_;
    foundation::Subscribers<const ModalView&> shown_;
    foundation::Subscribers<const ModalView&, int> dismissed_;
};

} // namespace ui
