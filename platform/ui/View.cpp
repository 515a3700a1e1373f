#include "platform/ui/View.h"

#include "platform/animation/Layer.h"
#include "platform/foundation/Assertions.h"
#include "platform/foundation/Value.h"
#include "platform/ui/DescriptionReader.h"
#include "platform/ui/DisplayLink.h"
#include "platform/ui/ViewAnimation.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

#include <algorithm>

namespace ui {

using foundation::assertIsMainThread;
using graphics::Point;
using graphics::Rect;
using graphics::Size;

View::View(const Rect& frame) : layer_(animation::Layer::create()) {
    // From the first view on, changes to layers bring frames.
    DisplayLink::shared();
    layer_->setDelegate(this);
    // Straight to the layer: a view made inside an animation block appears where it is put.
    layer_->setFrame(frame);
}

// The layer may outlive its view (a drawing in progress holds it), so it must forget us.
View::~View() { layer_->setDelegate(nullptr); }

void View::configure(const foundation::Value& d) {
    if (auto frame = DescriptionReader::rect(d["frame"]))
        setFrame(*frame);
    if (auto color = DescriptionReader::color(d["backgroundColor"]))
        setBackgroundColor(*color);
    if (d["hidden"].isNumber())
        setHidden(d["hidden"].boolValue());
    if (d["alpha"].isNumber())
        setAlpha(static_cast<float>(d["alpha"].doubleValue()));
    if (d["tag"].isNumber())
        setTag(static_cast<int>(d["tag"].intValue()));
    if (d["autoresizingMask"].isNumber())
        setAutoresizingMask(static_cast<unsigned>(d["autoresizingMask"].intValue()));
    if (d["clipsToBounds"].isNumber())
        setClipsToBounds(d["clipsToBounds"].boolValue());
    if (d["userInteractionEnabled"].isNumber())
        setUserInteractionEnabled(d["userInteractionEnabled"].boolValue());
    if (d["opaque"].isNumber())
        setOpaque(d["opaque"].boolValue());
}

Rect View::frame() const { return layer_->frame(); }

void View::setFrame(const Rect& frame) {
    const Size oldSize = bounds().size;
    animateChanges({"position", "bounds"}, [&] { layer_->setFrame(frame); });
    resizeSubviews(oldSize);
}

const Rect& View::bounds() const { return layer_->bounds(); }

void View::setBounds(const Rect& bounds) {
    const Size oldSize = this->bounds().size;
    animateChanges({"bounds"}, [&] { layer_->setBounds(bounds); });
    resizeSubviews(oldSize);
}

Point View::center() const { return layer_->position(); }

void View::setCenter(Point center) {
    animateChanges({"position"}, [&] { layer_->setPosition(center); });
}

graphics::AffineTransform View::transform() const { return layer_->transform().affine(); }

void View::setTransform(const graphics::AffineTransform& transform) {
    animateChanges({"transform"},
                   [&] { layer_->setTransform(graphics::Transform3D::fromAffine(transform)); });
}

float View::alpha() const { return layer_->opacity(); }

void View::setAlpha(float alpha) {
    animateChanges({"opacity"}, [&] { layer_->setOpacity(alpha); });
}

bool View::isHidden() const { return layer_->isHidden(); }

void View::setHidden(bool hidden) { layer_->setHidden(hidden); }

std::optional<graphics::Color> View::backgroundColor() const { return layer_->backgroundColor(); }

void View::setBackgroundColor(std::optional<graphics::Color> color) {
    animateChanges({"backgroundColor"}, [&] { layer_->setBackgroundColor(color); });
}

void View::animateChanges(std::initializer_list<const char*> keyPaths,
                          const std::function<void()>& change) {
    ViewAnimation::shared().animate(*layer_, keyPaths, change);
}

void View::beginAnimations(std::string name, std::shared_ptr<void> context) {
    ViewAnimation::shared().begin(std::move(name), std::move(context));
}

void View::commitAnimations() { ViewAnimation::shared().commit(); }

namespace {
// Settings outside a block are ignored, as the platform ignores them.
template <typename Set>
void setInBlock(Set set) {
    if (auto block = ViewAnimation::shared().current())
        set(*block);
}
} // namespace

void View::setAnimationDuration(double seconds) {
    setInBlock([&](auto& block) { block.duration = seconds; });
}

void View::setAnimationDelay(double seconds) {
    setInBlock([&](auto& block) { block.delay = seconds; });
}

void View::setAnimationCurve(ViewAnimationCurve curve) {
    setInBlock([&](auto& block) { block.curve = curve; });
}

void View::setAnimationRepeatCount(float count) {
    setInBlock([&](auto& block) { block.repeatCount = count; });
}

void View::setAnimationRepeatAutoreverses(bool autoreverses) {
    setInBlock([&](auto& block) { block.autoreverses = autoreverses; });
}

void View::setAnimationBeginsFromCurrentState(bool fromCurrentState) {
    setInBlock([&](auto& block) { block.beginsFromCurrentState = fromCurrentState; });
}

void View::setAnimationWillStartHandler(
    std::function<void(const std::string&, const std::shared_ptr<void>&)> handler) {
    setInBlock([&](auto& block) { block.willStart = std::move(handler); });
}

void View::setAnimationDidStopHandler(
    std::function<void(const std::string&, bool, const std::shared_ptr<void>&)> handler) {
    setInBlock([&](auto& block) { block.didStop = std::move(handler); });
}

void View::setAnimationTransition(ViewAnimationTransition transition,
                                  const std::shared_ptr<View>& view, bool cache) {
    ViewAnimation::shared().setTransition(transition, view, cache);
}

bool View::clipsToBounds() const { return layer_->masksToBounds(); }

void View::setClipsToBounds(bool clips) { layer_->setMasksToBounds(clips); }

void View::setOpaque(bool opaque) {
    assertIsMainThread();
    opaque_ = opaque;
}

void View::setContentMode(ContentMode mode) {
    assertIsMainThread();
    contentMode_ = mode;
}

void View::setUserInteractionEnabled(bool enabled) {
    assertIsMainThread();
    userInteractionEnabled_ = enabled;
}

void View::setAutoresizingMask(unsigned mask) {
    assertIsMainThread();
    autoresizingMask_ = mask;
}

void View::setAutoresizesSubviews(bool autoresizes) {
    assertIsMainThread();
    autoresizesSubviews_ = autoresizes;
}

void View::setTag(int tag) {
    assertIsMainThread();
    tag_ = tag;
}

void View::setViewController(const std::shared_ptr<ViewController>& controller) {
    assertIsMainThread();
    controller_ = controller;
}

void View::resizeSubviews(Size oldSize) {
    const Size newSize = bounds().size;
    if (oldSize == newSize)
        return;
    if (autoresizesSubviews_)
        for (const auto& subview : subviews_)
            subview->autoresize(oldSize, newSize);
    layoutSubviews();
}

namespace {
// Spreads a change of the superview's length over the flexible parts of one axis, in
// proportion to their current lengths (equally when they are all zero).
void distribute(float delta, float& before, float& length, float& after, bool flexBefore,
                bool flexLength, bool flexAfter) {
    const float total =
        (flexBefore ? before : 0) + (flexLength ? length : 0) + (flexAfter ? after : 0);
    const int count = int(flexBefore) + int(flexLength) + int(flexAfter);
    if (count == 0)
        return;
    auto share = [&](float part) {
        return total > 0 ? delta * part / total : delta / float(count);
    };
    const float dBefore = flexBefore ? share(before) : 0;
    const float dLength = flexLength ? share(length) : 0;
    before += dBefore;
    length += dLength;
    after += delta - dBefore - dLength;
}
} // namespace

void View::autoresize(Size oldSuperSize, Size newSuperSize) {
    if (autoresizingMask_ == AutoresizingNone)
        return;
    Rect f = frame();
    float left = f.minX(), width = f.width(), right = oldSuperSize.width - f.maxX();
    float top = f.minY(), height = f.height(), bottom = oldSuperSize.height - f.maxY();
    const unsigned m = autoresizingMask_;
    distribute(newSuperSize.width - oldSuperSize.width, left, width, right,
               m & AutoresizingFlexibleLeftMargin, m & AutoresizingFlexibleWidth,
               m & AutoresizingFlexibleRightMargin);
    distribute(newSuperSize.height - oldSuperSize.height, top, height, bottom,
               m & AutoresizingFlexibleTopMargin, m & AutoresizingFlexibleHeight,
               m & AutoresizingFlexibleBottomMargin);
    setFrame(Rect(left, top, std::max(0.0f, width), std::max(0.0f, height)));
}

std::shared_ptr<View> View::viewWithTag(int tag) {
    if (tag_ == tag)
        return sharedView();
    for (const auto& subview : subviews_)
        if (auto found = subview->viewWithTag(tag))
            return found;
    return nullptr;
}

std::shared_ptr<Window> View::window() const {
    auto parent = superview();
    return parent ? parent->window() : nullptr;
}

void View::detach(const std::shared_ptr<View>& view) {
    if (auto old = view->superview())
        std::erase(old->subviews_, view);
}

void View::addSubview(const std::shared_ptr<View>& view) { insertSubview(view, subviews_.size()); }

void View::insertSubview(const std::shared_ptr<View>& view, std::size_t index) {
    assertIsMainThread();
    if (!view || view.get() == this || isDescendantOfView(view.get()))
        return;
    detach(view);
    index = std::min(index, subviews_.size());
    subviews_.insert(subviews_.begin() + static_cast<std::ptrdiff_t>(index), view);
    view->superview_ = sharedView();
    placeLayerOf(*view);
    view->didMoveToSuperview();
    view->notifyMovedToWindow();
}

std::size_t View::indexAfterTakingOut(const std::shared_ptr<View>& view,
                                      const std::shared_ptr<View>& sibling, bool above) {
    // A view moving within this one leaves first, so the sibling's index is taken afterwards.
    if (view && view->superview_.lock().get() == this)
        std::erase(subviews_, view);
    auto it = std::find(subviews_.begin(), subviews_.end(), sibling);
    if (it == subviews_.end())
        return above ? subviews_.size() : 0;
    return std::size_t(it - subviews_.begin()) + (above ? 1 : 0);
}

void View::placeLayerOf(const View& subview) {
    auto it = std::find_if(subviews_.begin(), subviews_.end(),
                           [&](const auto& v) { return v.get() == &subview; });
    if (it == subviews_.end() || it + 1 == subviews_.end())
        layer_->addSublayer(subview.layer_);
    else
        layer_->insertSublayerBelow(subview.layer_, (*(it + 1))->layer_);
}

void View::insertSubviewAbove(const std::shared_ptr<View>& view,
                              const std::shared_ptr<View>& sibling) {
    assertIsMainThread();
    if (view == sibling)
        return;
    insertSubview(view, indexAfterTakingOut(view, sibling, true));
}

void View::insertSubviewBelow(const std::shared_ptr<View>& view,
                              const std::shared_ptr<View>& sibling) {
    assertIsMainThread();
    if (view == sibling)
        return;
    insertSubview(view, indexAfterTakingOut(view, sibling, false));
}

void View::removeFromSuperview() {
    assertIsMainThread();
    auto parent = superview();
    if (!parent)
        return;
    // Keep this view alive while it leaves; the superview may have held the last reference.
    auto self = sharedView();
    std::erase(parent->subviews_, self);
    superview_.reset();
    layer_->removeFromSuperlayer();
    didMoveToSuperview();
    notifyMovedToWindow();
}

void View::notifyMovedToWindow() {
    didMoveToWindow();
    for (const auto& subview : subviews_)
        subview->notifyMovedToWindow();
}

void View::bringSubviewToFront(const std::shared_ptr<View>& view) {
    assertIsMainThread();
    auto it = std::find(subviews_.begin(), subviews_.end(), view);
    if (it == subviews_.end())
        return;
    std::rotate(it, it + 1, subviews_.end());
    placeLayerOf(*view);
}

void View::sendSubviewToBack(const std::shared_ptr<View>& view) {
    assertIsMainThread();
    auto it = std::find(subviews_.begin(), subviews_.end(), view);
    if (it == subviews_.end())
        return;
    std::rotate(subviews_.begin(), it, it + 1);
    placeLayerOf(*view);
}

bool View::isDescendantOfView(const View* view) const {
    for (const View* v = this; v; v = v->superview_.lock().get())
        if (v == view)
            return true;
    return false;
}

void View::drawRect(graphics::Context&, const Rect&) {}

void View::drawLayer(animation::Layer&, graphics::Context& context) { drawRect(context, bounds()); }

void View::setNeedsDisplay() { layer_->setNeedsDisplay(); }

bool View::needsDisplay() const { return layer_->needsDisplay(); }

Point View::convertPointToSuperview(Point point) const {
    return layer_->modelValues().convertPointToSuperlayer(point);
}

Point View::convertPointFromSuperview(Point point) const {
    return layer_->modelValues().convertPointFromSuperlayer(point);
}

Point View::convertPointToView(Point point, const View* view) const {
    // Up to the screen, then down to the target.
    Point screen = point;
    for (const View* v = this; v; v = v->superview_.lock().get())
        screen = v->convertPointToSuperview(screen);
    if (!view)
        return screen;
    return view->convertPointFromView(screen, nullptr);
}

Point View::convertPointFromView(Point point, const View* view) const {
    if (view)
        point = view->convertPointToView(point, nullptr);
    std::vector<const View*> chain;
    for (const View* v = this; v; v = v->superview_.lock().get())
        chain.push_back(v);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        point = (*it)->convertPointFromSuperview(point);
    return point;
}

namespace {
template <typename Convert>
Rect convertCorners(const Rect& rect, Convert convert) {
    const Point corners[4] = {{rect.minX(), rect.minY()},
                              {rect.maxX(), rect.minY()},
                              {rect.minX(), rect.maxY()},
                              {rect.maxX(), rect.maxY()}};
    Point lo = convert(corners[0]), hi = lo;
    for (const Point& corner : corners) {
        const Point p = convert(corner);
        lo = {std::min(lo.x, p.x), std::min(lo.y, p.y)};
        hi = {std::max(hi.x, p.x), std::max(hi.y, p.y)};
    }
    return Rect(lo.x, lo.y, hi.x - lo.x, hi.y - lo.y);
}
} // namespace

Rect View::convertRectToView(const Rect& rect, const View* view) const {
    return convertCorners(rect, [&](Point p) { return convertPointToView(p, view); });
}

Rect View::convertRectFromView(const Rect& rect, const View* view) const {
    return convertCorners(rect, [&](Point p) { return convertPointFromView(p, view); });
}

bool View::pointInside(Point point) const {
    const Rect& b = bounds();
    return point.x >= b.minX() && point.x < b.maxX() && point.y >= b.minY() && point.y < b.maxY();
}

std::shared_ptr<View> View::hitTest(Point point) {
    if (isHidden() || !userInteractionEnabled_ || alpha() < 0.01f || !pointInside(point))
        return nullptr;
    for (auto it = subviews_.rbegin(); it != subviews_.rend(); ++it) {
        // Copy: a subview may be removed while we look.
        auto subview = *it;
        if (auto hit = subview->hitTest(subview->convertPointFromSuperview(point)))
            return hit;
    }
    return sharedView();
}

std::shared_ptr<Responder> View::nextResponder() const {
    if (auto controller = controller_.lock();
        controller && controller->isViewLoaded() && controller->viewIfLoaded().get() == this)
        return controller;
    return superview();
}

} // namespace ui
