#include "platform/animation/LayerActivity.h"

#include "platform/animation/Layer.h"
#include "platform/foundation/Singleton.h"

#include <algorithm>

namespace animation {

LayerActivity& LayerActivity::shared() { return foundation::Singleton<LayerActivity>::shared(); }

void LayerActivity::layerChanged() {
    if (observer_)
        observer_();
}

void LayerActivity::animationAdded(const std::shared_ptr<Layer>& layer) {
    const bool known = std::any_of(animating_.begin(), animating_.end(),
                                   [&](const auto& weak) { return weak.lock() == layer; });
    if (!known)
        animating_.push_back(layer);
    layerChanged();
}

bool LayerActivity::isAnimating(double time) {
    std::erase_if(animating_, [time](const std::weak_ptr<Layer>& weak) {
        auto layer = weak.lock();
        return !layer || !layer->hasAnimationsRunningAt(time);
    });
    return !animating_.empty();
}

} // namespace animation
