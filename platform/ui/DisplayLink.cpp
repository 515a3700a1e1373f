#include "platform/ui/DisplayLink.h"

#include "platform/animation/LayerActivity.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Singleton.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Application.h"
#include "platform/ui/Compositor.h"

#include <algorithm>
#include <limits>

namespace ui {

DisplayLink& DisplayLink::shared() { return foundation::Singleton<DisplayLink>::shared(); }

DisplayLink::DisplayLink() : lastFrameTime_(-std::numeric_limits<double>::infinity()) {
    animation::LayerActivity::shared().setObserver([this] { requestFrame(); });
}

DisplayLink::~DisplayLink() { animation::LayerActivity::shared().setObserver(nullptr); }

bool DisplayLink::isAnimating() const {
    return animation::LayerActivity::shared().isAnimating(foundation::RunLoop::main().now());
}

void DisplayLink::requestFrame() {
    // What views change while they draw shows in this frame already.
    if (drawing_ || timer_.isActive())
        return;
    const double due = lastFrameTime_ + kFrameInterval - foundation::RunLoop::main().now();
    timer_.start(foundation::Seconds(std::max(0.0, due)), false, [this] { drawFrame(); });
}

void DisplayLink::drawFrame() {
    lastFrameTime_ = foundation::RunLoop::main().now();
    if (!Application::shared().windows().empty()) {
        drawing_ = true;
        lastFrame_ = Compositor::renderScreen();
        drawing_ = false;
        ++frameCount_;
    }
    if (isAnimating())
        requestFrame();
}

} // namespace ui
