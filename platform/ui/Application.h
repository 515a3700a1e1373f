#pragma once

#include "platform/foundation/Subscribers.h"
#include "platform/graphics/Geometry.h"
#include "platform/ui/Responder.h"

#include <functional>
#include <memory>
#include <vector>

namespace foundation {
class URL;
template <typename T>
class Singleton;
} // namespace foundation

namespace ui {

class ApplicationDelegate;
class StatusBarWindow;
class ViewController;
class Window;

// The running application: its delegate, its windows, the status bar, URL hand-off to the
// system and the active/inactive life cycle.
class Application : public Responder {
public:
    static constexpr const char* kWillResignActiveNotification =
        "UIApplicationWillResignActiveNotification";
    static constexpr const char* kDidBecomeActiveNotification =
        "UIApplicationDidBecomeActiveNotification";
    static constexpr const char* kWillTerminateNotification =
        "UIApplicationWillTerminateNotification";
    static constexpr const char* kDidChangeStatusBarOrientationNotification =
        "UIApplicationDidChangeStatusBarOrientationNotification";

    static Application& shared();

    std::string className() const override { return "Application"; }

    std::shared_ptr<ApplicationDelegate> delegate() const { return delegate_; }
    void setDelegate(std::shared_ptr<ApplicationDelegate> delegate) {
        delegate_ = std::move(delegate);
    }

    // The application's visible windows from bottom to top. The status bar's window belongs
    // to the system and is not among them.
    std::vector<std::shared_ptr<Window>> windows() const;
    // Every visible window on the screen from bottom to top, the status bar's included.
    std::vector<std::shared_ptr<Window>> screenWindows() const;
    std::shared_ptr<Window> keyWindow() const { return keyWindow_.lock(); }
    void setKeyWindow(const std::shared_ptr<Window>& window);
    void windowDidShow(const std::shared_ptr<Window>& window);
    void windowDidHide(const Window& window);
    // Observers of application windows appearing and going (the simulator traces them).
    [[nodiscard]] foundation::Subscription
    observeWindowVisibility(std::function<void(const Window&)> fn);
    void windowVisibilityDidChange(const Window& window);

    bool isStatusBarHidden() const { return statusBarHidden_; }
    void setStatusBarHidden(bool hidden);
    int statusBarOrientation() const { return statusBarOrientation_; }
    void setStatusBarOrientation(int orientation);
    // The device turned: the interface (the status bar, and every screen that follows it)
    // turns with it when the frontmost window's controller agrees.
    void deviceOrientationDidChange(int orientation);
    std::shared_ptr<ViewController> frontmostViewController() const;
    // Zero when hidden; along the top edge in portrait, along a long side in landscape.
    graphics::Rect statusBarFrame() const;
    std::shared_ptr<Window> statusBarWindow() const;

    // Hands the URL to the system (the simulator's handler); false when nothing takes it.
    bool openURL(const foundation::URL& url);
    void setOpenURLHandler(std::function<bool(const foundation::URL&)> handler) {
        openURLHandler_ = std::move(handler);
    }

    // Life cycle, driven by the simulator.
    bool isActive() const { return active_; }
    void finishLaunching();
    void resignActive();
    void becomeActive();
    void terminate();

    // Touches in screen coordinates: the touch goes to the topmost window that a touch-down
    // hits and stays with it until it ends.
    void sendTouch(int phase, graphics::Point screenPoint, double timestamp);

private:
    friend class foundation::Singleton<Application>;
    Application();
    // Shows, hides and places the status bar's window as the status bar state says.
    void updateStatusBarWindow();

    std::shared_ptr<ApplicationDelegate> delegate_;
    std::vector<std::weak_ptr<Window>> windows_;
    std::weak_ptr<Window> keyWindow_;
    std::shared_ptr<class Touch> touch_;
    std::shared_ptr<StatusBarWindow> statusBarWindow_;
    std::function<bool(const foundation::URL&)> openURLHandler_;
    foundation::Subscribers<const Window&> windowVisibility_;
    bool statusBarHidden_ = false;
    int statusBarOrientation_ = 1;
    bool active_ = false;
};

} // namespace ui
