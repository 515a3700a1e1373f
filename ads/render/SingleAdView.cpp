#include "ads/render/SingleAdView.h"

#include "ads/request/Ad.h"
#include "platform/animation/KeyframeAnimation.h"
#include "platform/animation/Layer.h"
#include "platform/ui/ActivityIndicatorView.h"
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
    history.push_back(
        fmt::format("{},{:.0f},{:.0f},{:f}", isTouchEnd ? 1 : 0, location.x, location.y, time));
}

void SingleAdView::animateForClick() {
    const auto target = clickAnimationView();
    if (!target)
        return;
    setUserInteractionEnabled(false);
    animatingForClick_ = true;
    auto self = std::static_pointer_cast<SingleAdView>(shared_from_this());
    target->layer()->addAnimation(pulseAnimationWithDelegate(self), kPulseAnimationKey);
}

void SingleAdView::animationDidStop(animation::Animation&, bool) {
    const auto target = clickAnimationView();
    const graphics::Point center =
        target ? graphics::Point{target->frame().midX(), target->frame().midY()}
               : graphics::Point{};
    std::weak_ptr<SingleAdView> weak = std::static_pointer_cast<SingleAdView>(shared_from_this());
    addSpinnerTimer_.start(foundation::Seconds(kSpinnerDelaySeconds), false, [weak, center] {
        if (auto self = weak.lock())
            self->addSpinner(center);
    });
}

void SingleAdView::addSpinner(graphics::Point center) {
    auto indicator = ui::ActivityIndicatorView::create(
        static_cast<ui::ActivityIndicatorViewStyle>(ad_ ? ad_->spinnerStyle() : 1));
    indicator->setCenter(center);
    if (const auto target = clickAnimationView(); target && target->superview())
        target->superview()->addSubview(indicator);
    indicator->startAnimating();
    spinner_ = indicator;
    animatingForClick_ = false;
    if (removeSpinnerRequested_)
        scheduleRestore();
}

void SingleAdView::restoreAdAfterClickAnimation() {
    if (animatingForClick_)
        removeSpinnerRequested_ = true;
    else
        scheduleRestore();
}

void SingleAdView::scheduleRestore() {
    std::weak_ptr<SingleAdView> weak = std::static_pointer_cast<SingleAdView>(shared_from_this());
    removeSpinnerTimer_.start(foundation::Seconds(kRestoreDelaySeconds), false, [weak] {
        if (auto self = weak.lock())
            self->stopAnimationAndRestore();
    });
}

void SingleAdView::stopAnimationAndRestore() {
    if (auto indicator = spinner_.lock())
        indicator->removeFromSuperview();
    spinner_.reset();
    if (const auto target = clickAnimationView())
        target->layer()->removeAnimationForKey(kPulseAnimationKey);
    removeSpinnerRequested_ = false;
    setUserInteractionEnabled(true);
}

std::shared_ptr<animation::KeyframeAnimation>
SingleAdView::pulseAnimationWithDelegate(std::weak_ptr<animation::AnimationDelegate> delegate) {
    using graphics::Transform3D;
    auto pulse = animation::KeyframeAnimation::animationWithKeyPath("transform");
    pulse->setKeyTimes({0.0, 0.4, 1.0});
    pulse->setValues({Transform3D::identity(), Transform3D::scale(1.4f, 1.4f, 1),
                      Transform3D::scale(0.001f, 0.001f, 1)});
    pulse->setDuration(kPulseSeconds);
    pulse->setRemovedOnCompletion(false);
    pulse->setFillMode(animation::FillMode::Forwards);
    pulse->setDelegate(std::move(delegate));
    return pulse;
}

} // namespace pennant
