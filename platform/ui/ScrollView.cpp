#include "platform/ui/ScrollView.h"

#include "platform/foundation/RunLoop.h"
#include "platform/ui/ScrollViewDelegate.h"

#include <algorithm>
#include <cmath>

namespace ui {

using graphics::Point;
using graphics::Rect;

namespace {

// Slower than this when the finger lifts, the content stays where it is (or pages to the
// nearest page); faster, it glides on (or pages on in the flick's direction).
constexpr float kFlickSpeed = 100.0f;
// A free glide covers the distance the lift-off speed would cover in this time.
constexpr double kMomentumSeconds = 0.5;
// An ease-out glide starts at three times its mean speed, so matching the lift-off speed
// takes three times the momentum time.
constexpr double kMomentumGlideSeconds = 3 * kMomentumSeconds;
// A finger that rests this long before lifting has thrown nothing.
constexpr double kRestBeforeLiftSeconds = 0.1;
constexpr double kGlideFrameSeconds = 1.0 / 60;

float restingCoordinate(float offset, float pageSize, float speed, bool paging) {
    if (!paging)
        return std::abs(speed) > kFlickSpeed ? offset + speed * float(kMomentumSeconds) : offset;
    if (pageSize <= 0)
        return offset;
    const float page = offset / pageSize;
    if (speed > kFlickSpeed)
        return std::ceil(page) * pageSize;
    if (speed < -kFlickSpeed)
        return std::floor(page) * pageSize;
    return std::round(page) * pageSize;
}

} // namespace

ScrollView::ScrollView(const Rect& frame) : View(frame) { setClipsToBounds(true); }

Point ScrollView::maximumContentOffset() const {
    return {std::max(0.0f, contentSize_.width - bounds().width()),
            std::max(0.0f, contentSize_.height - bounds().height())};
}

Point ScrollView::clamped(Point offset) const {
    const Point most = maximumContentOffset();
    return {std::clamp(offset.x, 0.0f, most.x), std::clamp(offset.y, 0.0f, most.y)};
}

void ScrollView::setContentOffset(Point offset, bool animated) {
    if (animated) {
        glideTo(offset, kSettleSeconds, Glide::ScrollingAnimation);
        return;
    }
    stopGliding();
    moveContentTo(offset);
}

void ScrollView::moveContentTo(Point offset) {
    if (offset == contentOffset())
        return;
    setBounds(Rect(offset, bounds().size));
    // Content that depends on what is in sight (a table's rows) follows the scrolling.
    layoutSubviews();
    auto protector = sharedView();
    if (auto listener = delegate())
        listener->scrollViewDidScroll(*this);
}

std::shared_ptr<View> ScrollView::hitTest(Point point) {
    auto hit = View::hitTest(point);
    if (!hit || !scrollEnabled_)
        return hit;
    return sharedView();
}

void ScrollView::touchesBegan(const TouchSet& touches, const Event& event) {
    if (forwarding_) {
        View::touchesBegan(touches, event);
        return;
    }
    const Touch& touch = *touches.front();
    // A touch on gliding content stops it and is not meant for what lies under it.
    const bool stoppedGlide = glide_ != Glide::None;
    stopGliding();
    tracking_ = true;
    dragging_ = false;
    velocity_ = {};
    touchStart_ = lastTouch_ = touch.locationInView(nullptr);
    lastTouchTime_ = touch.timestamp();
    contentTouchBegan_ = false;
    auto target = stoppedGlide ? nullptr : View::hitTest(touch.locationInView(this));
    contentTarget_ = target.get() == this ? nullptr : target;
    if (!target || target.get() == this)
        return;
    if (!delaysContentTouches_) {
        sendToContent(Phase::Began, touches, event);
        return;
    }
    heldTouches_ = touches;
    heldEvent_ = event;
    contentTouchTimer_.start(foundation::Seconds(kContentTouchDelaySeconds), false,
                             [this] { deliverHeldTouch(); });
}

void ScrollView::deliverHeldTouch() {
    contentTouchTimer_.stop();
    const TouchSet touches = std::exchange(heldTouches_, {});
    if (!contentTouchBegan_ && !touches.empty())
        sendToContent(Phase::Began, touches, heldEvent_);
}

void ScrollView::touchesMoved(const TouchSet& touches, const Event& event) {
    if (forwarding_) {
        View::touchesMoved(touches, event);
        return;
    }
    if (!tracking_)
        return;
    const Touch& touch = *touches.front();
    const Point location = touch.locationInView(nullptr);
    if (!dragging_) {
        const float dx = location.x - touchStart_.x, dy = location.y - touchStart_.y;
        const bool farEnough = std::hypot(dx, dy) > kDragThreshold;
        if (!farEnough || (contentTouchBegan_ && !canCancelContentTouches_)) {
            if (contentTouchBegan_)
                sendToContent(Phase::Moved, touches, event);
            return;
        }
        beginDragging(touches, event);
    }
    const double elapsed = touch.timestamp() - lastTouchTime_;
    const Point delta{lastTouch_.x - location.x, lastTouch_.y - location.y};
    if (elapsed > 0)
        velocity_ = {float(delta.x / elapsed), float(delta.y / elapsed)};
    lastTouch_ = location;
    lastTouchTime_ = touch.timestamp();
    const Point offset = contentOffset();
    moveContentTo(clamped({offset.x + delta.x, offset.y + delta.y}));
}

void ScrollView::beginDragging(const TouchSet& touches, const Event& event) {
    contentTouchTimer_.stop();
    heldTouches_.clear();
    if (contentTouchBegan_)
        sendToContent(Phase::Cancelled, touches, event);
    contentTarget_.reset();
    dragging_ = true;
    auto protector = sharedView();
    if (auto listener = delegate())
        listener->scrollViewWillBeginDragging(*this);
}

void ScrollView::touchesEnded(const TouchSet& touches, const Event& event) {
    if (forwarding_) {
        View::touchesEnded(touches, event);
        return;
    }
    if (!tracking_)
        return;
    tracking_ = false;
    if (dragging_) {
        if (touches.front()->timestamp() - lastTouchTime_ > kRestBeforeLiftSeconds)
            velocity_ = {};
        endDragging();
        return;
    }
    if (!contentTouchBegan_) {
        contentTouchTimer_.stop();
        heldTouches_.clear();
        sendToContent(Phase::Began, touches, event);
    }
    sendToContent(Phase::Ended, touches, event);
}

void ScrollView::touchesCancelled(const TouchSet& touches, const Event& event) {
    if (forwarding_) {
        View::touchesCancelled(touches, event);
        return;
    }
    if (!tracking_)
        return;
    tracking_ = false;
    contentTouchTimer_.stop();
    heldTouches_.clear();
    if (contentTouchBegan_)
        sendToContent(Phase::Cancelled, touches, event);
    contentTarget_.reset();
    if (dragging_) {
        velocity_ = {};
        endDragging();
    }
}

void ScrollView::endDragging() {
    dragging_ = false;
    const Point target = restingOffset();
    const bool willDecelerate = target != contentOffset();
    auto protector = sharedView();
    if (auto listener = delegate())
        listener->scrollViewDidEndDragging(*this, willDecelerate);
    if (!willDecelerate)
        return;
    decelerating_ = true;
    if (auto listener = delegate())
        listener->scrollViewWillBeginDecelerating(*this);
    glideTo(target, pagingEnabled_ ? kSettleSeconds : kMomentumGlideSeconds, Glide::Deceleration);
}

Point ScrollView::restingOffset() const {
    const Point offset = contentOffset();
    return clamped({restingCoordinate(offset.x, bounds().width(), velocity_.x, pagingEnabled_),
                    restingCoordinate(offset.y, bounds().height(), velocity_.y, pagingEnabled_)});
}

void ScrollView::glideTo(Point target, double seconds, Glide kind) {
    glide_ = kind;
    glideFrom_ = contentOffset();
    glideTo_ = target;
    glideStart_ = foundation::RunLoop::main().now();
    glideSeconds_ = seconds;
    glideTimer_.start(foundation::Seconds(kGlideFrameSeconds), true, [this] { glideStep(); });
}

void ScrollView::glideStep() {
    const double t =
        std::min(1.0, (foundation::RunLoop::main().now() - glideStart_) / glideSeconds_);
    // Ease out: fast at first, coming to rest at the target.
    const float eased = float(1 - std::pow(1 - t, 3));
    auto protector = sharedView();
    moveContentTo({glideFrom_.x + (glideTo_.x - glideFrom_.x) * eased,
                   glideFrom_.y + (glideTo_.y - glideFrom_.y) * eased});
    if (t < 1 || glide_ == Glide::None)
        return;
    const Glide ended = glide_;
    stopGliding();
    if (auto listener = delegate()) {
        if (ended == Glide::Deceleration)
            listener->scrollViewDidEndDecelerating(*this);
        else
            listener->scrollViewDidEndScrollingAnimation(*this);
    }
}

void ScrollView::stopGliding() {
    glideTimer_.stop();
    glide_ = Glide::None;
    decelerating_ = false;
}

void ScrollView::sendToContent(Phase phase, const TouchSet& touches, const Event& event) {
    auto target = contentTarget_.lock();
    if (!target)
        return;
    auto protector = sharedView();
    forwarding_ = true;
    switch (phase) {
    case Phase::Began:
        contentTouchBegan_ = true;
        target->touchesBegan(touches, event);
        break;
    case Phase::Moved:
        target->touchesMoved(touches, event);
        break;
    case Phase::Ended:
    case Phase::Cancelled:
        contentTouchBegan_ = false;
        contentTarget_.reset();
        if (phase == Phase::Ended)
            target->touchesEnded(touches, event);
        else
            target->touchesCancelled(touches, event);
        break;
    }
    forwarding_ = false;
}

} // namespace ui
