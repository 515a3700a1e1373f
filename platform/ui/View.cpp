#include "platform/ui/View.h"

#include "platform/foundation/Value.h"
#include "platform/ui/DescriptionReader.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

#include <algorithm>

namespace ui {

using graphics::Point;
using graphics::Rect;
using graphics::Size;

std::shared_ptr<View> View::create(const Rect& frame) { return std::make_shared<View>(frame); }

View::View(const Rect& frame) { setFrame(frame); }

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

Rect View::frame() const {
    const Rect local(-bounds_.width() / 2, -bounds_.height() / 2, bounds_.width(), bounds_.height());
    return transform_.apply(local).offset(center_.x, center_.y);
}

void View::setFrame(const Rect& frame) {
    const Rect f = frame.standardized();
    center_ = {f.midX(), f.midY()};
    setBounds(Rect(bounds_.origin, f.size));
}

void View::setBounds(const Rect& bounds) {
    const Size oldSize = bounds_.size;
    bounds_ = bounds;
    if (oldSize != bounds.size) {
        setNeedsDisplay();
        resizeSubviews(oldSize);
    }
}

void View::resizeSubviews(Size oldSize) {
    if (autoresizesSubviews_)
        for (const auto& subview : subviews_)
            subview->autoresize(oldSize, bounds_.size);
    layoutSubviews();
}

namespace {
// Spreads a change of the superview's length over the flexible parts of one axis, in
// proportion to their current lengths (equally when they are all zero).
void distribute(float delta, float& before, float& length, float& after, bool flexBefore,
                bool flexLength, bool flexAfter) {
    const float total = (flexBefore ? before : 0) + (flexLength ? length : 0) + (flexAfter ? after : 0);
    const int count = int(flexBefore) + int(flexLength) + int(flexAfter);
    if (count == 0)
        return;
    auto share = [&](float part) { return total > 0 ? delta * part / total : delta / float(count); };
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
    if (!view || view.get() == this || isDescendantOfView(view.get()))
        return;
    detach(view);
    index = std::min(index, subviews_.size());
    subviews_.insert(subviews_.begin() + static_cast<std::ptrdiff_t>(index), view);
    view->superview_ = sharedView();
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

void View::insertSubviewAbove(const std::shared_ptr<View>& view, const std::shared_ptr<View>& sibling) {
    if (view == sibling)
        return;
    insertSubview(view, indexAfterTakingOut(view, sibling, true));
}

void View::insertSubviewBelow(const std::shared_ptr<View>& view, const std::shared_ptr<View>& sibling) {
    if (view == sibling)
        return;
    insertSubview(view, indexAfterTakingOut(view, sibling, false));
}

void View::removeFromSuperview() {
    auto parent = superview();
    if (!parent)
        return;
    // Keep this view alive while it leaves; the superview may have held the last reference.
    auto self = sharedView();
    std::erase(parent->subviews_, self);
    superview_.reset();
    didMoveToSuperview();
    notifyMovedToWindow();
}

void View::notifyMovedToWindow() {
    didMoveToWindow();
    for (const auto& subview : subviews_)
        subview->notifyMovedToWindow();
}

void View::bringSubviewToFront(const std::shared_ptr<View>& view) {
    auto it = std::find(subviews_.begin(), subviews_.end(), view);
    if (it != subviews_.end())
        std::rotate(it, it + 1, subviews_.end());
}

void View::sendSubviewToBack(const std::shared_ptr<View>& view) {
    auto it = std::find(subviews_.begin(), subviews_.end(), view);
    if (it != subviews_.end())
        std::rotate(subviews_.begin(), it, it + 1);
}

bool View::isDescendantOfView(const View* view) const {
    for (const View* v = this; v; v = v->superview_.lock().get())
        if (v == view)
            return true;
    return false;
}

void View::drawRect(graphics::Context&, const Rect&) {}

Point View::convertPointToSuperview(Point point) const {
    const Point offset{point.x - bounds_.midX(), point.y - bounds_.midY()};
    const Point moved = transform_.apply(offset);
    return {moved.x + center_.x, moved.y + center_.y};
}

Point View::convertPointFromSuperview(Point point) const {
    const Point offset{point.x - center_.x, point.y - center_.y};
    const Point local = transform_.inverted().value_or(graphics::AffineTransform{}).apply(offset);
    return {local.x + bounds_.midX(), local.y + bounds_.midY()};
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
    const Point corners[4] = {{rect.minX(), rect.minY()}, {rect.maxX(), rect.minY()},
                              {rect.minX(), rect.maxY()}, {rect.maxX(), rect.maxY()}};
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
    return point.x >= bounds_.minX() && point.x < bounds_.maxX() && point.y >= bounds_.minY() &&
           point.y < bounds_.maxY();
}

std::shared_ptr<View> View::hitTest(Point point) {
    if (hidden_ || !userInteractionEnabled_ || alpha_ < 0.01f || !pointInside(point))
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
    if (auto controller = controller_.lock(); controller && controller->isViewLoaded() &&
                                              controller->viewIfLoaded().get() == this)
        return controller;
    return superview();
}

} // namespace ui
