#include "ads/video/VideoScreenDispatcher.h"

#include "platform/graphics/Image.h"
#include "platform/ui/Button.h"
#include "tests/ads/video/VideoFixture.h"

using pennant::Opener;
using pennant::VideoScreenDispatcher;

namespace {

class VideoScreenDispatcherTest : public testing_support::VideoFixture {
protected:
    std::shared_ptr<Opener> opener(const std::string& extra) {
        return Opener::create(
            parse(R"({"a": "movie", "u": ")" + clipURL("clock.mp4") + "\"" + extra + "}"), {});
    }
};

TEST_F(VideoScreenDispatcherTest, MalformedOrSurplusButtonsAreLeftOutAndMissingImagesStayEmpty) {
    const auto made = opener(R"(, "buttons": [
        7, {"x": "no action"}, {"o": {"a": "nothing", "u": "x"}},
        {"$": 3, "x": 5, "h": "absent", "o": {"a": "call", "u": "tel:1"}},
        {"o": {"a": "call", "u": "tel:2"}, "analytics_page_name": "two"},
        {"o": {"a": "call", "u": "tel:3"}}, {"o": {"a": "call", "u": "tel:4"}},
        {"o": {"a": "call", "u": "tel:5"}}])");
    ASSERT_TRUE(made);
    const auto buttons = VideoScreenDispatcher::buttonsFor(*made);
    ASSERT_EQ(buttons.size(), VideoScreenDispatcher::kMaxButtons);
    EXPECT_EQ(buttons[0]->opener()->url()->absoluteString(), "tel:1");
    EXPECT_EQ(buttons[0]->opener()->animation(), 3);
    EXPECT_FALSE(buttons[0]->analyticsPageName());
    EXPECT_EQ(buttons[1]->analyticsPageName(), "two");
    EXPECT_EQ(buttons[3]->opener()->url()->absoluteString(), "tel:4");
    EXPECT_TRUE(VideoScreenDispatcher::buttonsFor(*opener(R"(, "buttons": {"x": 1})")).empty());
}

TEST_F(VideoScreenDispatcherTest, AMovieWithUnreadableImagesStillPlaysWithoutThem) {
    const auto made = opener(R"(, "mc": 2, "msm": 3, "splash": "s", "splash_duration": 0.5,
        "no_splash_skip": true, "replay_up": "r", "replay_down": "missing",
        "$": {"s": {"u": "http://static.pennant.test/static/video/clock.mp4"},
              "r": {"u": "http://static.pennant.test/static/phone/ads/kessa-tile.png", "s": 1},
              "bad": 12, "nourl": {"c": 1}},
        "buttons": [{"$": "r", "x": "Call", "o": {"a": "call", "u": "tel:1"}}])");
    ASSERT_TRUE(made);
    made->open();
    ASSERT_TRUE(runUntil([] { return Controller::lastPlayerOrNil() != nullptr; }));
    const auto player = Controller::lastPlayerOrNil();
    EXPECT_EQ(player->info().scalingMode(), 3);
    EXPECT_DOUBLE_EQ(player->splashDuration(), 0.5);
    ASSERT_TRUE(made->asset("r"));
    EXPECT_TRUE(made->asset("r")->isStretchable());
    EXPECT_FALSE(made->asset("s")) << "a movie is no picture";
    EXPECT_FALSE(player->skipButton()->superview()) << "no skip over the splash";
    ASSERT_TRUE(playing(player));
    EXPECT_EQ(player->buttons().size(), 1u);
}

} // namespace
