#include "platform/ui/AlertStack.h"

#include "platform/foundation/Assertions.h"
#include "platform/foundation/Singleton.h"
#include "platform/ui/ModalView.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"

#include <algorithm>

namespace ui {

AlertStack& AlertStack::shared() { return foundation::Singleton<AlertStack>::shared(); }

std::vector<std::shared_ptr<ModalView>> AlertStack::views() const {
    std::vector<std::shared_ptr<ModalView>> out;
    for (const auto& entry : entries_)
        out.push_back(entry.view);
    return out;
}

std::shared_ptr<ModalView> AlertStack::top() const {
    return entries_.empty() ? nullptr : entries_.back().view;
}

void AlertStack::push(const std::shared_ptr<ModalView>& view) {
    foundation::assertIsMainThread();
    if (!entries_.empty())
        entries_.back().window->setHidden(true);
    auto window = Window::create(Screen::main().bounds());
    window->setWindowLevel(Window::kLevelAlert);
    window->setOpaque(false);
    window->setBackgroundColor(graphics::Color::colorWithWhite(0, 0.45f));
    window->addSubview(view);
    entries_.push_back({view, window});
    window->makeKeyAndVisible();
    shown_.notify(*view);
}

void AlertStack::remove(const ModalView& view, int buttonIndex) {
    foundation::assertIsMainThread();
    auto it = std::find_if(entries_.begin(), entries_.end(),
                           [&](const Entry& entry) { return entry.view.get() == &view; });
    if (it == entries_.end())
        return;
    const Entry gone = *it;
    const bool wasTop = std::next(it) == entries_.end();
    entries_.erase(it);
    gone.window->setHidden(true);
    // Shown again while it was going, the view already sits in a new window.
    if (gone.view->superview() == gone.window)
        gone.view->removeFromSuperview();
    if (wasTop && !entries_.empty())
        entries_.back().window->makeKeyAndVisible();
    dismissed_.notify(view, buttonIndex);
}

foundation::Subscription AlertStack::observeShown(std::function<void(const ModalView&)> fn) {
    return shown_.subscribe(std::move(fn));
}

foundation::Subscription
AlertStack::observeDismissed(std::function<void(const ModalView&, int)> fn) {
    return dismissed_.subscribe(std::move(fn));
}

} // namespace ui
