#include "platform/ui/Touch.h"

#include "platform/ui/Window.h"

namespace ui {

Touch::Touch(std::shared_ptr<Window> window, graphics::Point locationInWindow, double timestamp)
    : window_(window), location_(locationInWindow), previous_(locationInWindow),
      timestamp_(timestamp) {}

void Touch::update(Phase phase, graphics::Point locationInWindow, double timestamp) {
    phase_ = phase;
    previous_ = location_;
    location_ = locationInWindow;
    timestamp_ = timestamp;
}

namespace {
graphics::Point fromWindow(const std::shared_ptr<Window>& window, graphics::Point point,
                           const View* view) {
    if (!view || !window)
        return point;
    return view->convertPointFromView(point, window.get());
}
} // namespace

graphics::Point Touch::locationInView(const View* view) const {
    return fromWindow(window_.lock(), location_, view);
}

graphics::Point Touch::previousLocationInView(const View* view) const {
    return fromWindow(window_.lock(), previous_, view);
}

} // namespace ui
