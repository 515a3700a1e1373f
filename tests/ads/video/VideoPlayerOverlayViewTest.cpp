#include "ads/video/VideoPlayerOverlayView.h"

#include "platform/animation/Layer.h"
#include "platform/animation/LayerValues.h"
#include "tests/support/VirtualClockFixture.h"

#include <gtest/gtest.h>

using pennant::VideoPlayerOverlayView;

namespace {

class VideoPlayerOverlayViewTest : public testing_support::VirtualClockFixture {
protected:
    void SetUp() override {
        VirtualClockFixture::SetUp();
        overlay->addSubview(bar);
    }
    // The bar's opacity as drawn now, fades included.
    float shown() const { return bar->layer()->presentationAt(now()).opacity; }

    std::shared_ptr<VideoPlayerOverlayView> overlay =
        VideoPlayerOverlayView::create(graphics::Rect(0, 0, 320, 480));
    std::shared_ptr<ui::View> bar = ui::View::create(graphics::Rect(0, 0, 320, 42));
};

TEST_F(VideoPlayerOverlayViewTest, SubviewsStartHiddenAndShowAtOnce) {
    EXPECT_EQ(bar->alpha(), 0);
    overlay->show();
    EXPECT_EQ(shown(), 1);
}

TEST_F(VideoPlayerOverlayViewTest, ShowingForNoTimeLastsAboutThreeSecondsCheckedEveryFewTenths) {
    overlay->showFor(0);
    advance(2.7);
    EXPECT_TRUE(overlay->isShowing());
    // Checks at 0, 0.4, ... 2.8: the one at 2.8 still has 0.2 s left; 3.2 finds none.
    advance(0.4);
    EXPECT_TRUE(overlay->isShowing());
    advance(0.2);
    EXPECT_FALSE(overlay->isShowing());
    advance(0.6);
    EXPECT_EQ(shown(), 0);
}

TEST_F(VideoPlayerOverlayViewTest, ASecondTimedShowingMovesTheEndWithoutASecondCheck) {
    overlay->showFor(5);
    advance(1);
    overlay->showFor(5);
    // The check at 5 finds 1 s left; later ones run every 0.4 s until less than 0.1 s is left.
    advance(5.1);
    EXPECT_TRUE(overlay->isShowing());
    advance(0.2);
    EXPECT_FALSE(overlay->isShowing());
}

TEST_F(VideoPlayerOverlayViewTest, AnUntimedShowingOutlastsAPendingCheck) {
    overlay->showFor(1);
    overlay->show();
    advance(5);
    EXPECT_TRUE(overlay->isShowing());
}

TEST_F(VideoPlayerOverlayViewTest, TapsFollowTheAlwaysShowMode) {
    overlay->setAlwaysShow(VideoPlayerOverlayView::kAlways);
    overlay->touchesBegan({}, {});
    EXPECT_FALSE(overlay->isShowing()) << "always-shown overlays ignore taps";
    overlay->show();
    overlay->touchesBegan({}, {});
    EXPECT_TRUE(overlay->isShowing());

    overlay->setAlwaysShow(VideoPlayerOverlayView::kToggle);
    overlay->touchesBegan({}, {});
    EXPECT_FALSE(overlay->isShowing());
    overlay->touchesBegan({}, {});
    EXPECT_TRUE(overlay->isShowing());
    EXPECT_FALSE(overlay->showUntil());

    overlay->hide();
    overlay->setAlwaysShow(VideoPlayerOverlayView::kShowForAWhile);
    overlay->touchesBegan({}, {});
    ASSERT_TRUE(overlay->showUntil());
    EXPECT_DOUBLE_EQ(*overlay->showUntil(), now() + 3);
    advance(3.5);
    EXPECT_FALSE(overlay->isShowing());
}

} // namespace
