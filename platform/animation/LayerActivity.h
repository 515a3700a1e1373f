#pragma once

#include <functional>
#include <memory>
#include <vector>

namespace foundation {
template <typename T>
class Singleton;
}

namespace animation {

class Layer;

// What the screen needs from the layers: word that something changed since the last frame,
// and whether an animation is under way, so frames keep coming while it runs.
class LayerActivity {
public:
    static LayerActivity& shared();

    // The one listener (the display); it asks for a frame at the end of the turn.
    void setObserver(std::function<void()> observer) { observer_ = std::move(observer); }
    void layerChanged();
    void animationAdded(const std::shared_ptr<Layer>& layer);
    // True while some layer has an animation that has not ended at this loop time.
    bool isAnimating(double time);

private:
    friend class foundation::Singleton<LayerActivity>;
    LayerActivity() = default;

    std::function<void()> observer_;
    std::vector<std::weak_ptr<Layer>> animating_;
};

} // namespace animation
