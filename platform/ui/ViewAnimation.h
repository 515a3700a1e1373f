#pragma once

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace animation {
class Layer;
}

namespace foundation {
template <typename T>
class Singleton;
}

namespace graphics {
class Image;
}

namespace ui {

class View;

enum class ViewAnimationCurve : int { EaseInOut = 0, EaseIn = 1, EaseOut = 2, Linear = 3 };
enum class ViewAnimationTransition : int { None = 0, FlipFromLeft = 1, FlipFromRight = 2 };

// The open view animation blocks (View::beginAnimations ... View::commitAnimations). Each
// block is a transaction of layer animations; its settings start as those of the block around
// it. Views report their property changes here so that, inside a block, they animate.
class ViewAnimation {
public:
    using WillStartHandler =
        std::function<void(const std::string& name, const std::shared_ptr<void>& context)>;
    using DidStopHandler = std::function<void(const std::string& name, bool finished,
                                              const std::shared_ptr<void>& context)>;

    struct Block {
        std::string name;
        std::shared_ptr<void> context;
        double duration = 0.2;
        double delay = 0;
        ViewAnimationCurve curve = ViewAnimationCurve::EaseInOut;
        float repeatCount = 0;
        bool autoreverses = false;
        bool beginsFromCurrentState = false;
        WillStartHandler willStart;
        DidStopHandler didStop;
        ViewAnimationTransition transition = ViewAnimationTransition::None;
        std::weak_ptr<View> transitionView;
        bool transitionCached = false;
        std::shared_ptr<graphics::Image> pictureBefore;
    };

    static ViewAnimation& shared();

    void begin(std::string name, std::shared_ptr<void> context);
    void commit();
    // The innermost open block, or null outside blocks.
    Block* current() { return open_.empty() ? nullptr : open_.back().get(); }
    void setTransition(ViewAnimationTransition transition, const std::shared_ptr<View>& view,
                       bool cache);
    // Makes the change; inside a block each key path then animates from the value shown
    // before (or the model value) to its new model value.
    void animate(animation::Layer& layer, std::initializer_list<const char*> keyPaths,
                 const std::function<void()>& change);

private:
    friend class foundation::Singleton<ViewAnimation>;
    ViewAnimation() = default;
    void addTransition(const Block& block);

    std::vector<std::shared_ptr<Block>> open_;
};

} // namespace ui
