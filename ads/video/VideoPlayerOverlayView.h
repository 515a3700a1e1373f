#pragma once

#include "platform/foundation/Timer.h"
#include "platform/ui/View.h"

#include <optional>

namespace pennant {

// A transparent full-screen view over the movie whose subviews (bars, buttons, later the end
// screen) show and hide together: always, until tapped, or for a few seconds after a tap.
class VideoPlayerOverlayView : public ui::View {
    UI_CREATABLE(VideoPlayerOverlayView)
    // What a tap does: show for a while, toggle, or nothing (always shown).
    enum AlwaysShow : int { kShowForAWhile = 0, kToggle = 1, kAlways = 2 };
    static constexpr double kTapShowSeconds = 3.0;
    static constexpr double kHideSeconds = 0.5;
    static constexpr double kCheckSeconds = 0.4;

    std::string className() const override { return "PennantVideoPlayerOverlayView"; }

    // Every subview starts transparent: the overlay shows them when it shows.
    void addSubview(const std::shared_ptr<ui::View>& view);

    void show();
    void hide();
    // Shows, then hides once the time has passed (3 s for none); a pending check only moves on.
    void showFor(double seconds);

    bool isShowing() const { return showing_; }
    int alwaysShow() const { return alwaysShow_; }
    void setAlwaysShow(int mode) { alwaysShow_ = mode; }
    const std::optional<double>& showUntil() const { return showUntil_; }

    void touchesBegan(const ui::TouchSet& touches, const ui::Event& event) override;

protected:
    explicit VideoPlayerOverlayView(const graphics::Rect& frame);

private:
    void hider();
    void setSubviewAlpha(float alpha);

    std::optional<double> showUntil_;
    bool showing_ = false;
    int alwaysShow_ = kShowForAWhile;
    // Pending while a hide check is due; dies with the overlay.
    foundation::Timer hider_;
};

} // namespace pennant
