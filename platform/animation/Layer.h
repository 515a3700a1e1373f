#pragma once

#include "platform/animation/LayerValues.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace graphics {
class Context;
}

namespace animation {

class Animation;
class LayerDelegate;
class Transition;

// A rectangle of content in a tree of layers: the compositor draws each layer in its own
// space, then its sublayers above it. The model values are what was last set; the values
// shown at a given time come from presentationAt, which is where animations take effect.
class Layer : public std::enable_shared_from_this<Layer> {
public:
    static std::shared_ptr<Layer> create();

    // Model values.
    const LayerValues& modelValues() const { return model_; }
    graphics::Point position() const { return model_.position; }
    void setPosition(graphics::Point position);
    const graphics::Rect& bounds() const { return model_.bounds; }
    void setBounds(const graphics::Rect& bounds);
    graphics::Point anchorPoint() const { return model_.anchorPoint; }
    void setAnchorPoint(graphics::Point anchorPoint);
    const graphics::Transform3D& transform() const { return model_.transform; }
    void setTransform(const graphics::Transform3D& transform);
    float opacity() const { return model_.opacity; }
    void setOpacity(float opacity);
    bool isHidden() const { return model_.hidden; }
    void setHidden(bool hidden);
    bool masksToBounds() const { return model_.masksToBounds; }
    void setMasksToBounds(bool masks);
    std::optional<graphics::Color> backgroundColor() const { return model_.backgroundColor; }
    void setBackgroundColor(std::optional<graphics::Color> color);
    std::shared_ptr<graphics::Image> contents() const { return model_.contents; }
    void setContents(std::shared_ptr<graphics::Image> contents);
    graphics::Rect frame() const { return model_.frame(); }
    void setFrame(const graphics::Rect& frame);

    // The values to draw at the given time on the run loop's clock: the model values with
    // the running animations applied in the order they were added.
    LayerValues presentationAt(double time) const;

    // Animations. The layer keeps a copy of the animation; one added under a key replaces
    // the one under that key. Starts and stops reach the animation's delegate on the run
    // loop: a stop once per animation, finished when it ran to its end, not when removed
    // before. An animation that ends is removed then, unless told otherwise.
    void addAnimation(const std::shared_ptr<Animation>& animation, const std::string& key = {});
    std::shared_ptr<const Animation> animationForKey(std::string_view key) const;
    std::vector<std::string> animationKeys() const;
    void removeAnimationForKey(std::string_view key);
    void removeAllAnimations();
    // True while an animation has yet to reach its end at that time.
    bool hasAnimationsRunningAt(double time) const;
    // The transition showing at that time (the latest added) and how far along it is.
    struct TransitionState {
        std::shared_ptr<const Transition> transition;
        double progress = 0;
    };
    std::optional<TransitionState> transitionAt(double time) const;

    // The tree. A layer owns its sublayers and knows its superlayer weakly; adding a layer
    // takes it out of its old superlayer first.
    const std::vector<std::shared_ptr<Layer>>& sublayers() const { return sublayers_; }
    std::shared_ptr<Layer> superlayer() const { return superlayer_.lock(); }
    void addSublayer(const std::shared_ptr<Layer>& layer);
    void insertSublayer(const std::shared_ptr<Layer>& layer, std::size_t index);
    // Below the sibling; at the bottom when the sibling is not a sublayer of this layer.
    void insertSublayerBelow(const std::shared_ptr<Layer>& layer,
                             const std::shared_ptr<Layer>& sibling);
    void removeFromSuperlayer();
    bool isDescendantOf(const Layer* layer) const;

    // Content. The delegate is not owned: it clears itself before it goes away.
    LayerDelegate* delegate() const { return delegate_; }
    void setDelegate(LayerDelegate* delegate);
    void setNeedsDisplay();
    bool needsDisplay() const { return needsDisplay_; }
    // Has the delegate draw the content in bounds coordinates.
    void drawInContext(graphics::Context& context);

protected:
    Layer() = default;

private:
    struct Attached;
    void start(const std::shared_ptr<Attached>& attached);
    void finish(const std::shared_ptr<Attached>& attached);
    // Takes the animations out and tells each, on the loop, that it stopped unfinished.
    void detach(std::vector<std::shared_ptr<Attached>> removed);
    void changed();

    std::vector<std::shared_ptr<Attached>> animations_;
    LayerValues model_;
    std::vector<std::shared_ptr<Layer>> sublayers_;
    std::weak_ptr<Layer> superlayer_;
    LayerDelegate* delegate_ = nullptr;
    bool needsDisplay_ = true;
};

} // namespace animation
