#include "ads/render/SingleAdView.h"
#include "platform/animation/Layer.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Application.h"
#include "platform/ui/Touch.h"
#include "platform/ui/Window.h"
#include "tests/support/VirtualClockFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using graphics::Rect;
using pennant::SingleAdView;

TEST(SingleAdView, HighlightIsMadeOnceAndStaysOnTop) {
    auto view = SingleAdView::create(Rect(0, 0, 320, 48));
    view->addSubview(ui::View::create(Rect(0, 0, 10, 10)));
    view->setTouched(true);
    view->setTouched(true);
    ASSERT_EQ(view->subviews().size(), 2u);
    const auto highlight = view->subviews().back();
    EXPECT_EQ(highlight->frame(), Rect(0, 0, 320, 48));
    EXPECT_FALSE(highlight->isUserInteractionEnabled());
    EXPECT_EQ(highlight->backgroundColor(), graphics::Color::colorWithWhite(0.5f, 0.5f));

    view->setTouched(false);
    EXPECT_EQ(view->subviews().size(), 1u);
    view->addSubview(ui::View::create(Rect(0, 0, 10, 10)));
    view->setTouched(true);
    EXPECT_EQ(view->subviews().back(), highlight); // the same overlay, above the newcomer
}

TEST(SingleAdView, TouchRecordsRoundCoordinatesAndKeepSixDecimalsOfTime) {
    auto window = ui::Window::create(Rect(0, 0, 320, 480));
    auto view = SingleAdView::create(Rect(0, 432, 320, 48));
    window->addSubview(view);
    ui::Touch touch(window, {10.4f, 450.6f}, 0);
    std::vector<std::string> history;
    SingleAdView::recordTouch(touch, false, view.get(), 0.25, history);
    SingleAdView::recordTouch(touch, true, nullptr, 1.0 / 3, history);
    EXPECT_EQ(history, (std::vector<std::string>{"0,10,19,0.250000", "1,10,451,0.333333"}));
}

namespace {

// A banner whose click animation view is a 32-point icon at the right edge.
class ClickFeedback : public testing_support::VirtualClockFixture {
protected:
    void SetUp() override {
        VirtualClockFixture::SetUp();
        view->addSubview(icon);
        view->setClickAnimationView(icon);
    }
    float iconScale() { return icon->layer()->presentationAt(now()).transform.m11; }
    // Runs the clock to the given time since the click.
    void at(double sinceClick) { advance(clickedAt + sinceClick - now()); }

    std::shared_ptr<SingleAdView> view = SingleAdView::create(Rect(0, 0, 320, 48));
    std::shared_ptr<ui::View> icon = ui::View::create(Rect(284, 8, 32, 32));
    double clickedAt = kStart;
};

} // namespace

TEST_F(ClickFeedback, PulseThenSpinnerThenRestoreAfterTheClickIsHandled) {
    view->animateForClick();
    EXPECT_FALSE(view->isUserInteractionEnabled());
    EXPECT_TRUE(view->isAnimatingForClick());
    at(0.2);
    EXPECT_NEAR(iconScale(), 1.4f, 1e-3);
    at(0.79);
    EXPECT_NEAR(iconScale(), 0.001f, 1e-4); // shrunk away and kept so
    EXPECT_FALSE(view->spinner());

    at(0.81);
    const auto spinner = view->spinner();
    ASSERT_TRUE(spinner);
    EXPECT_EQ(spinner->superview(), view);
    EXPECT_EQ(spinner->center(), (graphics::Point{300, 24}));
    EXPECT_TRUE(spinner->isAnimating());
    EXPECT_EQ(spinner->activityIndicatorViewStyle(), ui::ActivityIndicatorViewStyle::White);
    EXPECT_FALSE(view->isAnimatingForClick());

    at(2.0);
    view->restoreAdAfterClickAnimation();
    at(2.29);
    EXPECT_TRUE(view->spinner());
    at(2.31);
    EXPECT_FALSE(view->spinner());
    EXPECT_FALSE(spinner->superview());
    EXPECT_FLOAT_EQ(iconScale(), 1.0f);
    EXPECT_TRUE(view->isUserInteractionEnabled());
}

TEST_F(ClickFeedback, AClickHandledDuringThePulseStillShowsTheSpinnerBriefly) {
    view->animateForClick();
    at(0.1);
    view->restoreAdAfterClickAnimation();
    at(0.81);
    EXPECT_TRUE(view->spinner());
    at(1.09);
    EXPECT_TRUE(view->spinner());
    at(1.11);
    EXPECT_FALSE(view->spinner());
    EXPECT_TRUE(view->isUserInteractionEnabled());
}

TEST_F(ClickFeedback, WithoutAClickAnimationViewTouchesStayOnAndRestoreStillRuns) {
    view->setClickAnimationView(nullptr);
    view->animateForClick();
    EXPECT_TRUE(view->isUserInteractionEnabled());
    EXPECT_FALSE(view->isAnimatingForClick());
    view->restoreAdAfterClickAnimation();
    at(0.31);
    EXPECT_FALSE(view->spinner());
    EXPECT_TRUE(view->isUserInteractionEnabled());
}

TEST_F(ClickFeedback, AViewThatGoesAwayCancelsItsTimers) {
    view->animateForClick();
    at(0.6); // the spinner is due at 0.8
    std::weak_ptr<SingleAdView> weak = view;
    view.reset();
    EXPECT_TRUE(weak.expired());
    at(1.0);
    EXPECT_FALSE(icon->superview());
}
