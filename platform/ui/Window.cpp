#include "platform/ui/Window.h"

#include "platform/foundation/Assertions.h"
#include "platform/ui/Application.h"

namespace ui {

Window::Window(const graphics::Rect& frame) : View(frame) { View::setHidden(true); }

std::shared_ptr<Window> Window::window() const {
    return std::static_pointer_cast<Window>(std::const_pointer_cast<Responder>(shared_from_this()));
}

void Window::setWindowLevel(float level) {
    foundation::assertIsMainThread();
    level_ = level;
}

void Window::makeKeyAndVisible() {
    setHidden(false);
    makeKeyWindow();
}

void Window::makeKeyWindow() {
    foundation::assertIsMainThread();
    Application::shared().setKeyWindow(sharedWindow());
}

bool Window::isKeyWindow() const { return Application::shared().keyWindow().get() == this; }

void Window::setHidden(bool hidden) {
    const bool changed = hidden != isHidden();
    View::setHidden(hidden);
    auto& application = Application::shared();
    if (hidden)
        application.windowDidHide(*this);
    else
        application.windowDidShow(sharedWindow());
    if (changed)
        application.windowVisibilityDidChange(*this);
}

void Window::sendTouch(const std::shared_ptr<Touch>& touch) {
    foundation::assertIsMainThread();
    if (touch->phase() == Touch::Phase::Began)
        touch->setView(hitTest(touch->locationInView(nullptr)));
    auto view = touch->view();
    if (!view)
        return;
    const TouchSet touches{touch};
    const Event event{touch->timestamp(), touches};
    switch (touch->phase()) {
    case Touch::Phase::Began:
        view->touchesBegan(touches, event);
        break;
    case Touch::Phase::Moved:
    case Touch::Phase::Stationary:
        view->touchesMoved(touches, event);
        break;
    case Touch::Phase::Ended:
        view->touchesEnded(touches, event);
        break;
    case Touch::Phase::Cancelled:
        view->touchesCancelled(touches, event);
        break;
    }
}

} // namespace ui
