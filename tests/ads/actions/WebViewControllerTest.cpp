#include "ads/actions/WebViewController.h"

#include "ads/actions/InterstitialAd.h"
#include "ads/request/AnalyticsData.h"
#include "ads/request/URLDownload.h"
#include "platform/foundation/Error.h"
#include "platform/ui/AlertView.h"
#include "platform/web/WebView.h"
#include "tests/support/ClosedPort.h"
#include "tests/support/WebScreenFixture.h"

#include <gtest/gtest.h>

#include <algorithm>

using pennant::WebViewController;

namespace {

class WebViewControllerTest : public testing_support::WebScreenFixture {
protected:
    // A presented screen with its page loaded.
    std::shared_ptr<WebViewController> showPage(const std::string& address) {
        auto screen = WebViewController::create();
        screen->load(url(address));
        present(*screen);
        EXPECT_TRUE(waitFor([&] { return screen->loaded(); })) << address;
        return screen;
    }
    // Follows a link of the page the way a finger does, through the page's own click.
    void follow(WebViewController& screen, const std::string& id) {
        screen.webView()->stringByEvaluatingJavaScriptFromString("document.getElementById('" + id +
                                                                 "').click()");
        advance(0.5);
    }
    static bool allows(WebViewController& screen, const std::string& address) {
        return screen
            .shouldStartLoad(*screen.webView(), {address}, web::NavigationType::LinkClicked)
            .value_or(true);
    }
    static std::string shownURL(const WebViewController& screen) {
        const auto& request = screen.webView()->request();
        return request ? request->url : "";
    }
};

} // namespace

TEST_F(WebViewControllerTest, EachLinkGoesWhereTheFirstMatchingRuleSends) {
    auto screen = WebViewController::create();
    struct Case {
        std::string url;
        bool inPlace;
        std::string handedTo; // "system", "movie" or "" (nothing)
    };
    const std::vector<Case> cases = {
        {"file:///etc/passwd", false, ""},
        {"about:blank", true, ""},
        {"tel:5550100", false, "system"},
        {"mailto:a@b.test", false, "system"},
        // The scheme is read before any host: an ftp map link leaves by the scheme rule.
        {"ftp://maps.phone.test/x", false, "system"},
        {"http://maps.phone.test/?q=pier", false, "system"},
        {"https://map.phone.co.test/x", false, "system"},
        {"http://Maps.phone.test/?q=pier", true, ""},
        {"http://video.phone.test/watch?v=1", false, "system"},
        {"http://www.video.phone.test/v/1", false, "system"},
        {"http://video.phone.test/user/x", true, ""},
        {"http://store.phone.test/app/1", false, "system"},
        {"itms://anything.test/app", false, "system"},
        {"http://static.pennant.test/clip.mp4", false, "movie"},
        {"http://static.pennant.test/clip.3gp2", false, "movie"},
        {"http://static.pennant.test/clip.MP4", true, ""},
        {"http://video.phone.test/Watch?v=1", true, ""},
        {"http://static.pennant.test/page.html", true, ""},
    };
    for (const auto& c : cases) {
        opened.clear();
        screens->handed.clear();
        EXPECT_EQ(allows(*screen, c.url), c.inPlace) << c.url;
        advance(0.1);
        const std::string handedTo = !opened.empty()            ? "system"
                                     : !screens->handed.empty() ? "movie"
                                                                : "";
        EXPECT_EQ(handedTo, c.handedTo) << c.url;
    }
}

TEST_F(WebViewControllerTest, APagesLinksLeaveOrLoadThroughTheRealPage) {
    auto screen = showPage(page("links.html"));
    follow(*screen, "map");
    follow(*screen, "call");
    follow(*screen, "movie");
    EXPECT_EQ(opened,
              (std::vector<std::string>{"http://maps.phone.test/?q=Pier+Cafe", "tel:5550100"}));
    EXPECT_EQ(screens->handed,
              std::vector<std::string>{"movie http://static.pennant.test/static/video/clock.mp4"});
    EXPECT_EQ(shownURL(*screen), page("links.html"));

    follow(*screen, "channel");
    EXPECT_TRUE(waitFor([&] { return shownURL(*screen) == "http://video.phone.test/user/kessa"; }));
}

TEST_F(WebViewControllerTest, APagesCommandsOpenTheBrowserAndItsCallsAlwaysAsk) {
    auto screen = showPage(page("links.html"));
    follow(*screen, "launch");
    follow(*screen, "open-call");
    EXPECT_EQ(screens->handed, (std::vector<std::string>{"browser " + page("garden.html"),
                                                         "call asking tel:5550100"}));

    // A launch without a URL and an unknown command do nothing.
    EXPECT_FALSE(allows(*screen, "pennant://launch?title=x"));
    EXPECT_FALSE(allows(*screen, "pennant://dance?url=http%3A%2F%2Fa.test%2F"));
    EXPECT_EQ(screens->handed.size(), 2u);
    EXPECT_TRUE(opened.empty());
}

TEST_F(WebViewControllerTest, AnOpenCommandWithUnusableParametersDoesNothingAndSaysSo) {
    auto screen = showPage(page("links.html"));
    for (const char* script : {"notAnObject()", "unknownAction()", "huge()", "undefined"}) {
        lines.clear();
        EXPECT_FALSE(allows(*screen, std::string("pennant://open?vars=") + script));
        EXPECT_EQ(lines.size(), std::string(script) == "undefined" ? 0u : 1u) << script;
    }
    EXPECT_TRUE(screens->handed.empty());
}

TEST_F(WebViewControllerTest, CloseCommandSendsTheScreenAway) {
    auto screen = showPage(page("links.html"));
    advance(1);
    follow(*screen, "close");
    advance(1);
    EXPECT_FALSE(pennant::ModalViewController::onScreenModalViewController());
    EXPECT_EQ(delegate->events, (std::vector<std::string>{"will present", "did dismiss"}));
}

TEST_F(WebViewControllerTest, FailuresShowOneAlertWhoseMessageFollowsTheLatest) {
    // Straight to a closed port, not through the ad network's proxy.
    net::HostMap::shared().clear();
    auto screen = WebViewController::create();
    present(*screen);
    screen->load(url("http://127.0.0.1:" + std::to_string(testing_support::closedPort()) + "/"));
    ASSERT_TRUE(waitFor([&] { return screen->failAlert() != nullptr; }));
    const auto alert = screen->failAlert();
    EXPECT_EQ(alert->title(), "Whoops");
    EXPECT_EQ(alert->message(), "Couldn't connect to that page.");
    EXPECT_TRUE(alert->isVisible());

    screen->didFailLoad(*screen->webView(), {"NSURLErrorDomain", -1003, "no such host"});
    EXPECT_EQ(screen->failAlert(), alert);
    EXPECT_EQ(alert->message(), "That page could not be loaded.");
    for (const auto& [code, message] :
         std::vector<std::pair<long, std::string>>{{-1001, "Couldn't connect to that page."},
                                                   {-1103, "That page is too large to load."},
                                                   {-1202, "That page is not secure."},
                                                   {-3003, "That file can't be displayed."},
                                                   {-1002, "That page is not supported."}}) {
        screen->didFailLoad(*screen->webView(), {"NSURLErrorDomain", code, ""});
        EXPECT_EQ(alert->message(), message) << code;
    }
    // Cancelled loads and interrupted frame loads say nothing.
    alert->dismissWithClickedButtonIndex(0, false);
    screen->didFailLoad(*screen->webView(), {"NSURLErrorDomain", -999, ""});
    screen->didFailLoad(*screen->webView(), {"WebKitErrorDomain", 102, ""});
    EXPECT_FALSE(alert->isVisible());
    EXPECT_EQ(std::ranges::count(lines, "<Pennant> Warning: That page could not be loaded."), 1);
}

TEST_F(WebViewControllerTest, AnInterstitialHearsOfItsPageInsteadOfAnAlert) {
    struct Interstitial : pennant::InterstitialAd {
        std::shared_ptr<pennant::InterstitialDelegate> pubInterstitialDelegate() override {
            return nullptr;
        }
        void record() override {}
        void interstitialReady() override { heard.push_back("ready"); }
        void interstitialDidFailToLoad() override { heard.push_back("failed"); }
        std::vector<std::string> heard;
    };
    auto interstitial = std::make_shared<Interstitial>();
    auto good = WebViewController::create();
    good->setInterstitialAd(interstitial);
    good->load(url(page("kessa.html")));
    ASSERT_TRUE(waitFor([&] { return good->loaded(); }));

    net::HostMap::shared().clear();
    auto bad = WebViewController::create();
    bad->setInterstitialAd(interstitial);
    bad->load(url("http://127.0.0.1:" + std::to_string(testing_support::closedPort()) + "/"));
    ASSERT_TRUE(waitFor([&] { return bad->loaded(); }));
    EXPECT_EQ(interstitial->heard, (std::vector<std::string>{"ready", "failed"}));
    EXPECT_FALSE(bad->failAlert());
}

TEST_F(WebViewControllerTest, ATimedOutPageSaysItCouldNotConnect) {
    auto screen = WebViewController::create();
    delay("/static/phone/landing/garden.html", 3);
    web::WebRequest request{page("garden.html")};
    request.timeout = foundation::Seconds(0.5);
    screen->webView()->loadRequest(request);
    ASSERT_TRUE(waitFor([&] { return screen->failAlert() != nullptr; }));
    EXPECT_EQ(screen->failAlert()->message(), "Couldn't connect to that page.");
}

TEST_F(WebViewControllerTest, EveryFinishedPageIsRecordedWithItsTitle) {
    auto screen = WebViewController::create();
    screen->setAnalytics(std::make_shared<pennant::AnalyticsData>(
        "kessa-url", [] { return std::string("a1b2c3d4e5f6a7b"); }, "ads.pennant.test"));
    screen->load(url(page("kessa.html")));
    present(*screen);
    ASSERT_TRUE(waitFor([&] { return screen->loaded(); }));
    screen->webView()->stringByEvaluatingJavaScriptFromString("location.href = '" +
                                                              page("garden.html") + "'");
    ASSERT_TRUE(waitFor([&] { return requestsTo("/ad_source.php").size() >= 2; }));
    const auto visits = requestsTo("/ad_source.php");
    const auto first = pennant::URLDownload::dictionaryFromQueryString(visits[0].body);
    const auto second = pennant::URLDownload::dictionaryFromQueryString(visits[1].body);
    EXPECT_EQ(first.get("p").stringValue(), page("kessa.html"));
    EXPECT_EQ(first.get("title").stringValue(), "Kessa Pro");
    EXPECT_EQ(second.get("p").stringValue(), page("garden.html"));
    EXPECT_EQ(second.get("title").stringValue(), "Green Thumb");
}

TEST_F(WebViewControllerTest, APrefetchedPageShowsAtOnceAndReloadsOnlyForAnotherShape) {
    auto prefetch = [&] {
        auto opener = pennant::Opener::create(
            foundation::Dictionary{{"a", "screen"}, {"u", page("kessa.html")}, {"pf", "1"}},
            delegate);
        opener->setOpenAnimation(pennant::ModalViewController::kFade, banner);
        auto screen = std::dynamic_pointer_cast<WebViewController>(opener->webViewController());
        EXPECT_TRUE(screen && waitFor([&] { return screen->loaded(); }));
        return std::make_pair(opener, screen);
    };
    const auto pageLoads = [&] { return requestsTo("/static/phone/landing/kessa.html").size(); };

    auto [opener, screen] = prefetch();
    ASSERT_EQ(pageLoads(), 1u);
    opener->open();
    advance(1);
    EXPECT_TRUE(screen->isKeyWindow());
    EXPECT_EQ(pageLoads(), 1u);
    screen->relinquishScreen();
    advance(2);

    // Laid out in another shape than it loaded for, the page loads again and comes in after.
    auto [turnedOpener, turned] = prefetch();
    turned->loadViewWithBounds({0, 0, 480, 320});
    EXPECT_EQ(turned->webView()->alpha(), 0);
    turnedOpener->open();
    EXPECT_FALSE(turned->isKeyWindow());
    ASSERT_TRUE(waitFor([&] { return turned->webView()->alpha() == 1; }));
    advance(1);
    EXPECT_TRUE(turned->isKeyWindow());
    EXPECT_EQ(pageLoads(), 3u);
}
