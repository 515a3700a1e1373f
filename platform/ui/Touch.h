#pragma once

#include "platform/graphics/Geometry.h"

#include <memory>
#include <vector>

namespace ui {

class View;
class Window;

// One finger on the screen, from touch-down to lift-off. Locations are kept in window
// coordinates and converted on request.
class Touch {
public:
    enum class Phase { Began, Moved, Stationary, Ended, Cancelled };

    Touch(std::shared_ptr<Window> window, graphics::Point locationInWindow, double timestamp);

    Phase phase() const { return phase_; }
    double timestamp() const { return timestamp_; }
    int tapCount() const { return tapCount_; }
    std::shared_ptr<Window> window() const { return window_.lock(); }
    std::shared_ptr<View> view() const { return view_.lock(); }

    // In the given view's coordinates; in window coordinates when the view is null.
    graphics::Point locationInView(const View* view) const;
    graphics::Point previousLocationInView(const View* view) const;

    // Driven by the window that delivers the touch.
    void setView(const std::shared_ptr<View>& view) { view_ = view; }
    void update(Phase phase, graphics::Point locationInWindow, double timestamp);
    void setTapCount(int count) { tapCount_ = count; }

private:
    std::weak_ptr<Window> window_;
    std::weak_ptr<View> view_;
    Phase phase_ = Phase::Began;
    graphics::Point location_;
    graphics::Point previous_;
    double timestamp_;
    int tapCount_ = 1;
};

using TouchSet = std::vector<std::shared_ptr<Touch>>;

struct Event {
    double timestamp = 0;
    TouchSet allTouches;
};

} // namespace ui
