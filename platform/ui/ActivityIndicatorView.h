#pragma once

#include "platform/foundation/Timer.h"
#include "platform/ui/View.h"

namespace ui {

enum class ActivityIndicatorViewStyle { WhiteLarge = 0, White = 1, Gray = 2 };

// The spinner: twelve spokes around the centre, the leading one brightest and those behind
// it fading, stepping round twelve times a second while it animates. It is 37 points square
// in the large style and 20 otherwise.
class ActivityIndicatorView : public View {
    UI_CREATABLE(ActivityIndicatorView)
    static constexpr int kSpokes = 12;

    std::string className() const override { return "ActivityIndicatorView"; }

    ActivityIndicatorViewStyle activityIndicatorViewStyle() const { return style_; }
    // Resizes the view to the style's size about its centre.
    void setActivityIndicatorViewStyle(ActivityIndicatorViewStyle style);
    void startAnimating();
    void stopAnimating();
    bool isAnimating() const { return timer_.isActive(); }
    // When true (the default) the view hides whenever it is not animating.
    bool hidesWhenStopped() const { return hidesWhenStopped_; }
    void setHidesWhenStopped(bool hides);
    // The spoke drawn brightest: 0 at the top, counting clockwise.
    int leadingSpoke() const { return leadingSpoke_; }

    void drawRect(graphics::Context& context, const graphics::Rect& rect) override;

protected:
    explicit ActivityIndicatorView(
        ActivityIndicatorViewStyle style = ActivityIndicatorViewStyle::White);

private:
    void step();

    ActivityIndicatorViewStyle style_;
    bool hidesWhenStopped_ = true;
    int leadingSpoke_ = 0;
    foundation::Timer timer_;
};

} // namespace ui
