#pragma once

#include "platform/foundation/Subscribers.h"
#include "platform/foundation/Timer.h"
#include "platform/graphics/Geometry.h"

#include <functional>
#include <memory>
#include <string>

namespace foundation {
template <typename T>
class Singleton;
}

namespace ui {

class KeyInput;
class KeyboardView;
class Window;

enum class KeyboardKey { Return, Backspace, Cancel };

// The system keyboard: its own window at the keyboard level, sliding in along the bottom of
// the interface when a text field becomes first responder and out when it resigns. Observers
// hear will-show, did-show, will-hide and did-hide with the keyboard's frames on the screen
// before and after the slide, its bounds and the slide's duration. Keys go to the first
// responder when it takes text.
class Keyboard {
public:
    static constexpr const char* kWillShowNotification = "UIKeyboardWillShowNotification";
    static constexpr const char* kDidShowNotification = "UIKeyboardDidShowNotification";
    static constexpr const char* kWillHideNotification = "UIKeyboardWillHideNotification";
    static constexpr const char* kDidHideNotification = "UIKeyboardDidHideNotification";
    // Rectangles are arrays of four numbers (x, y, width, height), centres of two, all in
    // screen coordinates except the bounds, which are the keyboard's own.
    static constexpr const char* kFrameBeginUserInfoKey = "UIKeyboardFrameBeginUserInfoKey";
    static constexpr const char* kFrameEndUserInfoKey = "UIKeyboardFrameEndUserInfoKey";
    static constexpr const char* kCenterBeginUserInfoKey = "UIKeyboardCenterBeginUserInfoKey";
    static constexpr const char* kCenterEndUserInfoKey = "UIKeyboardCenterEndUserInfoKey";
    static constexpr const char* kBoundsUserInfoKey = "UIKeyboardBoundsUserInfoKey";
    static constexpr const char* kAnimationDurationUserInfoKey =
        "UIKeyboardAnimationDurationUserInfoKey";

    static constexpr float kPortraitHeight = 216;
    static constexpr float kLandscapeHeight = 162;
    static constexpr double kAnimationSeconds = 0.3;

    static Keyboard& shared();

    // The keyboard's size in its own coordinates for an interface orientation (1 to 4).
    static graphics::Size size(int orientation);
    // Where the keyboard lies on the screen in that orientation: at the interface's bottom
    // edge when shown, just beyond it when not.
    static graphics::Rect screenFrame(int orientation, bool shown);

    // Shown, or sliding in.
    bool isVisible() const { return visible_; }
    const std::shared_ptr<Window>& window() const { return window_; }
    const std::shared_ptr<KeyboardView>& view() const { return view_; }

    // Slides in for the interface's current orientation; when already in, only the return
    // key's title changes. When the interface turns while the keyboard is in, it leaves the
    // old bottom edge at once and slides in at the new one, with the notifications of both.
    void show(const std::string& returnKeyTitle);
    void hide();
    // Runs a change of first responder from one text field to another without the keyboard
    // going down in between; returns what the change returned.
    bool handOver(const std::function<bool()>& change);

    // Keys typed on the keyboard (by the simulator); false when the first responder does not
    // take text.
    bool typeText(const std::string& text);
    bool pressKey(KeyboardKey key);

private:
    friend class foundation::Singleton<Keyboard>;
    Keyboard();
    // Puts the window where the keyboard lies and turns the keyboard with the interface.
    void place(const graphics::Rect& frame);
    void slide(const graphics::Rect& to, std::function<void()> done);
    static void post(const char* name, int orientation, bool showing);
    static std::shared_ptr<KeyInput> target();
    void interfaceDidTurn();

    std::shared_ptr<Window> window_;
    std::shared_ptr<KeyboardView> view_;
    bool visible_ = false;
    bool handingOver_ = false;
    // The orientation it came in with; it leaves the same way.
    int orientation_ = 1;
    foundation::Timer slideTimer_;
    foundation::Subscription orientationObserver_;
};

} // namespace ui
