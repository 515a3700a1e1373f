#include "platform/media/MoviePlayerController.h"

#include "adserver/AdServer.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/graphics/Image.h"
#include "platform/media/AudioSink.h"
#include "platform/media/MovieBackgroundView.h"
#include "platform/media/MovieControlsBar.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/Compositor.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/ScratchDirectory.h"
#include "tests/support/ScreenTap.h"
#include "tests/support/VirtualClockFixture.h"

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <string>
#include <vector>

using media::MovieFinishReason;
using media::MoviePlayerController;
using media::MovieScalingMode;

namespace {

constexpr foundation::Seconds kBound{20};

std::string clipPath(const std::string& name) {
    return adserver::AdServer::defaultGeneratedDirectory() + "/video/" + name;
}

foundation::URL fileURL(const std::string& path) { return foundation::URL::fileURLWithPath(path); }

// What one player told the notification center.
struct Heard {
    explicit Heard(const MoviePlayerController& player) {
        auto& center = foundation::NotificationCenter::defaultCenter();
        subscriptions = {
            center.addObserver(MoviePlayerController::kContentPreloadDidFinishNotification, &player,
                               [this](const auto&) { ++preloads; }),
            center.addObserver(MoviePlayerController::kScalingModeDidChangeNotification, &player,
                               [this](const auto&) { ++scalingChanges; }),
            center.addObserver(
                MoviePlayerController::kPlaybackDidFinishNotification, &player,
                [this](const foundation::Notification& note) {
                    finishedAt = foundation::RunLoop::main().now();
                    reason = MovieFinishReason(
                        note.userInfo[MoviePlayerController::kPlaybackDidFinishReasonUserInfoKey]
                            .intValue());
                }),
        };
    }

    int preloads = 0;
    int scalingChanges = 0;
    std::optional<double> finishedAt;
    std::optional<MovieFinishReason> reason;
    std::vector<foundation::Subscription> subscriptions;
};

std::shared_ptr<ui::View> findViewOfClass(const std::shared_ptr<ui::View>& view,
                                          const std::string& name) {
    if (view->className() == name)
        return view;
    for (const auto& subview : view->subviews())
        if (auto found = findViewOfClass(subview, name))
            return found;
    return nullptr;
}

// The movie surface in any window on screen, as a client looking for the player finds it.
std::shared_ptr<media::MovieBackgroundView> movieViewOnScreen() {
    for (const auto& window : ui::Application::shared().windows())
        if (auto found = findViewOfClass(window, "MPVideoBackgroundView"))
            return std::static_pointer_cast<media::MovieBackgroundView>(found);
    return nullptr;
}

float brightnessAt(graphics::Point screenPoint) {
    const auto color =
        ui::Compositor::renderScreen()->colorAt(int(screenPoint.x), int(screenPoint.y));
    return (color.red() + color.green() + color.blue()) / 3;
}

struct CountingSink : media::AudioSink {
    void consume(const Buffer& buffer) override {
        if (buffer.channels > 0 && buffer.sampleRate > 0)
            seconds += double(buffer.samples.size()) / buffer.channels / buffer.sampleRate;
    }
    std::atomic<double> seconds = 0;
};

class MoviePlayerControllerTest : public testing_support::VirtualClockFixture {
protected:
    // Creates the player and waits until it has opened the movie or given up.
    std::shared_ptr<MoviePlayerController> preloaded(const foundation::URL& url) {
        auto player = MoviePlayerController::create(url);
        EXPECT_TRUE(player);
        heard.emplace(*player);
        loop().runUntil([&] { return heard->preloads > 0 || player->duration() > 0; }, kBound);
        return player;
    }

    std::optional<Heard> heard;
};

TEST_F(MoviePlayerControllerTest, FileClipPreloadsOnceWithItsRealDuration) {
    auto clock = preloaded(fileURL(clipPath("clock.mp4")));
    EXPECT_EQ(heard->preloads, 1);
    EXPECT_NEAR(clock->duration(), 6.0, 0.05);
    EXPECT_FALSE(clock->isPlaying());
    EXPECT_FALSE(movieViewOnScreen()) << "no window before play";
}

TEST_F(MoviePlayerControllerTest, PlaysToTheRealEndOfTheStreamOnTheVirtualClock) {
    auto clock = preloaded(fileURL(clipPath("clock.mp4")));
    const double start = now();
    clock->play();
    EXPECT_TRUE(clock->isPlaying());
    loop().runUntil([&] { return heard->finishedAt.has_value(); }, kBound);
    ASSERT_TRUE(heard->finishedAt);
    EXPECT_NEAR(*heard->finishedAt - start, 6.0, 0.001);
    EXPECT_EQ(heard->reason, MovieFinishReason::PlaybackEnded);
    EXPECT_FALSE(clock->isPlaying());
    EXPECT_FALSE(movieViewOnScreen()) << "the player's window goes when playback ends";
}

TEST_F(MoviePlayerControllerTest, ServedClipDownloadsAndPlaysThroughTheNetwork) {
    testing_support::LoopbackServer server;
    loop().setClock(std::make_shared<foundation::VirtualClock>(kStart));
    auto second =
        preloaded(*foundation::URL::create("http://static.pennant.test/static/video/second.mp4"));
    EXPECT_EQ(heard->preloads, 1);
    EXPECT_NEAR(second->duration(), 3.0, 0.05);
    const double start = now();
    second->play();
    loop().runUntil([&] { return heard->finishedAt.has_value(); }, kBound);
    EXPECT_EQ(heard->reason, MovieFinishReason::PlaybackEnded);
    EXPECT_NEAR(heard->finishedAt.value_or(0) - start, 3.0, 0.001);
}

TEST_F(MoviePlayerControllerTest, KeyWindowHoldsTheMovieSurfaceWhilePlaying) {
    auto clock = preloaded(fileURL(clipPath("clock.mp4")));
    clock->setBackgroundColor(graphics::Color(0, 1, 0, 1));
    clock->play();
    auto key = ui::Application::shared().keyWindow();
    ASSERT_TRUE(key);
    auto surface = findViewOfClass(key, "MPVideoBackgroundView");
    ASSERT_TRUE(surface);
    EXPECT_EQ(surface->backgroundColor(), graphics::Color(0, 1, 0, 1));
    EXPECT_EQ(key->frame(), ui::Screen::main().bounds());
}

// The clip's bottom edge carries a white bar whose right end moves across the width in the
// clip's length: 320 * t / 6 points at time t. Fitted to the 320 x 480 screen, the clip's
// bottom row band sits at y 344 to 360.
TEST_F(MoviePlayerControllerTest, ScreenShowsThePictureForTheLoopTime) {
    auto clock = preloaded(fileURL(clipPath("clock.mp4")));
    clock->setMovieControlMode(media::MovieControlMode::Hidden);
    clock->play();
    const graphics::Point early{40, 352}; // reached by the bar at 0.75 s
    const graphics::Point late{200, 352}; // reached at 3.75 s
    advance(0.5);
    EXPECT_LT(brightnessAt(early), 0.5);
    advance(0.7);
    EXPECT_GT(brightnessAt(early), 0.8);
    EXPECT_LT(brightnessAt(late), 0.5);
    advance(3.0);
    EXPECT_GT(brightnessAt(late), 0.8);
}

TEST_F(MoviePlayerControllerTest, StopAndTheDoneButtonEndWithUserExited) {
    auto clock = preloaded(fileURL(clipPath("clock.mp4")));
    clock->play();
    advance(1);
    clock->stop();
    EXPECT_EQ(heard->reason, MovieFinishReason::UserExited);
    EXPECT_NEAR(heard->finishedAt.value_or(0), kStart + 1, 0.001);
    EXPECT_FALSE(movieViewOnScreen());
    advance(10);
    EXPECT_EQ(heard->reason, MovieFinishReason::UserExited) << "no second finish";

    auto again = preloaded(fileURL(clipPath("second.mp4")));
    again->play();
    advance(0.5);
    std::shared_ptr<ui::View> bar;
    for (const auto& window : ui::Application::shared().windows())
        if (!bar)
            bar = findViewOfClass(window, "MovieControlsBar");
    ASSERT_TRUE(bar);
    const auto& done = static_cast<media::MovieControlsBar&>(*bar).doneButton();
    testing_support::ScreenTap::on(*done, done->bounds());
    EXPECT_EQ(heard->reason, MovieFinishReason::UserExited);
    EXPECT_FALSE(again->isPlaying());
}

TEST_F(MoviePlayerControllerTest, UnplayableMoviesEndWithAnErrorAtOnce) {
    const auto scratch = testing_support::ScratchDirectory::create("movie-player");
    const auto clip = foundation::FileManager::contentsAtPath(
        clipPath("clock.mp4"), MoviePlayerController::kMaxMovieBytes);
    ASSERT_TRUE(clip);
    std::ofstream(scratch / "cut.mp4", std::ios::binary)
        .write(reinterpret_cast<const char*>(clip->bytes()), 4000);
    std::ofstream(scratch / "notes.mp4") << "not a movie at all\n";
    const std::vector<std::string> paths = {(scratch / "cut.mp4").string(),
                                            (scratch / "notes.mp4").string(), OVERSIZED_CLIP,
                                            OVERLONG_CLIP, (scratch / "missing.mp4").string()};
    for (const auto& path : paths) {
        auto player = preloaded(fileURL(path));
        const double start = now();
        player->play();
        loop().runUntil([&] { return heard->finishedAt.has_value(); }, kBound);
        EXPECT_EQ(heard->reason, MovieFinishReason::PlaybackError) << path;
        EXPECT_EQ(heard->finishedAt.value_or(-1), start) << path;
        EXPECT_EQ(heard->preloads, 0) << path;
        EXPECT_FALSE(movieViewOnScreen()) << path;
    }
}

TEST_F(MoviePlayerControllerTest, ServedPagesAndMissingPathsAreErrors) {
    testing_support::LoopbackServer server;
    loop().setClock(std::make_shared<foundation::VirtualClock>(kStart));
    for (const char* path : {"/static/phone/canvas.html", "/static/video/none.mp4"}) {
        auto player = MoviePlayerController::create(
            *foundation::URL::create(std::string("http://static.pennant.test") + path));
        heard.emplace(*player);
        player->play();
        loop().runUntil([&] { return heard->finishedAt.has_value(); }, kBound);
        EXPECT_EQ(heard->reason, MovieFinishReason::PlaybackError) << path;
        EXPECT_EQ(heard->finishedAt.value_or(-1), kStart) << path;
    }
}

TEST_F(MoviePlayerControllerTest, ScalingModePlacesThePictureAndNotifiesChanges) {
    auto clock = preloaded(fileURL(clipPath("clock.mp4")));
    clock->play();
    advance(0.1);
    auto surface = movieViewOnScreen();
    ASSERT_TRUE(surface);
    EXPECT_EQ(surface->pictureRect(), graphics::Rect(0, 120, 320, 240));
    clock->setScalingMode(MovieScalingMode::AspectFill);
    EXPECT_EQ(surface->pictureRect(), graphics::Rect(-160, 0, 640, 480));
    clock->setScalingMode(MovieScalingMode::Fill);
    EXPECT_EQ(surface->pictureRect(), graphics::Rect(0, 0, 320, 480));
    clock->setScalingMode(MovieScalingMode::Fill);
    EXPECT_EQ(heard->scalingChanges, 2) << "only changes are announced";
}

TEST_F(MoviePlayerControllerTest, AudioSinkHearsTheWholeTone) {
    auto clock = preloaded(fileURL(clipPath("second.mp4")));
    auto sink = std::make_shared<CountingSink>();
    clock->setAudioSink(sink);
    clock->play();
    loop().runUntil([&] { return heard->finishedAt.has_value(); }, kBound);
    EXPECT_NEAR(sink->seconds.load(), 3.0, 0.1);
}

TEST_F(MoviePlayerControllerTest, OnlyWebAndFileURLsMakeAPlayer) {
    EXPECT_FALSE(
        MoviePlayerController::create(*foundation::URL::create("ftp://example.test/a.mp4")));
    EXPECT_FALSE(MoviePlayerController::create(*foundation::URL::create("pennant://close")));
}

} // namespace
