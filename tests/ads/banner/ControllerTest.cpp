#include "ads/banner/Controller.h"
#include "ads/banner/View.h"
#include "ads/render/FlexAdContainerView.h"
#include "ads/render/OldSchoolSingleAdView.h"
#include "ads/render/PagingScrollView.h"
#include "ads/request/Ad.h"
#include "ads/request/Opener.h"
#include "ads/search/SearchBar.h"
#include "ads/search/SearchViewController.h"
#include "platform/animation/Layer.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/graphics/CairoContext.h"
#include "platform/ui/Application.h"
#include "platform/ui/Compositor.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/PageControl.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/Touch.h"
#include "platform/ui/Window.h"
#include "tests/support/CatalogAds.h"
#include "tests/support/GoldenImage.h"
#include "tests/support/ScreenTap.h"

#include <gtest/gtest.h>

#include <algorithm>

using foundation::RunLoop;
using pennant::Ad;
using pennant::Controller;
using pennant::SingleAdView;

namespace {

constexpr const char* kRateLimitLine =
    "<Pennant> Ad requests must be 30.000000 seconds apart.  Ignoring this request.";

class BannerController : public testing_support::CatalogAds {
protected:
    // A banner whose first ad has loaded (or failed).
    void startBanner(const std::string& action) {
        host->action = action;
        banner = pennant::View::requestAdWithDelegate(host);
        EXPECT_TRUE(RunLoop::main().runUntil(
            [&] { return host->received + host->failedToReceive > 0; }, kBound));
    }
    Controller& controller() { return *banner->controller(); }
    std::shared_ptr<SingleAdView> shownAdView() {
        return std::dynamic_pointer_cast<SingleAdView>(
            banner->viewWithTag(Controller::kCurrentAdTag));
    }
    std::size_t adRequests() {
        return std::ranges::count_if(server.requests(), [](const auto& entry) {
            return entry.method == "GET" && entry.path == "/ad_source.php";
        });
    }
    // Waits until the refresh in flight has been decided, one way or the other.
    void settleRefresh() {
        EXPECT_TRUE(RunLoop::main().runUntil([&] { return !controller().loadingAd(); }, kBound));
        RunLoop::main().runUntil([] { return false; }, foundation::Seconds(1));
    }
    int logged(const std::string& line) const {
        return static_cast<int>(std::ranges::count(lines, line));
    }

    std::shared_ptr<pennant::View> banner;
    std::vector<std::string> lines;
    foundation::Subscription sink =
        foundation::Log::addSink([this](const std::string& line) { lines.push_back(line); });
};

} // namespace

TEST_F(BannerController, TheFirstAdIsShownAndReportedOnce) {
    startBanner("url");
    EXPECT_EQ(host->received, 1);
    EXPECT_EQ(banner->frame(), graphics::Rect(0, 0, 320, 48));
    EXPECT_EQ(pennant::View::version(), "20091119");
    const auto shown = shownAdView();
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->className(), "OldSchoolSingleAdView");
    EXPECT_EQ(shown->ad(), controller().currentlyDisplayedAd());
    EXPECT_EQ(shown->frame(), banner->bounds());

    banner->requestFreshAd();
    settleRefresh();
    EXPECT_EQ(host->received, 1); // refreshes are not reported
    EXPECT_NE(shownAdView(), shown);
    EXPECT_EQ(shownAdView()->ad(), controller().currentlyDisplayedAd());
}

TEST_F(BannerController, RefreshesAreSpacedThirtySecondsApart) {
    startBanner("url");
    banner->requestFreshAd();
    settleRefresh();
    EXPECT_EQ(adRequests(), 2u);
    clock->advanceBy(10);
    banner->requestFreshAd();
    EXPECT_EQ(logged(kRateLimitLine), 1);
    EXPECT_FALSE(controller().loadingAd());
    clock->advanceBy(21);
    banner->requestFreshAd();
    EXPECT_TRUE(controller().loadingAd());
    settleRefresh();
    EXPECT_EQ(adRequests(), 3u);
}

TEST_F(BannerController, AnInactiveApplicationStartsNothingButTheClockStillMoves) {
    startBanner("url");
    auto& center = foundation::NotificationCenter::defaultCenter();
    center.post(ui::Application::kWillResignActiveNotification);
    banner->requestFreshAd();
    EXPECT_FALSE(controller().loadingAd());
    center.post(ui::Application::kDidBecomeActiveNotification);
    clock->advanceBy(5);
    banner->requestFreshAd();
    EXPECT_EQ(logged(kRateLimitLine), 1);
    EXPECT_FALSE(controller().loadingAd());
    EXPECT_EQ(adRequests(), 1u);
}

TEST_F(BannerController, AnImageBannerIsNeverRefreshed) {
    startBanner("garden-banner");
    ASSERT_EQ(controller().currentlyDisplayedAd()->medium(), Ad::kImageBanner);
    for (int i = 0; i < 3; ++i) {
        banner->requestFreshAd();
        clock->advanceBy(31);
    }
    EXPECT_FALSE(controller().loadingAd());
    EXPECT_EQ(adRequests(), 1u);
}

// Whatever goes wrong with a refresh, the banner shown stays as it was and the host hears
// nothing: error statuses, cut bodies, garbage JSON, an image that does not decode. (A server
// too slow to answer ends the same way, through the download's time-out.)
TEST_F(BannerController, AFailedRefreshLeavesTheBannerAsItWas) {
    startBanner("url");
    const auto shown = shownAdView();
    for (const char* fault : {R"({"path": "/ad_source.php", "status": 404})",
                              R"({"path": "/ad_source.php", "status": 500})",
                              R"({"path": "/ad_source.php", "close": true})",
                              R"({"path": "/ad_source.php", "body": "{\"text\": \"cut"})",
                              R"({"path": "/ad_source.php", "body": "<html>not an ad</html>"})",
                              R"({"path": "/static/phone/ads/*", "body": "not a picture"})"}) {
        server.addFault(fault);
        clock->advanceBy(31);
        banner->requestFreshAd();
        ASSERT_TRUE(controller().loadingAd()) << fault;
        settleRefresh();
        EXPECT_EQ(shownAdView(), shown) << fault;
        EXPECT_EQ(shown->superview(), banner) << fault;
        EXPECT_EQ(shown->ad(), controller().currentlyDisplayedAd()) << fault;
    }
    EXPECT_EQ(host->received, 1);
    EXPECT_EQ(host->failedToReceive, 0);
}

TEST_F(BannerController, AFailedFirstAdIsReportedAndALaterRefreshIsInstalledQuietly) {
    server.addFault(R"({"path": "/ad_source.php", "status": 404})");
    startBanner("url");
    EXPECT_EQ(host->failedToReceive, 1);
    EXPECT_FALSE(controller().currentlyDisplayedAd());
    EXPECT_FALSE(shownAdView());

    banner->requestFreshAd();
    settleRefresh();
    EXPECT_TRUE(shownAdView());
    EXPECT_EQ(host->received, 0);
    EXPECT_EQ(host->failedToReceive, 1);
}

TEST_F(BannerController, AClickAnswerWithoutARedirectOpensTheOpenerWithNoURL) {
    startBanner("bakery-contact");
    auto shown = shownAdView();
    ASSERT_TRUE(shown);
    controller().click(*shown, foundation::Dictionary{});
    const auto ad = controller().currentlyDisplayedAd();
    EXPECT_TRUE(RunLoop::main().runUntil(
        [&] { return ad->state() == Ad::kLoaded && ad->clicked(); }, kBound));
    EXPECT_TRUE(RunLoop::main().runUntil([&] { return ad->opener()->acquisitionURL().has_value(); },
                                         kBound));
    EXPECT_FALSE(ad->opener()->url());
    EXPECT_EQ(ad->opener()->animation(), 1);
    EXPECT_EQ(ad->opener()->animationFromAdView(), banner);

    // The opener knows the banner without keeping it: a host that drops it frees it.
    std::weak_ptr<pennant::View> weak = banner;
    shown.reset();
    banner.reset();
    EXPECT_TRUE(weak.expired());
}

TEST_F(BannerController, ARedirectThatIsNotTextFailsTheClick) {
    startBanner("mixed-types"); // its click answer has "redirect_url": 5
    auto shown = shownAdView();
    ASSERT_TRUE(shown);
    controller().click(*shown, foundation::Dictionary{});
    const auto ad = controller().currentlyDisplayedAd();
    RunLoop::main().runUntil([] { return false; }, foundation::Seconds(2));
    EXPECT_FALSE(ad->opener()->acquisitionURL());
    EXPECT_FALSE(ad->opener()->url());
}

// The search banner's tap opens the search screen and sends nothing; the search is the click,
// and a click that fails closes the screen again.
TEST_F(BannerController, ASearchBannerOpensTheSearchScreenAndAFailedSearchClosesIt) {
    startBanner("web-search");
    auto window = ui::Window::create(graphics::Rect(0, 0, 320, 480));
    banner->setFrame(graphics::Rect(0, 432, 320, 48));
    window->addSubview(banner);
    window->makeKeyAndVisible();
    const auto shown = shownAdView();
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->className(), "PennantSearchAdView");
    testing_support::ScreenTap::on(*shown, shown->bounds());
    const auto screen = controller().searchController();
    ASSERT_TRUE(screen);
    RunLoop::main().runFor(foundation::Seconds(2));
    EXPECT_EQ(pennant::ModalViewController::onScreenModalViewController(), screen);
    EXPECT_EQ(screen->searchBar()->placeholder(), "Search the web");
    EXPECT_EQ(screen->searchBar()->frame().height(), 48);
    auto clicks = [&] {
        return std::ranges::count_if(
            server.requests(), [](const auto& entry) { return entry.path == "/click/web-search"; });
    };
    EXPECT_EQ(clicks(), 0);

    server.addFault(R"({"path": "/click/web-search", "status": 500})");
    ui::Keyboard::shared().typeText("kessa");
    ui::Keyboard::shared().pressKey(ui::KeyboardKey::Return);
    EXPECT_TRUE(RunLoop::main().runUntil(
        [&] { return !pennant::ModalViewController::onScreenModalViewController(); }, kBound));
    EXPECT_EQ(clicks(), 1);
    RunLoop::main().runFor(foundation::Seconds(2));
    EXPECT_FALSE(screen->modalWindow());
    EXPECT_FALSE(banner->isHidden());
    EXPECT_FALSE(ui::Keyboard::shared().isVisible());
}

TEST_F(BannerController, ANewAdFlipsInOverSevenTenthsOfASecond) {
    host->background = graphics::Color(0.776f, 0.161f, 0.098f, 1);
    startBanner("url");
    const auto old = shownAdView();
    host->action = "kessa-long";
    banner->requestFreshAd();
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return !controller().loadingAd(); }, kBound));
    // The new view is in and the old one out at once; the flip shows the change.
    EXPECT_EQ(old->tag(), 0);
    EXPECT_FALSE(old->superview());
    EXPECT_EQ(banner->subviews().size(), 1u);
    EXPECT_EQ(shownAdView()->tag(), Controller::kCurrentAdTag);
    std::weak_ptr<SingleAdView> oldView = old;

    RunLoop::main().runFor(foundation::Seconds(0.2));
    graphics::CairoContext context(graphics::Size{320, 48});
    ui::Compositor::renderLayer(context, *banner->layer(), RunLoop::main().now());
    EXPECT_TRUE(
        testing_support::GoldenImage::committed().matches(*context.makeImage(), "banner-mid-flip"));
    RunLoop::main().runFor(foundation::Seconds(0.6));
    EXPECT_FALSE(banner->layer()->transitionAt(RunLoop::main().now()));
}

TEST_F(BannerController, AFlexAdIsShownThroughItsContainer) {
    startBanner("kessa-flex");
    ASSERT_EQ(host->received, 1);
    const auto container = std::dynamic_pointer_cast<pennant::FlexAdContainerView>(shownAdView());
    ASSERT_TRUE(container);
    EXPECT_EQ(container->ad(), controller().currentlyDisplayedAd());
    EXPECT_EQ(container->frame(), banner->bounds());
    ASSERT_EQ(container->subviews().size(), 3u); // backdrop, bevelled logo, text
    EXPECT_EQ(container->subviews()[1]->className(), "ImageView");
    EXPECT_EQ(container->subviews()[2]->dumpText(), "Kessa Pro: shake to win");
    EXPECT_TRUE(testing_support::GoldenImage::committed().matches(
        *ui::Compositor::renderLayerImage(*banner->layer()), "banner-flex"));
}

// The ad shown owns its flex ad, which built the container that shows the ad: the banner's
// going takes them all with it.
TEST_F(BannerController, AFlexAdGoesWithItsBanner) {
    startBanner("kessa-flex");
    std::weak_ptr<SingleAdView> container = shownAdView();
    std::weak_ptr<Ad> ad = controller().currentlyDisplayedAd();
    ASSERT_FALSE(container.expired());
    banner.reset();
    RunLoop::main().runFor(foundation::Seconds(1));
    EXPECT_TRUE(container.expired());
    EXPECT_TRUE(ad.expired());
}

namespace {

// A catalogue flex ad in a banner at the foot of a key window, and pictures of it at given
// moments after its first drawing, which starts its animations.
class FlexBanner : public BannerController {
protected:
    void show(const std::string& identifier) {
        window->makeKeyAndVisible();
        startBanner(identifier);
        banner->setFrame(graphics::Rect(0, kBannerTop, 320, 48));
        window->addSubview(banner);
        container = std::dynamic_pointer_cast<pennant::FlexAdContainerView>(shownAdView());
        ASSERT_TRUE(container);
        firstDrawnAt = RunLoop::main().now();
        picture();
    }
    std::shared_ptr<graphics::Image> picture() {
        return ui::Compositor::renderLayerImage(*banner->layer());
    }
    void runUntilSecondsAfterFirstDrawing(double seconds) {
        RunLoop::main().runFor(foundation::Seconds(firstDrawnAt + seconds - RunLoop::main().now()));
    }
    ::testing::AssertionResult looksAt(double seconds, const std::string& golden) {
        runUntilSecondsAfterFirstDrawing(seconds);
        return testing_support::GoldenImage::committed().matches(*picture(), golden);
    }
    // A finger moving across the banner at sixty reports a second.
    void swipe(float fromX, float toX, double seconds) {
        constexpr int kSteps = 18;
        touch(ui::Touch::Phase::Began, fromX);
        for (int step = 1; step <= kSteps; ++step) {
            RunLoop::main().runFor(foundation::Seconds(seconds / kSteps));
            touch(ui::Touch::Phase::Moved, fromX + (toX - fromX) * float(step) / kSteps);
        }
        touch(ui::Touch::Phase::Ended, toX);
    }
    void touch(ui::Touch::Phase phase, float x) {
        ui::Application::shared().sendTouch(int(phase), {x, kBannerTop + 24},
                                            RunLoop::main().now());
    }

    static constexpr float kBannerTop = 432;
    std::shared_ptr<ui::Window> window = ui::Window::create(graphics::Rect(0, 0, 320, 480));
    std::shared_ptr<pennant::FlexAdContainerView> container;
    double firstDrawnAt = 0;
};

} // namespace

// The logo pulses for ever from the start; the text slides in from the right after half a
// second, fading in as it comes.
TEST_F(FlexBanner, APulsingLogoAndTextSlidingInMatchTheirGoldens) {
    show("flex-pulse");
    EXPECT_EQ(container->clickAnimationView(), container->subviews()[1]);
    EXPECT_TRUE(looksAt(0, "flex-pulse-start"));
    EXPECT_TRUE(looksAt(0.9, "flex-pulse-sliding"));
    EXPECT_TRUE(looksAt(1.5, "flex-pulse-settled"));
    EXPECT_TRUE(looksAt(600.5, "flex-pulse-settled")) << "still pulsing ten minutes on";
}

// Key frames: the backdrop's colour, the cake's wobble, the text's overshooting slide and the
// underline that grows from its middle.
TEST_F(FlexBanner, KeyframeAnimationsMatchTheirGoldens) {
    show("flex-slide");
    EXPECT_TRUE(looksAt(0, "flex-slide-start"));
    EXPECT_TRUE(looksAt(0.45, "flex-slide-wobbling"));
    EXPECT_TRUE(looksAt(1.4, "flex-slide-sliding"));
    EXPECT_TRUE(looksAt(2.25, "flex-slide-underlining"));
    EXPECT_TRUE(looksAt(5, "flex-slide-settled"));
}

// The pages fade in over the backdrop after a second; a swipe brings the second page and
// lights the indicator, which fades again once the pages rest.
TEST_F(FlexBanner, SwipeablePagesMatchTheirGoldens) {
    show("flex-pages");
    const auto pages =
        std::dynamic_pointer_cast<pennant::PagingScrollView>(container->subviews().at(1));
    ASSERT_TRUE(pages);
    EXPECT_TRUE(looksAt(0, "flex-pages-start"));
    EXPECT_TRUE(looksAt(0.9, "flex-pages-start")) << "held back for a second";
    EXPECT_TRUE(looksAt(1.5, "flex-pages-fading-in"));
    EXPECT_TRUE(looksAt(3, "flex-pages-first-page"));
    swipe(280, 60, 0.3);
    EXPECT_TRUE(looksAt(3.4, "flex-pages-swiping"));
    EXPECT_TRUE(looksAt(6, "flex-pages-second-page"));
    EXPECT_EQ(pages->scrollView()->contentOffset(), (graphics::Point{320, 0}));
    EXPECT_EQ(pages->pageControl()->currentPage(), 1);
}

// The squashing loaf, the price box flashing in the group's timing and a two-line label in a
// named font over a gradient whose end point follows its initial alpha.
TEST_F(FlexBanner, AGradientBackdropAndGroupTimingMatchTheirGoldens) {
    show("flex-gradient");
    EXPECT_TRUE(looksAt(0, "flex-gradient-start"));
    EXPECT_TRUE(looksAt(0.75, "flex-gradient-flashing"));
    EXPECT_TRUE(looksAt(4, "flex-gradient-settled"));
}
