#pragma once

#include "platform/ui/View.h"

#include <memory>
#include <string>
#include <vector>

namespace ui {
class Touch;
}

namespace pennant {

class Ad;
class AdClickHandler;

// The view that shows one ad inside the banner. It owns the ad, shows a highlight while a
// finger is on it and records the touches that lead to a click.
class SingleAdView : public ui::View {
    UI_CREATABLE(SingleAdView)
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

protected:
    explicit SingleAdView(const graphics::Rect& frame = {});

private:
    std::shared_ptr<Ad> ad_;
    std::weak_ptr<AdClickHandler> controller_;
    std::weak_ptr<ui::View> clickAnimationView_;
    std::shared_ptr<ui::View> highlightView_;
    bool touched_ = false;
};

} // namespace pennant
