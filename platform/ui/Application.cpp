#include "platform/ui/Application.h"

#include "platform/foundation/Assertions.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/Singleton.h"
#include "platform/foundation/URL.h"
#include "platform/ui/ApplicationDelegate.h"
#include "platform/ui/Screen.h"
#include "platform/ui/StatusBarWindow.h"
#include "platform/ui/Touch.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

#include <algorithm>
#include <utility>

namespace ui {

using foundation::assertIsMainThread;

Application& Application::shared() { return foundation::Singleton<Application>::shared(); }

Application::Application() : statusBarWindow_(StatusBarWindow::create()) {
    statusBarWindow_->setFrame(statusBarFrame());
    // Shown without Window::setHidden, which would reach for the application being made.
    statusBarWindow_->View::setHidden(false);
    windows_.push_back(statusBarWindow_);
}

std::vector<std::shared_ptr<Window>> Application::windows() const {
    auto out = screenWindows();
    std::erase_if(out, [&](const auto& window) { return window == statusBarWindow_; });
    return out;
}

std::vector<std::shared_ptr<Window>> Application::screenWindows() const {
    std::vector<std::shared_ptr<Window>> out;
    for (const auto& weak : windows_)
        if (auto window = weak.lock(); window && !window->isHidden())
            out.push_back(window);
    std::stable_sort(out.begin(), out.end(), [](const auto& a, const auto& b) {
        return a->windowLevel() < b->windowLevel();
    });
    return out;
}

void Application::setKeyWindow(const std::shared_ptr<Window>& window) {
    assertIsMainThread();
    auto previous = keyWindow();
    if (previous == window)
        return;
    if (previous)
        previous->resignKeyWindow();
    keyWindow_ = window;
    if (window)
        window->becomeKeyWindow();
}

void Application::windowDidShow(const std::shared_ptr<Window>& window) {
    assertIsMainThread();
    windowDidHide(*window);
    windows_.push_back(window);
}

void Application::windowDidHide(const Window& window) {
    assertIsMainThread();
    std::erase_if(windows_, [&](const auto& weak) {
        auto w = weak.lock();
        return !w || w.get() == &window;
    });
    // Key status passes to the topmost window left, through setKeyWindow so both windows hear.
    if (keyWindow().get() == &window) {
        auto remaining = windows();
        setKeyWindow(remaining.empty() ? nullptr : remaining.back());
    }
}

foundation::Subscription
Application::observeWindowVisibility(std::function<void(const Window&)> fn) {
    return windowVisibility_.subscribe(std::move(fn));
}

void Application::windowVisibilityDidChange(const Window& window) {
    if (&window != statusBarWindow_.get())
        windowVisibility_.notify(window);
}

void Application::setStatusBarHidden(bool hidden) {
    assertIsMainThread();
    statusBarHidden_ = hidden;
    updateStatusBarWindow();
}

void Application::setStatusBarOrientation(int orientation) {
    assertIsMainThread();
    const bool changed = orientation != statusBarOrientation_;
    statusBarOrientation_ = orientation;
    updateStatusBarWindow();
    if (changed)
        foundation::NotificationCenter::defaultCenter().post(
            kDidChangeStatusBarOrientationNotification, this);
}

void Application::deviceOrientationDidChange(int orientation) {
    assertIsMainThread();
    if (auto controller = frontmostViewController();
        controller && controller->shouldAutorotateToInterfaceOrientation(orientation))
        setStatusBarOrientation(orientation);
}

std::shared_ptr<ViewController> Application::frontmostViewController() const {
    // The key window's, else that of the topmost window that has one (a movie's own window
    // has none: the screen that plays it decides).
    auto candidates = windows();
    std::ranges::reverse(candidates);
    if (auto key = keyWindow())
        candidates.insert(candidates.begin(), key);
    for (const auto& window : candidates)
        for (const auto& root : window->subviews())
            if (auto controller = root->viewController())
                return controller;
    return nullptr;
}

std::shared_ptr<Window> Application::statusBarWindow() const { return statusBarWindow_; }

void Application::updateStatusBarWindow() {
    statusBarWindow_->setFrame(statusBarFrame());
    // Showing again would move it to the front of its level; only a change is passed on.
    if (statusBarWindow_->isHidden() != statusBarHidden_)
        statusBarWindow_->setHidden(statusBarHidden_);
}

graphics::Rect Application::statusBarFrame() const {
    if (statusBarHidden_)
        return graphics::Rect(0, 0, 0, 0);
    const float bar = Screen::kStatusBarHeight;
    switch (statusBarOrientation_) {
    case 2:
        return graphics::Rect(0, Screen::kHeight - bar, Screen::kWidth, bar);
    case 3:
        return graphics::Rect(Screen::kWidth - bar, 0, bar, Screen::kHeight);
    case 4:
        return graphics::Rect(0, 0, bar, Screen::kHeight);
    default:
        return graphics::Rect(0, 0, Screen::kWidth, bar);
    }
}

bool Application::openURL(const foundation::URL& url) {
    return openURLHandler_ && openURLHandler_(url);
}

void Application::finishLaunching() {
    active_ = true;
    if (auto delegate = delegate_)
        delegate->applicationDidFinishLaunching(*this);
}

void Application::resignActive() {
    if (!active_)
        return;
    active_ = false;
    if (auto delegate = delegate_)
        delegate->applicationWillResignActive(*this);
    foundation::NotificationCenter::defaultCenter().post(kWillResignActiveNotification, this);
}

void Application::becomeActive() {
    if (active_)
        return;
    active_ = true;
    if (auto delegate = delegate_)
        delegate->applicationDidBecomeActive(*this);
    foundation::NotificationCenter::defaultCenter().post(kDidBecomeActiveNotification, this);
}

void Application::terminate() {
    if (auto delegate = delegate_)
        delegate->applicationWillTerminate(*this);
    foundation::NotificationCenter::defaultCenter().post(kWillTerminateNotification, this);
}

void Application::sendTouch(int phase, graphics::Point screenPoint, double timestamp) {
    assertIsMainThread();
    const auto touchPhase = static_cast<Touch::Phase>(phase);
    if (touchPhase == Touch::Phase::Began) {
        // One finger at a time: a touch-down while another is down cancels the old one, so
        // its view does not stay tracking forever.
        if (auto old = std::exchange(touch_, nullptr); old && old->window()) {
            old->update(Touch::Phase::Cancelled, old->locationInView(nullptr), timestamp);
            old->window()->sendTouch(old);
        }
        auto all = screenWindows();
        for (auto it = all.rbegin(); it != all.rend() && !touch_; ++it) {
            const graphics::Point local = (*it)->convertPointFromSuperview(screenPoint);
            if ((*it)->hitTest(local))
                touch_ = std::make_shared<Touch>(*it, local, timestamp);
        }
    }
    if (!touch_)
        return;
    auto window = touch_->window();
    if (!window) {
        touch_.reset();
        return;
    }
    if (touchPhase != Touch::Phase::Began)
        touch_->update(touchPhase, window->convertPointFromSuperview(screenPoint), timestamp);
    auto touch = touch_;
    if (touchPhase == Touch::Phase::Ended || touchPhase == Touch::Phase::Cancelled)
        touch_.reset();
    window->sendTouch(touch);
}

} // namespace ui
