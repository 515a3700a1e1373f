#include "ads/video/VideoPlayerButton.h"

#include "platform/graphics/Font.h"
#include "platform/ui/Touch.h"
#include "platform/ui/Window.h"
#include "tests/ads/video/VideoFixture.h"

using graphics::Rect;
using pennant::VideoPlayerButton;

namespace {

class VideoPlayerButtonTest : public testing_support::VideoFixture {
protected:
    // One finger: down at the first point, through the others, up at the last.
    void drag(const std::shared_ptr<VideoPlayerButton>& button,
              std::vector<graphics::Point> points) {
        auto& target = *button;
        window->addSubview(button);
        auto touch = std::make_shared<ui::Touch>(window, points.front(), 0);
        target.touchesBegan({touch}, {});
        began = target.isHighlighted();
        for (std::size_t i = 1; i + 1 < points.size(); ++i) {
            touch->update(ui::Touch::Phase::Moved, points[i], 0);
            target.touchesMoved({touch}, {});
        }
        touch->update(ui::Touch::Phase::Ended, points.back(), 0);
        target.touchesEnded({touch}, {});
    }
    bool began = false;
    std::shared_ptr<ui::Window> window = ui::Window::create(Rect(0, 0, 320, 480));
};

TEST_F(VideoPlayerButtonTest, TheFirstFrameCentresIconAndCaptionAndLaterFramesOnlyMoveIt) {
    auto made = VideoPlayerButton::create(testing_support::SolidImage::ofSize(30, 20), "Call",
                                          testing_support::SolidImage::ofSize(10, 10), nullptr);
    made->setFrame(Rect(64, 430, 64, 50));
    const auto font = graphics::Font::systemFont(VideoPlayerButton::kCaptionFontSize);
    const float line = font.ascender() - font.descender();
    const auto& parts = made->subviews();
    ASSERT_EQ(parts.size(), 3u);
    EXPECT_EQ(parts[0]->frame(), Rect(7, 0, 50, 50)) << "highlight square at the back";
    const float top = float(int((50 - (20 + line)) * 0.5f));
    EXPECT_EQ(parts[1]->frame(), Rect(17, top, 30, 20));
    EXPECT_EQ(parts[2]->frame(), Rect(1, top + 20, 62, line));
    made->setFrame(Rect(0, 0, 100, 100));
    EXPECT_EQ(parts[1]->frame(), Rect(17, top, 30, 20));
}

TEST_F(VideoPlayerButtonTest, AnIconTallerThanTheButtonRisesAboveItsTop) {
    auto made = VideoPlayerButton::create(testing_support::SolidImage::ofSize(40, 90), "Tall",
                                          nullptr, nullptr);
    made->setFrame(Rect(0, 0, 64, 50));
    EXPECT_LT(made->subviews()[1]->frame().minY(), 0);
}

TEST_F(VideoPlayerButtonTest, AFingerLiftedOutsideRunsNothingAndInsidePressesOnce) {
    auto made = button("movie", clipURL("second.mp4"), "second");
    made->setFrame(Rect(0, 0, 64, 50));
    drag(made, {{10, 10}, {100, 200}, {100, 200}});
    EXPECT_TRUE(began);
    EXPECT_FALSE(made->isHighlighted());
    advance(1);
    EXPECT_FALSE(pennant::ModalViewController::onScreenModalViewController());
    drag(made, {{10, 10}, {20, 20}});
    EXPECT_FALSE(made->isHighlighted());
    ASSERT_TRUE(runUntil([] {
        return pennant::ModalViewController::onScreenModalViewController() != nullptr;
    })) << "its own opener plays its movie";
}

TEST(VideoPlayerButtonSquare, IsTheLargestCentredSquareWhateverTheOrigin) {
    EXPECT_EQ(VideoPlayerButton::getSquare(Rect(5, 5, 64, 50)), Rect(7, 0, 50, 50));
    EXPECT_EQ(VideoPlayerButton::getSquare(Rect(0, 0, 30, 50)), Rect(0, 10, 30, 30));
}

} // namespace
