#include "platform/animation/Layer.h"

#include "platform/animation/Animation.h"
#include "platform/animation/AnimationDelegate.h"
#include "platform/animation/LayerActivity.h"
#include "platform/animation/LayerDelegate.h"
#include "platform/animation/Transaction.h"
#include "platform/animation/Transition.h"
#include "platform/foundation/Assertions.h"
#include "platform/foundation/RunLoop.h"

#include <algorithm>
#include <limits>

namespace animation {

using foundation::assertIsMainThread;

std::shared_ptr<Layer> Layer::create() { return std::shared_ptr<Layer>(new Layer()); }

void Layer::setPosition(graphics::Point position) {
    assertIsMainThread();
    model_.position = position;
    changed();
}

void Layer::setBounds(const graphics::Rect& bounds) {
    assertIsMainThread();
    if (bounds.size != model_.bounds.size)
        needsDisplay_ = true;
    model_.bounds = bounds;
    changed();
}

void Layer::setAnchorPoint(graphics::Point anchorPoint) {
    assertIsMainThread();
    model_.anchorPoint = anchorPoint;
    changed();
}

void Layer::setTransform(const graphics::Transform3D& transform) {
    assertIsMainThread();
    model_.transform = transform;
    changed();
}

void Layer::setOpacity(float opacity) {
    assertIsMainThread();
    model_.opacity = opacity;
    changed();
}

void Layer::setHidden(bool hidden) {
    assertIsMainThread();
    model_.hidden = hidden;
    changed();
}

void Layer::setMasksToBounds(bool masks) {
    assertIsMainThread();
    model_.masksToBounds = masks;
    changed();
}

void Layer::setBackgroundColor(std::optional<graphics::Color> color) {
    assertIsMainThread();
    model_.backgroundColor = color;
    changed();
}

void Layer::setContents(std::shared_ptr<graphics::Image> contents) {
    assertIsMainThread();
    model_.contents = std::move(contents);
    changed();
}

void Layer::setFrame(const graphics::Rect& frame) {
    assertIsMainThread();
    const graphics::Size oldSize = model_.bounds.size;
    model_.setFrame(frame);
    if (model_.bounds.size != oldSize)
        needsDisplay_ = true;
    changed();
}

void Layer::changed() { LayerActivity::shared().layerChanged(); }

// One animation on this layer: the layer's copy and where it stands.
struct Layer::Attached {
    std::string key;
    std::shared_ptr<Animation> animation;
    double begin = 0;
    double end = 0;
    std::shared_ptr<Transaction::Batch> batch;
    bool stopped = false;

    void notifyStop(bool finished) {
        if (stopped)
            return;
        stopped = true;
        if (auto delegate = animation->delegate().lock())
            delegate->animationDidStop(*animation, finished);
        if (batch)
            batch->done(finished);
    }
};

LayerValues Layer::presentationAt(double time) const {
    LayerValues values = model_;
    for (const auto& attached : animations_)
        attached->animation->applyAt(values, time - attached->begin);
    return values;
}

void Layer::addAnimation(const std::shared_ptr<Animation>& animation, const std::string& key) {
    assertIsMainThread();
    if (!animation)
        return;
    auto attached = std::make_shared<Attached>();
    attached->key = key;
    attached->animation = animation->copy();
    const double now = foundation::RunLoop::main().now();
    if (attached->animation->beginTime() == 0)
        attached->animation->setBeginTime(now);
    attached->begin = attached->animation->beginTime();
    attached->end = attached->begin + attached->animation->activeDuration();
    attached->batch = Transaction::currentBatch();
    if (attached->batch)
        attached->batch->add();
    if (!key.empty())
        removeAnimationForKey(key);
    animations_.push_back(attached);
    start(attached);
    LayerActivity::shared().animationAdded(shared_from_this());
}

void Layer::start(const std::shared_ptr<Attached>& attached) {
    auto& loop = foundation::RunLoop::main();
    const double now = loop.now();
    std::weak_ptr<Layer> weakSelf = weak_from_this();
    std::weak_ptr<Attached> weakAttached = attached;
    loop.postAfter(foundation::Seconds(attached->begin - now), attached, [weakAttached] {
        auto a = weakAttached.lock();
        if (auto delegate = a->animation->delegate().lock())
            delegate->animationDidStart(*a->animation);
    });
    if (attached->end == std::numeric_limits<double>::infinity())
        return;
    loop.postAfter(foundation::Seconds(attached->end - now), attached, [weakSelf, weakAttached] {
        if (auto self = weakSelf.lock())
            self->finish(weakAttached.lock());
    });
}

void Layer::finish(const std::shared_ptr<Attached>& attached) {
    if (attached->animation->isRemovedOnCompletion()) {
        std::erase(animations_, attached);
        changed();
    }
    attached->notifyStop(true);
}

void Layer::detach(std::vector<std::shared_ptr<Attached>> removed) {
    if (removed.empty())
        return;
    for (const auto& attached : removed)
        std::erase(animations_, attached);
    changed();
    // Held by the posted work itself, so it runs even though the layer let go.
    auto held = std::make_shared<std::vector<std::shared_ptr<Attached>>>(std::move(removed));
    foundation::RunLoop::main().postAfter(foundation::Seconds(0), held, [held] {
        for (const auto& attached : *held)
            attached->notifyStop(false);
    });
}

std::shared_ptr<const Animation> Layer::animationForKey(std::string_view key) const {
    for (const auto& attached : animations_)
        if (!key.empty() && attached->key == key)
            return attached->animation;
    return nullptr;
}

std::vector<std::string> Layer::animationKeys() const {
    std::vector<std::string> keys;
    for (const auto& attached : animations_)
        if (!attached->key.empty())
            keys.push_back(attached->key);
    return keys;
}

void Layer::removeAnimationForKey(std::string_view key) {
    assertIsMainThread();
    std::vector<std::shared_ptr<Attached>> removed;
    for (const auto& attached : animations_)
        if (!key.empty() && attached->key == key)
            removed.push_back(attached);
    detach(std::move(removed));
}

void Layer::removeAllAnimations() {
    assertIsMainThread();
    detach(animations_);
}

bool Layer::hasAnimationsRunningAt(double time) const {
    return std::any_of(animations_.begin(), animations_.end(),
                       [time](const auto& attached) { return time < attached->end; });
}

std::optional<Layer::TransitionState> Layer::transitionAt(double time) const {
    for (auto it = animations_.rbegin(); it != animations_.rend(); ++it) {
        auto transition = std::dynamic_pointer_cast<const Transition>((*it)->animation);
        if (!transition)
            continue;
        if (auto progress = transition->progressAt(time - (*it)->begin))
            return TransitionState{transition, *progress};
    }
    return std::nullopt;
}

void Layer::addSublayer(const std::shared_ptr<Layer>& layer) {
    insertSublayer(layer, sublayers_.size());
}

void Layer::insertSublayer(const std::shared_ptr<Layer>& layer, std::size_t index) {
    assertIsMainThread();
    // A layer cannot hold itself or one of its ancestors.
    if (!layer || isDescendantOf(layer.get()))
        return;
    if (auto old = layer->superlayer())
        std::erase(old->sublayers_, layer);
    index = std::min(index, sublayers_.size());
    sublayers_.insert(sublayers_.begin() + static_cast<std::ptrdiff_t>(index), layer);
    layer->superlayer_ = weak_from_this();
    changed();
}

void Layer::insertSublayerBelow(const std::shared_ptr<Layer>& layer,
                                const std::shared_ptr<Layer>& sibling) {
    assertIsMainThread();
    if (!layer || layer == sibling)
        return;
    // Taken out first, so the sibling's index is read where the layer will go.
    if (layer->superlayer().get() == this)
        std::erase(sublayers_, layer);
    auto it = std::find(sublayers_.begin(), sublayers_.end(), sibling);
    insertSublayer(layer, it == sublayers_.end() ? 0 : std::size_t(it - sublayers_.begin()));
}

void Layer::removeFromSuperlayer() {
    assertIsMainThread();
    auto parent = superlayer();
    if (!parent)
        return;
    // Keep this layer alive while it leaves; the superlayer may have held the last reference.
    auto self = shared_from_this();
    std::erase(parent->sublayers_, self);
    superlayer_.reset();
    changed();
}

bool Layer::isDescendantOf(const Layer* layer) const {
    for (const Layer* l = this; l; l = l->superlayer_.lock().get())
        if (l == layer)
            return true;
    return false;
}

// No thread check: a view clears itself from its destructor, which may run at exit, after the
// main run loop is gone.
void Layer::setDelegate(LayerDelegate* delegate) { delegate_ = delegate; }

void Layer::setNeedsDisplay() {
    assertIsMainThread();
    needsDisplay_ = true;
    changed();
}

void Layer::drawInContext(graphics::Context& context) {
    if (delegate_)
        delegate_->drawLayer(*this, context);
    needsDisplay_ = false;
}

} // namespace animation
