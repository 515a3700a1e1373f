#include "ads/video/VideoPlayerOverlayView.h"

#include "platform/foundation/RunLoop.h"

namespace pennant {

namespace {

// A showing ends at the check that finds less than this left of it.
constexpr double kHideMargin = 0.1;

double now() { return foundation::RunLoop::main().now(); }

} // namespace

VideoPlayerOverlayView::VideoPlayerOverlayView(const graphics::Rect& frame) : ui::View(frame) {
    setUserInteractionEnabled(true);
}

void VideoPlayerOverlayView::addSubview(const std::shared_ptr<ui::View>& view) {
    ui::View::addSubview(view);
    view->setAlpha(0);
}

void VideoPlayerOverlayView::setSubviewAlpha(float alpha) {
    for (const auto& subview : subviews())
        subview->setAlpha(alpha);
}

void VideoPlayerOverlayView::show() {
    showing_ = true;
    setSubviewAlpha(1);
    showUntil_.reset();
}

void VideoPlayerOverlayView::hide() {
    if (!showing_)
        return;
    showing_ = false;
    beginAnimations({});
    setAnimationDuration(kHideSeconds);
    setSubviewAlpha(0);
    commitAnimations();
}

void VideoPlayerOverlayView::showFor(double seconds) {
    show();
    // The first check runs after the time given, even when that is none at all.
    if (!hider_.isActive())
        hider_.start(foundation::Seconds(std::max(seconds, 0.0)), false, [this] { hider(); });
    if (seconds <= 0)
        seconds = kTapShowSeconds;
    alwaysShow_ = kShowForAWhile;
    showUntil_ = now() + seconds;
}

void VideoPlayerOverlayView::hider() {
    if (!showing_ || !showUntil_)
        return;
    if (*showUntil_ - now() < kHideMargin) {
        showUntil_.reset();
        hide();
        return;
    }
    hider_.start(foundation::Seconds(kCheckSeconds), false, [this] { hider(); });
}

void VideoPlayerOverlayView::touchesBegan(const ui::TouchSet&, const ui::Event&) {
    if (alwaysShow_ == kAlways)
        return;
    if (showing_)
        hide();
    else if (alwaysShow_ == kShowForAWhile)
        showFor(kTapShowSeconds);
    else
        show();
}

} // namespace pennant
