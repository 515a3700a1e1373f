#include "ads/render/SingleAdView.h"

#include "platform/ui/Touch.h"

#include <fmt/format.h>

namespace pennant {

using graphics::Color;
using graphics::Rect;

SingleAdView::SingleAdView(const Rect& frame) : View(frame) { setOpaque(true); }

void SingleAdView::setAd(std::shared_ptr<Ad> ad) { ad_ = std::move(ad); }

void SingleAdView::setController(std::weak_ptr<AdClickHandler> controller) {
    controller_ = std::move(controller);
}

void SingleAdView::setClickAnimationView(const std::shared_ptr<ui::View>& view) {
    clickAnimationView_ = view;
}

void SingleAdView::setTouched(bool touched) {
    if (touched == touched_)
        return;
    if (!highlightView_) {
        highlightView_ = ui::View::create(bounds());
        highlightView_->setUserInteractionEnabled(false);
        highlightView_->setBackgroundColor(Color::colorWithWhite(0.5f, 0.5f));
    }
    if (touched)
        addSubview(highlightView_);
    else
        highlightView_->removeFromSuperview();
    touched_ = touched;
}

void SingleAdView::recordTouch(const ui::Touch& touch, bool isTouchEnd, const ui::View* view,
                               double time, std::vector<std::string>& history) {
    const graphics::Point location = touch.locationInView(view);
    history.push_back(fmt::format("{},{:.0f},{:.0f},{:f}", isTouchEnd ? 1 : 0, location.x,
                                  location.y, time));
}

} // namespace pennant
