#include "platform/ui/ActivityIndicatorView.h"

#include "platform/foundation/Assertions.h"
#include "platform/graphics/Color.h"
#include "platform/graphics/Context.h"

#include <cmath>

namespace ui {

using foundation::assertIsMainThread;
using graphics::Color;
using graphics::Rect;

namespace {
constexpr double kStepsPerSecond = 12;
// The faintest spoke keeps this much of the leading one's opacity.
constexpr float kFaintest = 0.15f;

float sideFor(ActivityIndicatorViewStyle style) {
    return style == ActivityIndicatorViewStyle::WhiteLarge ? 37 : 20;
}
} // namespace

ActivityIndicatorView::ActivityIndicatorView(ActivityIndicatorViewStyle style)
    : View(Rect(0, 0, sideFor(style), sideFor(style))), style_(style) {
    setOpaque(false);
    setUserInteractionEnabled(false);
    setHidden(true);
}

void ActivityIndicatorView::setActivityIndicatorViewStyle(ActivityIndicatorViewStyle style) {
    assertIsMainThread();
    style_ = style;
    const graphics::Point c = center();
    const float side = sideFor(style);
    setBounds(Rect(0, 0, side, side));
    setCenter(c);
    setNeedsDisplay();
}

void ActivityIndicatorView::startAnimating() {
    if (isAnimating())
        return;
    timer_.start(foundation::Seconds(1 / kStepsPerSecond), true, [this] { step(); });
    setHidden(false);
}

void ActivityIndicatorView::stopAnimating() {
    timer_.stop();
    if (hidesWhenStopped_)
        setHidden(true);
}

void ActivityIndicatorView::setHidesWhenStopped(bool hides) {
    assertIsMainThread();
    hidesWhenStopped_ = hides;
    if (!isAnimating())
        setHidden(hides);
}

void ActivityIndicatorView::step() {
    leadingSpoke_ = (leadingSpoke_ + 1) % kSpokes;
    setNeedsDisplay();
}

void ActivityIndicatorView::drawRect(graphics::Context& context, const Rect&) {
    const bool large = style_ == ActivityIndicatorViewStyle::WhiteLarge;
    const Color base =
        style_ == ActivityIndicatorViewStyle::Gray ? Color::grayColor() : Color::whiteColor();
    const float side = sideFor(style_);
    const float inner = side * 0.25f, outer = side * 0.48f, width = large ? 4 : 2;
    for (int spoke = 0; spoke < kSpokes; ++spoke) {
        const int behind = (leadingSpoke_ - spoke + kSpokes) % kSpokes;
        const float fade = 1 - (1 - kFaintest) * float(behind) / (kSpokes - 1);
        context.saveGState();
        context.translate(bounds().midX(), bounds().midY());
        // Spoke 0 points up; each next one a twelfth of a turn clockwise.
        context.rotate(float(2 * M_PI * spoke / kSpokes - M_PI / 2));
        context.setFillColor(base.withAlpha(base.alpha() * fade));
        context.beginPath();
        context.addRoundedRect(Rect(inner, -width / 2, outer - inner, width), width / 2);
        context.fillPath();
        context.restoreGState();
    }
}

} // namespace ui
