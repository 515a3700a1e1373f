#include "platform/ui/DisplayLink.h"
#include "platform/animation/BasicAnimation.h"
#include "platform/animation/Layer.h"
#include "platform/ui/Application.h"
#include "platform/ui/Window.h"
#include "tests/support/VirtualClockFixture.h"

#include <gtest/gtest.h>

using graphics::Rect;
using ui::DisplayLink;

namespace {

class Frames : public testing_support::VirtualClockFixture {
protected:
    void SetUp() override {
        VirtualClockFixture::SetUp();
        window = ui::Window::create(Rect(0, 0, 320, 480));
        window->makeKeyAndVisible();
        advance(0);
    }
    static int frames() { return DisplayLink::shared().frameCount(); }

    // Draws the frame and changes a layer while it is drawn.
    class Restless : public ui::View {
        UI_CREATABLE(Restless)
        void drawRect(graphics::Context&, const Rect&) override { setAlpha(alpha() * 0.5f); }

    protected:
        using View::View;
    };

    std::shared_ptr<ui::Window> window;
};

} // namespace

TEST_F(Frames, AChangeIsDrawnOnceAtTheEndOfItsTurn) {
    const int before = frames();
    window->setBackgroundColor(graphics::Color::redColor());
    window->setAlpha(0.5f);
    EXPECT_EQ(frames(), before);
    advance(0);
    EXPECT_EQ(frames(), before) << "a frame was drawn at this instant already";
    advance(DisplayLink::kFrameInterval);
    EXPECT_EQ(frames(), before + 1);
    advance(5);
    EXPECT_EQ(frames(), before + 1) << "nothing changed since";
    EXPECT_FALSE(loop().hasPendingTimers());
    ASSERT_TRUE(DisplayLink::shared().lastFrame());
}

TEST_F(Frames, AnAnimationIsDrawnEverySixtiethOfASecondUntilItEnds) {
    auto fade = animation::BasicAnimation::animationWithKeyPath("opacity");
    fade->setToValue(0.0f);
    fade->setDuration(0.5);
    const int before = frames();
    window->layer()->addAnimation(fade);
    EXPECT_TRUE(DisplayLink::shared().isAnimating());
    advance(0.5);
    EXPECT_NEAR(frames() - before, 31, 1) << "one at the start, then 60 a second";
    EXPECT_FALSE(DisplayLink::shared().isAnimating());
    const int after = frames();
    advance(10);
    EXPECT_LE(frames() - after, 1) << "the frame that shows the end, and no more";
    EXPECT_FALSE(loop().hasPendingTimers()) << "the clock may jump again";
}

TEST_F(Frames, AViewChangingItselfWhileDrawnDoesNotKeepFramesComing) {
    window->addSubview(Restless::create(Rect(0, 0, 10, 10)));
    advance(1);
    const int settled = frames();
    advance(1);
    EXPECT_EQ(frames(), settled);
}
