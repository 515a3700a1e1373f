#include "platform/ui/Keyboard.h"

#include "platform/foundation/Assertions.h"
#include "platform/foundation/Dictionary.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/Singleton.h"
#include "platform/graphics/AffineTransform.h"
#include "platform/ui/Application.h"
#include "platform/ui/KeyInput.h"
#include "platform/ui/KeyboardView.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"

#include <numbers>

namespace ui {

using graphics::Point;
using graphics::Rect;
using graphics::Size;

namespace {

bool isLandscape(int orientation) { return orientation == 3 || orientation == 4; }

// The turn that takes the keyboard's own up to the interface's up on the screen.
float rotation(int orientation) {
    constexpr float kQuarter = std::numbers::pi_v<float> / 2;
    switch (orientation) {
    case 2:
        return 2 * kQuarter;
    case 3:
        return kQuarter;
    case 4:
        return -kQuarter;
    default:
        return 0;
    }
}

foundation::Value rectValue(const Rect& r) {
    return foundation::Value::Array{
        foundation::Value::number(r.minX()), foundation::Value::number(r.minY()),
        foundation::Value::number(r.width()), foundation::Value::number(r.height())};
}

foundation::Value pointValue(Point p) {
    return foundation::Value::Array{foundation::Value::number(p.x), foundation::Value::number(p.y)};
}

} // namespace

Keyboard& Keyboard::shared() { return foundation::Singleton<Keyboard>::shared(); }

Keyboard::Keyboard() : window_(Window::create()), view_(KeyboardView::create()) {
    window_->setWindowLevel(Window::kLevelKeyboard);
    window_->addSubview(view_);
    orientationObserver_ = foundation::NotificationCenter::defaultCenter().addObserver(
        Application::kDidChangeStatusBarOrientationNotification, nullptr,
        [this](const foundation::Notification&) { interfaceDidTurn(); });
}

Size Keyboard::size(int orientation) {
    return isLandscape(orientation) ? Size{Screen::kHeight, kLandscapeHeight}
                                    : Size{Screen::kWidth, kPortraitHeight};
}

Rect Keyboard::screenFrame(int orientation, bool shown) {
    const float h = size(orientation).height;
    switch (orientation) {
    case 2: // the interface's bottom is the screen's top
        return Rect(0, shown ? 0 : -h, Screen::kWidth, h);
    case 3: // ... its left edge
        return Rect(shown ? 0 : -h, 0, h, Screen::kHeight);
    case 4: // ... its right edge
        return Rect(shown ? Screen::kWidth - h : Screen::kWidth, 0, h, Screen::kHeight);
    default:
        return Rect(0, shown ? Screen::kHeight - h : Screen::kHeight, Screen::kWidth, h);
    }
}

void Keyboard::show(const std::string& returnKeyTitle) {
    foundation::assertIsMainThread();
    view_->setReturnKeyTitle(returnKeyTitle);
    if (visible_)
        return;
    visible_ = true;
    orientation_ = Application::shared().statusBarOrientation();
    place(screenFrame(orientation_, false));
    window_->setHidden(false);
    post(kWillShowNotification, orientation_, true);
    slide(screenFrame(orientation_, true),
          [orientation = orientation_] { post(kDidShowNotification, orientation, true); });
}

void Keyboard::hide() {
    foundation::assertIsMainThread();
    if (!visible_ || handingOver_)
        return;
    visible_ = false;
    post(kWillHideNotification, orientation_, false);
    slide(screenFrame(orientation_, false), [this, orientation = orientation_] {
        window_->setHidden(true);
        post(kDidHideNotification, orientation, false);
    });
}

bool Keyboard::handOver(const std::function<bool()>& change) {
    handingOver_ = true;
    const bool changed = change();
    handingOver_ = false;
    return changed;
}

void Keyboard::interfaceDidTurn() {
    const int orientation = Application::shared().statusBarOrientation();
    if (!visible_ || orientation == orientation_)
        return;
    post(kWillHideNotification, orientation_, false);
    post(kDidHideNotification, orientation_, false);
    visible_ = false;
    show(view_->returnKeyTitle());
}

void Keyboard::place(const Rect& frame) {
    window_->setFrame(frame);
    const Size own = size(orientation_);
    view_->setTransform(graphics::AffineTransform::identity());
    view_->setBounds(Rect(0, 0, own.width, own.height));
    view_->setCenter({frame.width() / 2, frame.height() / 2});
    view_->setTransform(graphics::AffineTransform::rotation(rotation(orientation_)));
}

void Keyboard::slide(const Rect& to, std::function<void()> done) {
    View::beginAnimations("keyboard");
    View::setAnimationDuration(kAnimationSeconds);
    window_->setCenter({to.midX(), to.midY()});
    View::commitAnimations();
    // A slide that replaces one under way takes its end over; the old one's news is dropped.
    slideTimer_.start(foundation::Seconds(kAnimationSeconds), false, std::move(done));
}

void Keyboard::post(const char* name, int orientation, bool showing) {
    const Rect begin = screenFrame(orientation, !showing);
    const Rect end = screenFrame(orientation, showing);
    const Size own = size(orientation);
    foundation::NotificationCenter::defaultCenter().post(
        name, nullptr,
        foundation::Dictionary{
            {kFrameBeginUserInfoKey, rectValue(begin)},
            {kFrameEndUserInfoKey, rectValue(end)},
            {kCenterBeginUserInfoKey, pointValue({begin.midX(), begin.midY()})},
            {kCenterEndUserInfoKey, pointValue({end.midX(), end.midY()})},
            {kBoundsUserInfoKey, rectValue(Rect(0, 0, own.width, own.height))},
            {kAnimationDurationUserInfoKey, foundation::Value::number(kAnimationSeconds)}});
}

std::shared_ptr<KeyInput> Keyboard::target() {
    return std::dynamic_pointer_cast<KeyInput>(Responder::firstResponder());
}

bool Keyboard::typeText(const std::string& text) {
    auto input = target();
    if (input)
        input->insertText(text);
    return input != nullptr;
}

bool Keyboard::pressKey(KeyboardKey key) {
    auto input = target();
    if (!input)
        return false;
    switch (key) {
    case KeyboardKey::Return:
        input->returnKeyPressed();
        break;
    case KeyboardKey::Backspace:
        input->deleteBackward();
        break;
    case KeyboardKey::Cancel:
        input->cancelKeyPressed();
        break;
    }
    return true;
}

} // namespace ui
