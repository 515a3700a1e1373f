#include "ads/actions/ModalViewController.h"
#include "ads/actions/InterstitialAd.h"
#include "ads/actions/InterstitialDelegate.h"
#include "ads/request/Ad.h"
#include "ads/request/AdDelegate.h"
#include "ads/request/Delegate.h"
#include "ads/request/URLDownload.h"
#include "platform/animation/Layer.h"
#include "platform/animation/LayerValues.h"
#include "platform/foundation/Date.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/PropertyList.h"
#include "platform/ui/Application.h"
#include "platform/ui/Compositor.h"
#include "platform/ui/Device.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"
#include "tests/support/GoldenImage.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/SandboxHome.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numbers>

using foundation::Dictionary;
using foundation::RunLoop;
using foundation::Value;
using graphics::Rect;
using pennant::ModalViewController;
using ui::Application;

namespace {

using Log = std::vector<std::string>;

// The host's own screen: it turns to the orientations it is given.
class HostController : public ui::ViewController {
    UI_CREATABLE(HostController)
    bool shouldAutorotateToInterfaceOrientation(int orientation) const override {
        return std::ranges::count(supported, orientation) > 0;
    }
    std::vector<int> supported{1};

protected:
    HostController() = default;
};

struct HostDelegate : pennant::Delegate {
    explicit HostDelegate(Log& log) : log(log) {}
    std::string publisherId() override { return "a1b2c3d4e5f6a7b"; }
    std::optional<bool> useTestAd() override { return true; }
    std::optional<std::string> testAdAction() override { return "url"; }
    void willPresentFullScreenModal() override { log.push_back("host will present"); }
    void didDismissFullScreenModal() override { log.push_back("host did dismiss"); }
    Log& log;
};

// A screen with some content of its own that tells the log when it hands control around.
class Screen : public ModalViewController {
public:
    static std::shared_ptr<Screen> create(std::string name, Log& log, bool removeOnChild = false) {
        return std::shared_ptr<Screen>(new Screen(std::move(name), log, removeOnChild));
    }
    bool shouldRemoveOnChildModal() const override { return removeOnChild_; }
    void willTakeControl() override { log_.push_back(name_ + " will take control"); }
    void willRegainControl() override { log_.push_back(name_ + " will regain control"); }
    void loadViewWithBounds(const Rect& bounds) override {
        auto panel = ui::View::create(Rect(20, 60, bounds.width() - 40, 200));
        panel->setBackgroundColor(graphics::Color{0.2f, 0.4f, 0.8f, 1});
        view()->setBackgroundColor(graphics::Color::whiteColor());
        view()->addSubview(panel);
    }
    void orientationDidChangeTo(int orientation) override {
        log_.push_back(name_ + " turned to " + std::to_string(orientation));
    }
    using ModalViewController::alwaysGoBackToLastPublisherSupportedOrientation_;
    using ModalViewController::wantsChildOrientationChangeNotification_;

private:
    Screen(std::string name, Log& log, bool removeOnChild)
        : name_(std::move(name)), log_(log), removeOnChild_(removeOnChild) {}
    std::string name_;
    Log& log_;
    bool removeOnChild_;
};

struct Listener : pennant::InterstitialDelegate {
    explicit Listener(Log& log) : log(log) {}
    void interstitialWillAppear(pennant::InterstitialAd&) override { log.push_back("will appear"); }
    void interstitialDidAppear(pennant::InterstitialAd&) override { log.push_back("did appear"); }
    void interstitialWillDisappear(pennant::InterstitialAd&) override {
        log.push_back("will disappear");
    }
    void interstitialDidDisappear(pennant::InterstitialAd&) override {
        log.push_back("did disappear");
    }
    Log& log;
};

struct FakeInterstitial : pennant::InterstitialAd {
    explicit FakeInterstitial(Log& log) : log(log), listener(std::make_shared<Listener>(log)) {}
    std::shared_ptr<pennant::InterstitialDelegate> pubInterstitialDelegate() override {
        return listener;
    }
    void record() override { log.push_back("record"); }
    Log& log;
    std::shared_ptr<Listener> listener;
};

// Holds the next banner's ad while it is requested.
struct Owner : pennant::AdDelegate {
    graphics::Size adSize() override { return {320, 48}; }
    void adDidLoad(pennant::Ad&) override {}
    void adDidFailToLoad(pennant::Ad&) override {}
    void clickDidSucceed(pennant::Ad&, const std::optional<Dictionary>&) override {}
    void clickDidFail(pennant::Ad&) override {}
};

class ModalViewControllerTest : public testing_support::SandboxHome {
protected:
    void SetUp() override {
        SandboxHome::SetUp();
        auto& application = Application::shared();
        application.setStatusBarHidden(false);
        application.setStatusBarOrientation(1);
        ui::Device::current().setOrientation(1);
        hostWindow = ui::Window::create(ui::Screen::main().bounds());
        hostWindow->setBackgroundColor(graphics::Color::lightGrayColor());
        host = HostController::create();
        host->view()->setFrame(ui::Screen::main().applicationFrame());
        hostWindow->addSubview(host->view());
        banner = ui::View::create(Rect(0, 412, 320, 48));
        banner->setBackgroundColor(graphics::Color{0.9f, 0.5f, 0.1f, 1});
        host->view()->addSubview(banner);
        hostWindow->makeKeyAndVisible();
    }
    void TearDown() override {
        // Nothing stays on screen for the next test.
        advance(2);
        while (auto top = ModalViewController::onScreenModalViewController()) {
            top->relinquishScreen();
            advance(2);
        }
        SandboxHome::TearDown();
    }

    std::shared_ptr<Screen> present(const std::string& name, int animation,
                                    bool removeOnChild = false) {
        auto screen = Screen::create(name, log, removeOnChild);
        screen->commandeerScreenFromAdView(banner, animation, delegate, [this] { return ad; });
        return screen;
    }
    static void advance(double seconds) { RunLoop::main().runFor(foundation::Seconds(seconds)); }
    static double now() { return RunLoop::main().now(); }
    static animation::LayerValues shown(const ui::View& view) {
        return view.layer()->presentationAt(now());
    }
    static bool isOnScreen(const std::shared_ptr<ui::Window>& window) {
        return std::ranges::count(Application::shared().windows(), window) > 0;
    }
    // A click waiting for the next ad request to report it.
    void writeShortClick() {
        const Dictionary record{{"t", "kessa-url"},
                                {"c", Value::number(foundation::absoluteTimeNow())}};
        ASSERT_TRUE(foundation::FileManager::writeAtomically(
                        pennant::Ad::shortClickFilePath(),
                        foundation::PropertyList::writeXML(Value(record)).value())
                        .ok());
    }

    // The parameters of the next banner's ad request, as the ad server received them.
    Dictionary nextRequestParameters(testing_support::LoopbackServer& server) {
        auto owner = std::make_shared<Owner>();
        auto next = pennant::Ad::create(pennant::Ad::kBanner);
        next->setDelegate(delegate);
        next->setAdDelegate(owner);
        next->request();
        auto adRequests = [&] {
            auto all = server.requests();
            std::erase_if(all, [](const auto& entry) { return entry.path != "/ad_source.php"; });
            return all;
        };
        EXPECT_TRUE(RunLoop::main().runUntil([&] { return !adRequests().empty(); },
                                             foundation::Seconds(20)));
        return adRequests().empty()
                   ? Dictionary{}
                   : pennant::URLDownload::dictionaryFromQueryString(adRequests().front().query);
    }

    Log log;
    std::shared_ptr<HostDelegate> delegate = std::make_shared<HostDelegate>(log);
    std::shared_ptr<ui::Window> hostWindow;
    std::shared_ptr<HostController> host;
    std::shared_ptr<ui::View> banner;
    std::shared_ptr<pennant::Ad> ad;
};

} // namespace

// Entry and exit, by animation code ---------------------------------------------------------

TEST_F(ModalViewControllerTest, AFadeTakesTheScreenAndGivesBackWindowAndStatusBar) {
    auto screen = present("page", ModalViewController::kFade);
    EXPECT_TRUE(Application::shared().isStatusBarHidden());
    EXPECT_EQ(log, Log{"host will present"});
    EXPECT_TRUE(screen->isKeyWindow()) << "the fade starts with the window up, transparent";
    EXPECT_FALSE(screen->view()->isUserInteractionEnabled());
    advance(0.2);
    EXPECT_NEAR(shown(*screen->modalWindow()).opacity, 0.5, 0.01);
    EXPECT_FALSE(ModalViewController::onScreenModalViewController());
    advance(0.25);
    EXPECT_EQ(ModalViewController::onScreenModalViewController(), screen);
    EXPECT_TRUE(screen->view()->isUserInteractionEnabled());

    screen->relinquishScreen();
    EXPECT_EQ(log, (Log{"host will present", "host did dismiss"}));
    advance(0.2);
    EXPECT_NEAR(shown(*screen->modalWindow()).opacity, 0.5, 0.01);
    EXPECT_TRUE(Application::shared().isStatusBarHidden());
    advance(0.25);
    EXPECT_FALSE(Application::shared().isStatusBarHidden());
    EXPECT_TRUE(hostWindow->isKeyWindow());
    EXPECT_FALSE(screen->modalWindow());
    EXPECT_FALSE(ModalViewController::onScreenModalViewController());
    EXPECT_EQ(Application::shared().windows(), std::vector{hostWindow});

    screen->relinquishScreen();
    EXPECT_EQ(log.size(), 2u) << "told to go twice, the host hears it once";
}

TEST_F(ModalViewControllerTest, AHiddenStatusBarStaysHiddenAfterwards) {
    Application::shared().setStatusBarHidden(true);
    auto screen = present("page", ModalViewController::kFade);
    advance(0.5);
    screen->relinquishScreen();
    advance(0.5);
    EXPECT_TRUE(Application::shared().isStatusBarHidden());
    EXPECT_TRUE(hostWindow->isKeyWindow());
}

TEST_F(ModalViewControllerTest, TheBackdropGrowsFromTheBannerAndShrinksBackOntoIt) {
    auto screen = present("page", ModalViewController::kBackdrop);
    const auto backdrop = screen->background();
    ASSERT_TRUE(backdrop);
    EXPECT_EQ(backdrop->superview(), hostWindow);
    EXPECT_EQ(backdrop->frame(), ui::Screen::main().bounds()) << "the model is at its end";
    EXPECT_FALSE(isOnScreen(screen->modalWindow())) << "the window waits for the backdrop";
    advance(0.2);
    const Rect midway = shown(*backdrop).frame();
    EXPECT_GT(midway.minY(), 0);
    EXPECT_LT(midway.minY(), 432);
    EXPECT_TRUE(testing_support::GoldenImage::committed().matches(*ui::Compositor::renderScreen(),
                                                                  "modal-backdrop-mid-entry"));
    advance(0.25);
    EXPECT_TRUE(screen->isKeyWindow());
    advance(0.4);
    EXPECT_EQ(ModalViewController::onScreenModalViewController(), screen);

    screen->relinquishScreen();
    advance(0.45);
    EXPECT_EQ(backdrop->frame(), Rect(0, 432, 320, 48)) << "heading back to the banner";
    EXPECT_TRUE(backdrop->superview());
    advance(0.45);
    EXPECT_FALSE(backdrop->superview());
    EXPECT_FALSE(screen->background());
}

TEST_F(ModalViewControllerTest, ThePictureOfTheBannerRisesToTheTopThenComesBack) {
    banner->setFrame(Rect(0, 220, 320, 48)); // y 240 in the window
    auto screen = present("search", ModalViewController::kBannerToTop);
    const auto picture = screen->screenshotOfAd();
    ASSERT_TRUE(picture);
    EXPECT_TRUE(banner->isHidden());
    EXPECT_EQ(picture->superview(), hostWindow);
    advance(0.2);
    const float y = shown(*picture).frame().minY();
    EXPECT_GT(y, 0);
    EXPECT_LT(y, 240);
    EXPECT_TRUE(testing_support::GoldenImage::committed().matches(*ui::Compositor::renderScreen(),
                                                                  "modal-banner-mid-rise"));
    advance(0.21);
    EXPECT_EQ(shown(*picture).frame(), Rect(0, 0, 320, 48)) << "240 points take 0.4 s";
    advance(0.4);
    EXPECT_EQ(ModalViewController::onScreenModalViewController(), screen);

    screen->relinquishScreen();
    advance(0.45);
    EXPECT_EQ(picture->frame(), Rect(0, 240, 320, 48));
    advance(0.45);
    EXPECT_FALSE(picture->superview());
    EXPECT_FALSE(banner->isHidden());
}

TEST_F(ModalViewControllerTest, ThePictureNeedsAHostWindowWithOneRootView) {
    hostWindow->addSubview(ui::View::create(Rect(0, 0, 10, 10)));
    auto screen = present("search", ModalViewController::kBannerToTop);
    EXPECT_EQ(screen->transitionAnimation(), ModalViewController::kFade);
    EXPECT_FALSE(screen->screenshotOfAd());
    EXPECT_FALSE(banner->isHidden());
}

TEST_F(ModalViewControllerTest, ABannerAlreadyAtTheTopNeitherRisesNorWaitsToComeBack) {
    banner->setFrame(Rect(0, -20, 320, 48)); // at the window's top
    auto screen = present("search", ModalViewController::kBannerToTop);
    EXPECT_TRUE(screen->isKeyWindow()) << "straight to the fade";
    advance(0.5);
    const auto picture = screen->screenshotOfAd();
    screen->relinquishScreen();
    advance(0.41);
    EXPECT_FALSE(picture->superview());
    EXPECT_FALSE(banner->isHidden());
}

TEST_F(ModalViewControllerTest, ASlideComesFromWhereTheStatusBarsTopIsAndLeavesThatWay) {
    auto screen = present("video", ModalViewController::kSlide);
    EXPECT_TRUE(screen->isKeyWindow());
    auto slide = std::dynamic_pointer_cast<const animation::Transition>(
        screen->view()->layer()->animationForKey("transition"));
    ASSERT_TRUE(slide);
    EXPECT_EQ(slide->type(), animation::Transition::Type::MoveIn);
    EXPECT_EQ(slide->subtype(), animation::Transition::Subtype::FromTop);
    advance(0.7);
    EXPECT_FALSE(ModalViewController::onScreenModalViewController());
    advance(0.15);
    EXPECT_EQ(ModalViewController::onScreenModalViewController(), screen);

    screen->relinquishScreen();
    const auto window = screen->modalWindow();
    advance(0.4);
    const float y = shown(*window).frame().minY();
    EXPECT_GT(y, 0);
    EXPECT_LT(y, 480);
    advance(0.45);
    EXPECT_FALSE(isOnScreen(window));
    EXPECT_TRUE(hostWindow->isKeyWindow());

    using Subtype = animation::Transition::Subtype;
    EXPECT_EQ(ModalViewController::getSlideUpSubtype(2), Subtype::FromBottom);
    EXPECT_EQ(ModalViewController::getSlideUpSubtype(3), Subtype::FromLeft);
    EXPECT_EQ(ModalViewController::getSlideUpSubtype(4), Subtype::FromRight);
    const Rect bounds(0, 0, 320, 480);
    EXPECT_EQ(ModalViewController::getExitFrame(2, bounds), Rect(0, -480, 320, 480));
    EXPECT_EQ(ModalViewController::getExitFrame(3, bounds), Rect(-320, 0, 320, 480));
    EXPECT_EQ(ModalViewController::getExitFrame(4, bounds), Rect(320, 0, 320, 480));
    EXPECT_EQ(ModalViewController::getExitFrame(5, bounds), bounds);
}

// Stacks ------------------------------------------------------------------------------------

TEST_F(ModalViewControllerTest, AStackedScreenHandsControlBackToTheOneBelow) {
    auto lower = present("page", ModalViewController::kFade);
    advance(0.5);
    auto upper = present("video", ModalViewController::kSlide);
    EXPECT_EQ(upper->previousModalViewController(), lower);
    EXPECT_EQ(upper->previousKeyWindow(), lower->modalWindow());
    advance(0.9);
    EXPECT_EQ(ModalViewController::onScreenModalViewController(), upper);

    upper->relinquishScreen();
    advance(0.9);
    EXPECT_EQ(ModalViewController::onScreenModalViewController(), lower);
    EXPECT_TRUE(lower->isKeyWindow());
    EXPECT_TRUE(Application::shared().isStatusBarHidden());
    lower->relinquishScreen();
    advance(0.5);
    EXPECT_EQ(log, (Log{"host will present", "page will take control", "page will regain control",
                        "host did dismiss"}));
    EXPECT_FALSE(Application::shared().isStatusBarHidden());
}

TEST_F(ModalViewControllerTest, AScreenThatAsksToGoIsReplacedAndItsVisitCarriesOn) {
    ad = pennant::Ad::create(pennant::Ad::kBanner);
    writeShortClick();
    std::weak_ptr<Screen> search = present("search", ModalViewController::kFade, true);
    advance(0.4);
    advance(5);
    auto page = present("page", ModalViewController::kFade);
    EXPECT_FALSE(page->previousModalViewController());
    EXPECT_TRUE(search.lock()) << "the old screen stays until the new one is on";
    advance(0.4);
    EXPECT_FALSE(search.lock());
    EXPECT_EQ(ModalViewController::onScreenModalViewController(), page);
    EXPECT_TRUE(Application::shared().isStatusBarHidden());
    advance(7.1);
    page->relinquishScreen();
    advance(0.5);
    EXPECT_EQ(log, (Log{"host will present", "host did dismiss"}));
    EXPECT_FALSE(Application::shared().isStatusBarHidden());
    EXPECT_TRUE(hostWindow->isKeyWindow());
    EXPECT_EQ(ad->buildParamsWithLastClickInfo(true).get("pub_data[sc]"),
              Value("kessa-url,13.40,12.50"));
}

TEST_F(ModalViewControllerTest, AReplacementAboveAnotherScreenKeepsItsPlaceInTheStack) {
    auto page = present("page", ModalViewController::kFade);
    advance(0.5);
    present("search", ModalViewController::kFade, true);
    advance(0.5);
    auto video = present("video", ModalViewController::kFade);
    advance(0.5);
    EXPECT_EQ(video->previousModalViewController(), page);
    video->relinquishScreen();
    advance(0.5);
    EXPECT_EQ(ModalViewController::onScreenModalViewController(), page);
    EXPECT_EQ(log,
              (Log{"host will present", "page will take control", "page will regain control"}));
}

// Engagement --------------------------------------------------------------------------------

TEST_F(ModalViewControllerTest, TheSecondsSpentRideAlongWithTheNextAdRequest) {
    testing_support::LoopbackServer server;
    RunLoop::main().setClock(clock);
    ad = pennant::Ad::create(pennant::Ad::kBanner);
    writeShortClick();
    auto screen = present("page", ModalViewController::kBackdrop);
    advance(0.8); // backdrop, then fade: the visit starts when the page is on
    advance(12.5);
    screen->relinquishScreen();
    advance(1);
    EXPECT_EQ(nextRequestParameters(server).get("pub_data[sc]"), Value("kessa-url,14.30,12.50"));
}

// A screen sent away before it was fully on still reports the short time it was there, not
// the seconds since the clock's origin.
TEST_F(ModalViewControllerTest, AScreenSentAwayWhileComingInReportsItsShortVisit) {
    testing_support::LoopbackServer server;
    RunLoop::main().setClock(clock);
    ad = pennant::Ad::create(pennant::Ad::kBanner);
    writeShortClick();
    auto screen = present("video", ModalViewController::kSlide);
    advance(0.2);
    screen->relinquishScreen();
    advance(1);
    EXPECT_EQ(nextRequestParameters(server).get("pub_data[sc]").asString(), "kessa-url,1.20,0.20");
}

// Orientation -------------------------------------------------------------------------------

TEST_F(ModalViewControllerTest, ALandscapeScreenTurnsOnlyForLandscape) {
    auto screen = present("video", ModalViewController::kFade);
    screen->setAllowedOrientations(ModalViewController::kLandscapeOnly);
    advance(0.5);
    const auto content = screen->view();
    const Rect before = content->frame();

    Application::shared().setStatusBarOrientation(2);
    EXPECT_EQ(content->frame(), before);
    EXPECT_EQ(content->transform(), graphics::AffineTransform::identity());

    Application::shared().setStatusBarOrientation(3);
    EXPECT_EQ(content->bounds(), Rect(0, 0, 480, 320));
    EXPECT_EQ(content->center(), graphics::Point(160, 240));
    EXPECT_EQ(content->transform(),
              graphics::AffineTransform::rotation(std::numbers::pi_v<float> / 2));
    EXPECT_EQ(log, (Log{"host will present", "video turned to 2", "video turned to 3"}));
}

TEST_F(ModalViewControllerTest, OnExitTheStatusBarGoesBackWhereDeviceAndHostAgreed) {
    for (bool always : {false, true}) {
        Application::shared().setStatusBarOrientation(1);
        auto screen = present("video", ModalViewController::kFade);
        screen->alwaysGoBackToLastPublisherSupportedOrientation_ = always;
        advance(0.5);
        Application::shared().setStatusBarOrientation(3);
        EXPECT_EQ(screen->lastAccelerometerBasedOrientation(), 1) << "the device stayed upright";
        EXPECT_EQ(screen->lastPublisherSupportedOrientation(), 1) << "the host stays portrait";
        screen->relinquishScreen();
        advance(0.5);
        EXPECT_EQ(Application::shared().statusBarOrientation(), 1) << always;
    }
}

TEST_F(ModalViewControllerTest, TheHostsOrientationsAreFollowedAndForwardedDownTheStack) {
    host->supported = {1, 3};
    auto lower = present("page", ModalViewController::kFade);
    lower->wantsChildOrientationChangeNotification_ = true;
    advance(0.5);
    auto upper = present("video", ModalViewController::kFade);
    advance(0.5);
    EXPECT_TRUE(lower->isPublisherSupportedOrientation(3));
    EXPECT_FALSE(lower->isPublisherSupportedOrientation(4));
    EXPECT_TRUE(upper->isPublisherSupportedOrientation(4)) << "it asks the screen below";

    ui::Device::current().setOrientation(4);
    Application::shared().setStatusBarOrientation(4);
    EXPECT_EQ(upper->lastPublisherSupportedOrientation(), 4);
    EXPECT_EQ(lower->lastPublisherSupportedOrientation(), 1) << "the host cannot show 4";
    EXPECT_EQ(upper->lastAccelerometerBasedOrientation(), 4);
    ui::Device::current().setOrientation(3);
    Application::shared().setStatusBarOrientation(3);
    EXPECT_EQ(upper->lastPublisherSupportedOrientation(), 3);
    EXPECT_EQ(lower->lastPublisherSupportedOrientation(), 3);

    // Back on the host, which can show 3, the bar stays where the device is.
    upper->relinquishScreen();
    advance(0.5);
    lower->relinquishScreen();
    advance(0.5);
    EXPECT_EQ(Application::shared().statusBarOrientation(), 3);
}

// Interstitials -----------------------------------------------------------------------------

TEST_F(ModalViewControllerTest, AnInterstitialIsRecordedAndItsListenerHearsEachStep) {
    auto screen = Screen::create("interstitial", log);
    screen->setInterstitialAd(std::make_shared<FakeInterstitial>(log));
    screen->commandeerScreenFromAdView(nullptr, ModalViewController::kSlide, {});
    EXPECT_EQ(log, Log{"will appear"});
    advance(0.9);
    EXPECT_EQ(log, (Log{"will appear", "record", "did appear"}));
    screen->relinquishScreen();
    advance(0.9);
    EXPECT_EQ(log, (Log{"will appear", "record", "did appear", "will disappear", "did disappear"}));
    EXPECT_TRUE(hostWindow->isKeyWindow());
}

TEST_F(ModalViewControllerTest, AScreenToldToGoWhileSlidingInLeavesOnce) {
    auto screen = Screen::create("interstitial", log);
    screen->setInterstitialAd(std::make_shared<FakeInterstitial>(log));
    screen->commandeerScreenFromAdView(nullptr, ModalViewController::kSlide, {});
    const auto window = screen->modalWindow();
    advance(0.2);
    screen->relinquishScreen();
    advance(0.6); // past the end of the slide-in, before the end of the slide-out
    EXPECT_TRUE(isOnScreen(window)) << "the slide-in's end must not cut the slide-out short";
    advance(0.6);
    EXPECT_FALSE(isOnScreen(window));
    EXPECT_EQ(std::ranges::count(log, "did disappear"), 1);
    EXPECT_TRUE(hostWindow->isKeyWindow());
}
