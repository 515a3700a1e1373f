#include "ads/video/VideoViewController.h"

#include "ads/actions/InterstitialAd.h"
#include "ads/actions/InterstitialDelegate.h"
#include "ads/render/ShineView.h"
#include "ads/video/VideoPlayerOverlayView.h"
#include "platform/foundation/FileManager.h"
#include "platform/media/MoviePlayerController.h"
#include "platform/ui/Button.h"
#include "platform/ui/Compositor.h"
#include "tests/ads/video/VideoFixture.h"
#include "tests/support/GoldenImage.h"
#include "tests/support/ScreenTap.h"

#include <fmt/format.h>

#include <numbers>

using graphics::Rect;
using pennant::ModalViewController;
using pennant::VideoPlayerOverlayView;
using testing_support::ScreenTap;
using Names = std::vector<std::string>;

namespace {

class VideoViewControllerTest : public testing_support::VideoFixture {
protected:
    static std::shared_ptr<ui::View> movieView(const Controller& controller) {
        return Controller::findSubviewWithName(Controller::kMovieViewClassName,
                                               controller.mpWindow());
    }
    static void tap(const ui::View& view) { ScreenTap::on(view, view.bounds()); }
    static bool onEndScreen(const std::shared_ptr<Controller>& controller) {
        return runUntil([&] { return controller->view() == controller->overlay(); });
    }
};

TEST_F(VideoViewControllerTest, TheSplashStaysItsDefaultTimeAndItsSkipButtonClosesWithASkipReport) {
    auto controller = present(settings());
    EXPECT_DOUBLE_EQ(controller->splashDuration(), Controller::kDefaultSplashSeconds);
    ASSERT_TRUE(
        runUntil([&] { return ModalViewController::onScreenModalViewController() != nullptr; }));
    advance(1.4);
    EXPECT_FALSE(controller->mpWindow()) << "the movie waits for the splash";
    ASSERT_TRUE(controller->skipButton()->superview());
    EXPECT_EQ(controller->skipButton()->frame(), Rect(265, 440, 50, 30));
    EXPECT_EQ(controller->skipButton()->currentTitle(), "Done");
    tap(*controller->skipButton());
    ASSERT_TRUE(closed(controller));
    advance(2);
    EXPECT_FALSE(controller->mpWindow()) << "a skipped splash never starts the movie";
    EXPECT_EQ(visitNames(), Names{"video.test/skip startvisit=1"});
}

// The search and everything it builds run on the main loop: the views check their thread.
TEST_F(VideoViewControllerTest, ThePlayersWindowIsFoundAndTheOverlayLaidOverTheMovie) {
    auto controller = present(settings());
    ASSERT_TRUE(playing(controller));
    const auto overlay = controller->overlay();
    EXPECT_EQ(overlay->superview(), controller->mpWindow());
    EXPECT_EQ(overlay->alwaysShow(), VideoPlayerOverlayView::kToggle);
    EXPECT_TRUE(overlay->isShowing());
    const auto movie = movieView(*controller);
    ASSERT_TRUE(movie);
    EXPECT_EQ(movie->subviews().front()->className(), "ActivityIndicatorView");
    EXPECT_EQ(overlay->bounds(), Rect(0, 0, 320, 480));
    EXPECT_EQ(overlay->subviews().front()->frame(), Rect(0, 0, 320, 42)) << "title bar";
    const auto& buttons = controller->buttons();
    ASSERT_EQ(buttons.size(), 3u);
    EXPECT_EQ(buttons[2]->frame(), Rect(128, 430, 64, 50));
    EXPECT_EQ(controller->flexibleWidthBar()->frame(), Rect(192, 430, 128, 50));
    EXPECT_EQ(controller->skipButton()->frame(), Rect(73, 10, 50, 30));
    for (const auto& subview : controller->view()->subviews())
        EXPECT_EQ(subview->alpha(), 0) << "the splash gives way to the movie";
    EXPECT_EQ(Controller::lastPlayerOrNil(), controller);
}

TEST_F(VideoViewControllerTest, AWindowThatNeverShowsIsGivenUpAfterFifteenSecondsOfPolling) {
    // Another window takes the key at once whenever the player's window comes up.
    auto other = ui::Window::create(ui::Screen::main().bounds());
    std::optional<double> playedAt;
    auto watcher = ui::Application::shared().observeWindowVisibility([&](const ui::Window& w) {
        if (playedAt || w.isHidden() || w.subviews().empty() ||
            w.subviews().front()->className() != Controller::kMovieViewClassName)
            return;
        playedAt = foundation::RunLoop::main().now();
        foundation::RunLoop::main().post([&] { other->makeKeyAndVisible(); });
    });
    auto made = settings();
    made.contentURL = foundation::URL::fileURLWithPath(LONG_CLIP);
    auto controller = present(std::move(made));
    ASSERT_TRUE(runUntil([&] { return playedAt.has_value(); }));
    const auto window = controller->modalWindow();
    const auto shown = [&] {
        return std::ranges::count(ui::Application::shared().windows(), window) > 0;
    };
    advance(14.8);
    EXPECT_TRUE(shown());
    EXPECT_FALSE(controller->overlay());
    // Given up at fifteen seconds, then the screen fades away.
    advance(0.7);
    EXPECT_FALSE(shown());
    EXPECT_EQ(visitNames(), Names{"video.test/skip startvisit=1"});
}

TEST_F(VideoViewControllerTest, TheEndOfTheMovieTurnsTheOverlayIntoTheEndScreen) {
    auto controller = present(settings());
    ASSERT_TRUE(playing(controller));
    ASSERT_TRUE(onEndScreen(controller));
    EXPECT_TRUE(controller->movieRanUntilEnd());
    EXPECT_FALSE(controller->moviePlayer());
    const auto overlay = controller->overlay();
    EXPECT_EQ(overlay->alwaysShow(), VideoPlayerOverlayView::kAlways);
    EXPECT_EQ(overlay->window(), controller->modalWindow());
    EXPECT_EQ(overlay->subviews().front()->frame(), overlay->bounds()) << "splash behind";
    const auto replay = std::dynamic_pointer_cast<ui::Button>(overlay->subviews().back());
    ASSERT_TRUE(replay);
    EXPECT_EQ(replay->currentTitle(), "Replay");
    EXPECT_EQ(replay->frame(), Rect(110, 220, 100, 40));
    EXPECT_EQ(replay->titleEdgeInsets().top, 26);
    overlay->touchesBegan({}, {});
    EXPECT_TRUE(overlay->isShowing()) << "taps no longer hide the end screen";
    EXPECT_TRUE(testing_support::GoldenImage::committed().matches(*ui::Compositor::renderScreen(),
                                                                  "video-end-screen"));
    advance(10);
    EXPECT_EQ(ModalViewController::onScreenModalViewController(), controller)
        << "not an interstitial: the end screen stays";
    tap(*controller->skipButton());
    ASSERT_TRUE(closed(controller));
    EXPECT_EQ(visitNames(),
              (Names{"video.test/video startvisit=1", "video.test/done event=completed"}));
}

TEST_F(VideoViewControllerTest, WithoutButtonsOrOwnControlsTheScreenClosesWhenTheMovieEnds) {
    for (int controls : {2, 0}) {
        auto made = settings(false);
        made.controls = controls;
        auto controller = present(std::move(made));
        ASSERT_TRUE(runUntil([&] { return controller->mpWindow() != nullptr; }));
        EXPECT_EQ(controller->overlay() != nullptr, controls == 2);
        ASSERT_TRUE(closed(controller));
        EXPECT_TRUE(controller->movieRanUntilEnd());
        EXPECT_NE(controller->view(), controller->overlay());
    }
}

TEST_F(VideoViewControllerTest, ReplayPlaysTheMovieAgainAndReportsASecondStart) {
    auto controller = present(settings());
    ASSERT_TRUE(playing(controller));
    ASSERT_TRUE(onEndScreen(controller));
    const auto firstWindow = controller->mpWindow();
    tap(*controller->overlay()->subviews().back());
    EXPECT_NE(controller->view(), controller->overlay());
    ASSERT_TRUE(runUntil([&] {
        return controller->mpWindow() && controller->overlay() &&
               controller->overlay()->window() == controller->mpWindow();
    }));
    EXPECT_NE(controller->mpWindow(), firstWindow);
    ASSERT_TRUE(onEndScreen(controller));
    tap(*controller->skipButton());
    ASSERT_TRUE(closed(controller));
    EXPECT_EQ(visitNames(), (Names{"video.test/video startvisit=1", "video.test/video startvisit=1",
                                   "video.test/done event=completed"}));
}

struct Interstitial : pennant::InterstitialAd {
    std::shared_ptr<pennant::InterstitialDelegate> pubInterstitialDelegate() override {
        return nullptr;
    }
    void record() override {}
};

TEST_F(VideoViewControllerTest, AnInterstitialEndScreenClosesAfterAWhileUnlessAButtonWasPressed) {
    for (bool press : {false, true}) {
        auto controller = Controller::create(settings());
        controller->setInterstitialAd(std::make_shared<Interstitial>());
        EXPECT_EQ(controller->skipButton()->currentTitle(), "Skip");
        controller->commandeerScreenFromAdView(nullptr, 0, {});
        ASSERT_TRUE(playing(controller));
        ASSERT_TRUE(onEndScreen(controller));
        if (press)
            controller->recordButtonPress("call");
        const auto window = controller->modalWindow();
        const auto shown = [&] {
            return std::ranges::count(ui::Application::shared().windows(), window) > 0;
        };
        advance(7.4);
        EXPECT_TRUE(shown());
        advance(1);
        EXPECT_EQ(shown(), press) << "a press keeps the end screen";
        if (press)
            controller->relinquishScreen();
        ASSERT_TRUE(closed(controller));
    }
}

TEST_F(VideoViewControllerTest, AMovieButtonStopsThisPlayerForItsOwnAndPressesReportOnce) {
    auto controller = present(settings());
    ASSERT_TRUE(playing(controller));
    const auto& buttons = controller->buttons();
    tap(*buttons[1]);
    buttons[0]->buttonPressed();
    buttons[0]->buttonPressed();
    ASSERT_TRUE(onEndScreen(controller)) << "stopped for another movie, not by the user";
    EXPECT_FALSE(controller->movieRanUntilEnd());
    ASSERT_TRUE(runUntil([&] {
        const auto next = Controller::lastPlayerOrNil();
        return next && next != controller && next->mpWindow();
    }));
    const auto next = Controller::lastPlayerOrNil();
    EXPECT_EQ(next->info().videoURL().absoluteString(), clipURL("second.mp4"));
    // All three at the same moment, so in name order.
    EXPECT_EQ(visitNames(), (Names{"video.test/call", "video.test/second event=interaction",
                                   "video.test/video startvisit=1"}));
}

TEST_F(VideoViewControllerTest, AMovieThatCannotBeDecodedClosesTheScreenWithoutAnEndScreen) {
    const auto broken = path("broken.mp4");
    ASSERT_TRUE(foundation::FileManager::writeAtomically(
                    broken, foundation::Data::fromString(std::string(4096, 'x')))
                    .ok());
    auto made = settings();
    made.contentURL = foundation::URL::fileURLWithPath(broken);
    auto controller = present(std::move(made));
    ASSERT_TRUE(closed(controller));
    EXPECT_FALSE(controller->movieRanUntilEnd());
    EXPECT_EQ(visitNames(), Names{"video.test/skip startvisit=1"});
}

TEST_F(VideoViewControllerTest, RotationTurnsThePlayerAndReCentresTheOverlay) {
    auto controller = present(settings());
    ASSERT_TRUE(playing(controller));
    const auto movie = movieView(*controller);
    const auto overlay = controller->overlay();
    advance(2);
    EXPECT_TRUE(testing_support::GoldenImage::committed().matches(*ui::Compositor::renderScreen(),
                                                                  "video-overlay-portrait"));
    auto& application = ui::Application::shared();
    constexpr float pi = std::numbers::pi_v<float>;
    application.setStatusBarOrientation(4);
    EXPECT_EQ(movie->transform(), graphics::AffineTransform::rotation(pi));
    application.setStatusBarOrientation(3);
    EXPECT_EQ(movie->transform(), graphics::AffineTransform::identity());
    EXPECT_EQ(overlay->bounds(), Rect(0, 0, 480, 320));
    EXPECT_EQ(overlay->transform(), graphics::AffineTransform::rotation(pi / 2));
    advance(0.6);
    EXPECT_FALSE(overlay->isShowing()) << "a turn to landscape hides the overlay";
    overlay->touchesBegan({}, {});
    EXPECT_TRUE(overlay->isShowing());
    advance(3.2);
    EXPECT_FALSE(overlay->isShowing());
    application.setStatusBarOrientation(1);
    const float ratio = 320.0f / 480.0f;
    EXPECT_EQ(movie->transform(),
              graphics::AffineTransform::identity().rotated(-pi / 2).scaled(ratio, ratio));
    EXPECT_TRUE(overlay->isShowing());
    EXPECT_EQ(overlay->alwaysShow(), VideoPlayerOverlayView::kToggle);
}

} // namespace

namespace {

// What the screens tell their event watchers, as "kind@position".
class VideoEventsTest : public VideoViewControllerTest {
protected:
    void SetUp() override {
        VideoViewControllerTest::SetUp();
        watching = Controller::observeEvents([this](const pennant::VideoEvent& event) {
            static const char* kinds[] = {"started", "finished", "skipped", "replayed"};
            EXPECT_EQ(event.url.absoluteString(), clipURL("clock.mp4"));
            heard.push_back(fmt::format("{}@{:.1f}", kinds[int(event.kind)], event.position));
        });
    }

    foundation::Subscription watching;
    Names heard;
};

TEST_F(VideoEventsTest, DoneDuringPlaybackIsASkipWhereTheMovieHadGot) {
    auto controller = present(settings());
    ASSERT_TRUE(playing(controller));
    advance(2.5);
    tap(*controller->skipButton());
    ASSERT_TRUE(closed(controller));
    EXPECT_EQ(heard, (Names{"started@0.0", "skipped@2.5"}));
}

TEST_F(VideoEventsTest, ASkipOnTheSplashStartsNothing) {
    auto controller = present(settings());
    ASSERT_TRUE(
        runUntil([&] { return ModalViewController::onScreenModalViewController() != nullptr; }));
    tap(*controller->skipButton());
    ASSERT_TRUE(closed(controller));
    EXPECT_EQ(heard, Names{"skipped@0.0"});
}

} // namespace
