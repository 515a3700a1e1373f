#pragma once

#include "platform/foundation/Timer.h"

#include <memory>

namespace foundation {
template <typename T>
class Singleton;
}

namespace graphics {
class Image;
}

namespace ui {

// Draws the screen the way the phone does: at the end of a run-loop turn in which a layer
// changed, and every 1/60 s of the loop's clock while an animation runs, never more often.
// The frame goes to an off-screen buffer, so whatever views do when they draw happens
// whether or not anyone takes a screenshot. Nothing is drawn while no window shows. While
// nothing animates there is no frame timer, so a virtual clock still jumps from timer to timer.
class DisplayLink {
public:
    static constexpr double kFrameInterval = 1.0 / 60;

    static DisplayLink& shared();
    ~DisplayLink();

    // Whether some layer has an animation that has not ended yet.
    bool isAnimating() const;
    int frameCount() const { return frameCount_; }
    std::shared_ptr<graphics::Image> lastFrame() const { return lastFrame_; }

private:
    friend class foundation::Singleton<DisplayLink>;
    DisplayLink();
    void requestFrame();
    void drawFrame();

    foundation::Timer timer_;
    double lastFrameTime_;
    std::shared_ptr<graphics::Image> lastFrame_;
    int frameCount_ = 0;
    bool drawing_ = false;
};

} // namespace ui
