#pragma once

#include "platform/foundation/Timer.h"
#include "platform/ui/View.h"

#include <memory>

namespace ui {

class ScrollViewDelegate;

// A view whose content is larger than itself: the content offset is the bounds' origin, so
// subviews move as it changes. A finger that moves beyond a few points drags the content;
// when it lifts, the content glides to rest (to the nearest page with paging) on run-loop
// timers. The offset never leaves the content: there is no bounce past the edges. A touch
// that does not become a drag reaches the content view under it, held back a moment while
// content touches are delayed and cancelled there once it turns into a drag.
class ScrollView : public View {
    UI_CREATABLE(ScrollView)
    // A finger must move this far before the content follows it.
    static constexpr float kDragThreshold = 10.0f;
    // How long a touch is kept from the content in case it becomes a drag.
    static constexpr double kContentTouchDelaySeconds = 0.15;
    // The glide to a page, and an animated setContentOffset.
    static constexpr double kSettleSeconds = 0.3;

    std::string className() const override { return "ScrollView"; }

    graphics::Point contentOffset() const { return bounds().origin; }
    void setContentOffset(graphics::Point offset, bool animated = false);
    graphics::Size contentSize() const { return contentSize_; }
    void setContentSize(graphics::Size size) { contentSize_ = size; }
    // The largest offset the content allows: content size less the bounds, never negative.
    graphics::Point maximumContentOffset() const;

    bool isPagingEnabled() const { return pagingEnabled_; }
    void setPagingEnabled(bool enabled) { pagingEnabled_ = enabled; }
    bool isScrollEnabled() const { return scrollEnabled_; }
    void setScrollEnabled(bool enabled) { scrollEnabled_ = enabled; }
    bool delaysContentTouches() const { return delaysContentTouches_; }
    void setDelaysContentTouches(bool delays) { delaysContentTouches_ = delays; }
    bool canCancelContentTouches() const { return canCancelContentTouches_; }
    void setCanCancelContentTouches(bool cancels) { canCancelContentTouches_ = cancels; }

    std::shared_ptr<ScrollViewDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<ScrollViewDelegate> delegate) {
        delegate_ = std::move(delegate);
    }

    // A finger is down on the view.
    bool isTracking() const { return tracking_; }
    // The content follows the finger.
    bool isDragging() const { return dragging_; }
    // The content moves on by itself after the finger lifted.
    bool isDecelerating() const { return decelerating_; }

    // The scroll view takes every touch inside it and decides what its content gets.
    std::shared_ptr<View> hitTest(graphics::Point point) override;
    void touchesBegan(const TouchSet& touches, const Event& event) override;
    void touchesMoved(const TouchSet& touches, const Event& event) override;
    void touchesEnded(const TouchSet& touches, const Event& event) override;
    void touchesCancelled(const TouchSet& touches, const Event& event) override;

protected:
    explicit ScrollView(const graphics::Rect& frame = {});

private:
    enum class Glide { None, Deceleration, ScrollingAnimation };
    enum class Phase { Began, Moved, Ended, Cancelled };

    graphics::Point clamped(graphics::Point offset) const;
    void moveContentTo(graphics::Point offset);
    void beginDragging(const TouchSet& touches, const Event& event);
    void endDragging();
    graphics::Point restingOffset() const;
    void glideTo(graphics::Point target, double seconds, Glide kind);
    void glideStep();
    void stopGliding();
    // Hands the touch to the content view it began on; touches the content passes back up
    // while this runs climb on past the scroll view.
    void sendToContent(Phase phase, const TouchSet& touches, const Event& event);
    void deliverHeldTouch();

    graphics::Size contentSize_;
    bool pagingEnabled_ = false;
    bool scrollEnabled_ = true;
    bool delaysContentTouches_ = true;
    bool canCancelContentTouches_ = true;
    std::weak_ptr<ScrollViewDelegate> delegate_;

    bool tracking_ = false;
    bool dragging_ = false;
    bool decelerating_ = false;
    bool forwarding_ = false;
    std::weak_ptr<View> contentTarget_;
    bool contentTouchBegan_ = false;
    TouchSet heldTouches_;
    Event heldEvent_;
    foundation::Timer contentTouchTimer_;

    graphics::Point touchStart_;
    graphics::Point lastTouch_;
    double lastTouchTime_ = 0;
    graphics::Point velocity_;

    Glide glide_ = Glide::None;
    graphics::Point glideFrom_;
    graphics::Point glideTo_;
    double glideStart_ = 0;
    double glideSeconds_ = 0;
    foundation::Timer glideTimer_;
};

} // namespace ui
