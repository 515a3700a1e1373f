#pragma once

#include "platform/animation/AnimationDelegate.h"
#include "platform/foundation/Timer.h"
#include "platform/ui/View.h"

#include <memory>
#include <string>
#include <vector>

namespace animation {
class KeyframeAnimation;
}

namespace ui {
class ActivityIndicatorView;
class Touch;
} // namespace ui

namespace pennant {

class Ad;
class AdClickHandler;

// The view that shows one ad inside the banner. It owns the ad, shows a highlight while a
// finger is on it, records the touches that lead to a click and plays the click feedback: the
// click animation view pulses and shrinks away, a spinner takes its place until the click has
// been handled, then the view comes back.
class SingleAdView : public ui::View, public animation::AnimationDelegate {
    UI_CREATABLE(SingleAdView)
    static constexpr const char* kPulseAnimationKey = "PennantPulseAnimation";
    static constexpr double kPulseSeconds = 0.5;
    // From the pulse's end to the spinner, and from the click's end to the restore.
    static constexpr double kSpinnerDelaySeconds = 0.3;
    static constexpr double kRestoreDelaySeconds = 0.3;

    std::string className() const override { return "SingleAdView"; }

    const std::shared_ptr<Ad>& ad() const { return ad_; }
    virtual void setAd(std::shared_ptr<Ad> ad);
    std::shared_ptr<AdClickHandler> controller() const { return controller_.lock(); }
    void setController(std::weak_ptr<AdClickHandler> controller);
    // The subview that pulses on a click; the superview owns it.
    std::shared_ptr<ui::View> clickAnimationView() const { return clickAnimationView_.lock(); }
    void setClickAnimationView(const std::shared_ptr<ui::View>& view);

    bool isTouched() const { return touched_; }
    // Shows or hides a translucent white overlay above everything else in the view.
    void setTouched(bool touched);

    // Appends "phase,x,y,time" for the touch, located in the view (null: the window).
    static void recordTouch(const ui::Touch& touch, bool isTouchEnd, const ui::View* view,
                            double time, std::vector<std::string>& history);

    std::shared_ptr<ui::ActivityIndicatorView> spinner() const { return spinner_.lock(); }
    bool isAnimatingForClick() const { return animatingForClick_; }
    // Starts the feedback: refuses touches and pulses the click animation view.
    void animateForClick();
    // The click has been handled: the view comes back once the spinner has shown.
    void restoreAdAfterClickAnimation();
    void animationDidStop(animation::Animation& animation, bool finished) override;
    // Grows to 1.4 times by 0.2 s, then shrinks to nothing by 0.5 s and stays so.
    static std::shared_ptr<animation::KeyframeAnimation>
    pulseAnimationWithDelegate(std::weak_ptr<animation::AnimationDelegate> delegate);

protected:
    explicit SingleAdView(const graphics::Rect& frame = {});

private:
    void addSpinner(graphics::Point center);
    void scheduleRestore();
    void stopAnimationAndRestore();

    std::shared_ptr<Ad> ad_;
    std::weak_ptr<AdClickHandler> controller_;
    std::weak_ptr<ui::View> clickAnimationView_;
    std::shared_ptr<ui::View> highlightView_;
    bool touched_ = false;
    std::weak_ptr<ui::ActivityIndicatorView> spinner_;
    bool animatingForClick_ = false;
    bool removeSpinnerRequested_ = false;
    foundation::Timer removeSpinnerTimer_;
    foundation::Timer addSpinnerTimer_;
};

} // namespace pennant
