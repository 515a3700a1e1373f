#include "platform/animation/Layer.h"

#include "platform/animation/LayerDelegate.h"
#include "platform/foundation/Assertions.h"

#include <algorithm>

namespace animation {

using foundation::assertIsMainThread;

std::shared_ptr<Layer> Layer::create() { return std::shared_ptr<Layer>(new Layer()); }

void Layer::setPosition(graphics::Point position) {
    assertIsMainThread();
    model_.position = position;
}

void Layer::setBounds(const graphics::Rect& bounds) {
    assertIsMainThread();
    if (bounds.size != model_.bounds.size)
        needsDisplay_ = true;
    model_.bounds = bounds;
}

void Layer::setAnchorPoint(graphics::Point anchorPoint) {
    assertIsMainThread();
    model_.anchorPoint = anchorPoint;
}

void Layer::setTransform(const graphics::Transform3D& transform) {
    assertIsMainThread();
    model_.transform = transform;
}

void Layer::setOpacity(float opacity) {
    assertIsMainThread();
    model_.opacity = opacity;
}

void Layer::setHidden(bool hidden) {
    assertIsMainThread();
    model_.hidden = hidden;
}

void Layer::setMasksToBounds(bool masks) {
    assertIsMainThread();
    model_.masksToBounds = masks;
}

void Layer::setBackgroundColor(std::optional<graphics::Color> color) {
    assertIsMainThread();
    model_.backgroundColor = color;
}

void Layer::setContents(std::shared_ptr<graphics::Image> contents) {
    assertIsMainThread();
    model_.contents = std::move(contents);
}

void Layer::setFrame(const graphics::Rect& frame) {
    assertIsMainThread();
    const graphics::Size oldSize = model_.bounds.size;
    model_.setFrame(frame);
    if (model_.bounds.size != oldSize)
        needsDisplay_ = true;
}

LayerValues Layer::presentationAt(double) const { return model_; }

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
}

void Layer::drawInContext(graphics::Context& context) {
    if (delegate_)
        delegate_->drawLayer(*this, context);
    needsDisplay_ = false;
}

} // namespace animation
