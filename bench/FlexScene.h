#pragma once

#include "LoopbackNetwork.h"
#include "platform/foundation/Result.h"

#include <memory>

namespace pennant {
class FlexAd;
class FlexAdContainerView;
} // namespace pennant

namespace ui {
class Window;
}

// The largest flex banner at the bottom of a 320 x 480 key window with every animation running:
// its images fetched from the ad server on loopback, the container drawn once (which starts
// the animations) and the virtual clock run into them. Lives inside the platform context it
// was made in.
class FlexScene {
public:
    // The loop time from the first drawing to the measured instant: inside every member.
    static constexpr double kIntoAnimations = 1.3;

    FlexScene();
    ~FlexScene();
    FlexScene(const FlexScene&) = delete;
    FlexScene& operator=(const FlexScene&) = delete;

    foundation::Status show();
    const std::shared_ptr<pennant::FlexAdContainerView>& container() const;

private:
    struct LoadWatcher;

    foundation::Status load();

    LoopbackNetwork network_;
    std::shared_ptr<LoadWatcher> watcher_;
    std::shared_ptr<pennant::FlexAd> flexAd_;
    std::shared_ptr<ui::Window> window_;
};
