#include "ads/request/Opener.h"
#include "ads/request/ActionScreens.h"
#include "ads/request/AnalyticsData.h"
#include "ads/request/Endpoints.h"
#include "platform/foundation/DeviceProfile.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/net/HostMap.h"
#include "platform/ui/Application.h"
#include "tests/support/FreshPlatformContext.h"
#include "tests/support/LoopbackServer.h"
#include "json/JSONDeserializer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using foundation::Data;
using foundation::RunLoop;
using foundation::Seconds;
using foundation::URL;
using foundation::Value;
using pennant::Opener;
using testing_support::LoopbackServer;

namespace {

constexpr Seconds kBound{20};

Value parse(std::string_view json) {
    auto parsed = json::JSONDeserializer().deserializeAsDictionary(json);
    EXPECT_TRUE(parsed.ok()) << json;
    return parsed.ok() ? parsed.value() : Value();
}

std::shared_ptr<Opener> openerFrom(std::string_view json) {
    return Opener::create(parse(json), {});
}

class OpenerPingTest : public ::testing::Test {
protected:
    bool waitForPings(std::size_t count) {
        return RunLoop::main().runUntil(
            [&] { return Opener::activeDownloadCount() == 0 && requests().size() >= count; },
            kBound);
    }
    std::vector<adserver::Journal::Entry> requests() { return server.requests(); }

    LoopbackServer server;
    std::vector<std::string> lines;
    foundation::Subscription sink =
        foundation::Log::addSink([this](const std::string& line) { lines.push_back(line); });
};

// What the application hands to the system, with the opener downloads still in flight then.
class OpenerLaunchTest : public OpenerPingTest {
protected:
    OpenerLaunchTest() {
        net::HostMap::shared().map(std::string(pennant::Endpoints::kAffiliateLinkHost), "127.0.0.1",
                                   server.port());
        ui::Application::shared().setOpenURLHandler([this](const URL& url) {
            opened.push_back(url.absoluteString());
            inFlightWhenOpened.push_back(Opener::activeDownloadCount());
            return true;
        });
    }
    bool waitForOpen() {
        return RunLoop::main().runUntil([&] { return !opened.empty(); }, kBound);
    }

    std::vector<std::string> opened;
    std::vector<int> inFlightWhenOpened;
};

URL url(std::string_view text) { return URL::create(text).value(); }

} // namespace

TEST(OpenerTest, ReadsEveryOpenParameter) {
    const auto opener = openerFrom(R"({"a": "call", "u": "tel:5550100",
        "au": "http://ads.pennant.test/pixel/cpm/x", "tu": "http://ads.pennant.test/pixel/track/x",
        "stats": {"id": "st-1", "url": "http://ads.pennant.test"}, "or": "l", "p": "1",
        "acquisition_url": "http://ads.pennant.test/pixel/track/ok",
        "contact": {"organization": "Corner Bakery"}, "t": 0, "title": "Pronto"})");
    ASSERT_TRUE(opener);
    EXPECT_EQ(opener->action(), Opener::kCall);
    EXPECT_EQ(opener->url()->absoluteString(), "tel:5550100");
    EXPECT_EQ(opener->accountingURL(), "http://ads.pennant.test/pixel/cpm/x");
    EXPECT_EQ(opener->thirdPartyTrackingURL(), "http://ads.pennant.test/pixel/track/x");
    EXPECT_EQ(opener->analytics()->analyticsSiteID(), "st-1");
    EXPECT_EQ(opener->analytics()->httpHostName(), "http://ads.pennant.test");
    EXPECT_EQ(opener->allowedOrientations(), Opener::kLandscapeOnly);
    EXPECT_TRUE(opener->prompt());
    EXPECT_EQ(opener->acquisitionURL(), "http://ads.pennant.test/pixel/track/ok");
    EXPECT_EQ(opener->contactInfo()->get("organization"), Value("Corner Bakery"));
    EXPECT_TRUE(opener->transparentBackground());
    EXPECT_EQ(opener->title(), "Pronto");
    EXPECT_EQ(opener->movieControls(), 2);
    EXPECT_EQ(opener->movieScalingMode(), 1);
}

TEST(OpenerTest, WrongTypesTakeTheDefaults) {
    const auto opener = openerFrom(R"({"a": "url", "u": "http://static.pennant.test/x.html",
        "au": 5, "tu": [], "stats": "st", "or": 1, "p": 1, "acquisition_url": {},
        "contact": "Bakery", "title": 7})");
    ASSERT_TRUE(opener);
    EXPECT_FALSE(opener->accountingURL());
    EXPECT_FALSE(opener->thirdPartyTrackingURL());
    EXPECT_FALSE(opener->analytics());
    EXPECT_EQ(opener->allowedOrientations(), Opener::kAnyOrientation);
    EXPECT_FALSE(opener->prompt());
    EXPECT_FALSE(opener->acquisitionURL());
    EXPECT_FALSE(opener->contactInfo());
    EXPECT_FALSE(opener->transparentBackground());
    EXPECT_FALSE(opener->title());

    EXPECT_FALSE(openerFrom(R"({"a": "url", "u": 3})"));
    EXPECT_FALSE(openerFrom(R"({"a": 1, "u": "http://static.pennant.test/"})"));
    // A destination that is no URL still makes an opener, with no URL to go to.
    const auto badURL = openerFrom(R"({"a": "url", "u": "not a url"})");
    ASSERT_TRUE(badURL);
    EXPECT_FALSE(badURL->url());
}

TEST(OpenerTest, ActionNamesAreExactAndADestinationIsRequired) {
    const std::vector<std::pair<std::string, int>> table = {
        {"url", 1},    {"screen", 2}, {"canvas", 3}, {"call", 4},   {"contact", 5},
        {"app", 6},    {"itunes", 7}, {"map", 9},    {"video", 10}, {"movie", 11},
        {"audio", 12}, {"Call", 0},   {"url ", 0},   {"", 0}};
    for (const auto& [name, code] : table)
        EXPECT_EQ(Opener::actionFromString(name), code) << name;
    EXPECT_FALSE(openerFrom(R"({"a": "Call", "u": "tel:5550100"})"));
    EXPECT_FALSE(openerFrom(R"({"a": "call"})"));
    EXPECT_EQ(
        openerFrom(R"({"a": "map", "u": "http://x.test/", "or": "p"})")->allowedOrientations(),
        Opener::kPortraitOnly);
}

TEST(OpenerTest, CreatesFromJSONOnlyForAnObject) {
    const auto opener = Opener::createFromJSON(
        Data::fromString(R"({"a": "screen", "u": "http://static.pennant.test/"})"), {});
    ASSERT_TRUE(opener);
    EXPECT_EQ(opener->action(), Opener::kScreen);
    EXPECT_FALSE(Opener::createFromJSON(Data::fromString(R"([{"a": "screen"}])"), {}));
    EXPECT_FALSE(Opener::createFromJSON(Data::fromString("a: screen"), {}));
    EXPECT_FALSE(Opener::createFromJSON(Data(), {}));
}

TEST_F(OpenerPingTest, PingsReachTheServerAndEndWithoutAnOwner) {
    Opener::fireAccountingURL(LoopbackServer::adURL("/pixel/cpm/kessa-url"));
    Opener::fireAccountingURL(LoopbackServer::adURL("/click/kessa-url"),
                              Data::fromString(R"({"interactions":[]})"));
    Opener::fireAccountingURL(std::nullopt);
    EXPECT_EQ(Opener::activeDownloadCount(), 2);
    ASSERT_TRUE(waitForPings(2));
    auto entries = requests();
    ASSERT_EQ(entries.size(), 2u);
    std::ranges::sort(entries, {}, &adserver::Journal::Entry::method);
    EXPECT_EQ(entries[0].method, "GET");
    EXPECT_EQ(entries[0].path, "/pixel/cpm/kessa-url");
    EXPECT_EQ(entries[1].method, "POST");
    EXPECT_EQ(entries[1].path, "/click/kessa-url");
    EXPECT_EQ(entries[1].body, R"({"interactions":[]})");
}

TEST_F(OpenerPingTest, OpenSendsItsPingsOnceAndSaysTheActionIsNotAvailable) {
    auto opener = openerFrom(R"({"a": "movie", "u": "http://static.pennant.test/m.mp4",
        "au": "http://ads.pennant.test/pixel/cpm/x", "tu": "http://ads.pennant.test/pixel/track/x"})");
    ASSERT_TRUE(opener);
    opener->setAccountingURLPostBody(Data::fromString("{}"));
    opener->open();
    opener->open();
    ASSERT_TRUE(waitForPings(2));
    RunLoop::main().runFor(Seconds(0.2));
    const auto entries = requests();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_FALSE(opener->accountingURL());
    EXPECT_FALSE(opener->accountingURLPostBody());
    const auto notAvailable = std::ranges::count_if(lines, [](const std::string& line) {
        return line == "<Pennant> Click action 11 (the video player) is not available.";
    });
    EXPECT_EQ(notAvailable, 2);
}

TEST_F(OpenerPingTest, APingStillInFlightWhenTheProcessEndsIsReleasedAndCancelled) {
    server.addFault(R"({"path": "/pixel/*", "delay": 1})");
    Opener::fireAccountingURL(LoopbackServer::adURL("/pixel/cpm/kessa-url"));
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return !requests().empty(); }, kBound));
    EXPECT_EQ(Opener::activeDownloadCount(), 1);
    testing_support::FreshPlatformContext::relaunch();
    EXPECT_EQ(Opener::activeDownloadCount(), 0);
}

TEST(OpenerTest, StoreLinksAreKnownHostsOrTheStoreScheme) {
    const auto store = url("https://www.store.phone.test/app/42");
    EXPECT_TRUE(Opener::isITunesURL(store));
    EXPECT_FALSE(Opener::iTunesURLMightHaveRedirects(store));
    const auto affiliate = url("http://click.affiliate.test/r?id=42");
    EXPECT_TRUE(Opener::isITunesURL(affiliate));
    EXPECT_TRUE(Opener::iTunesURLMightHaveRedirects(affiliate));
    // The scheme is compared as the platform spells it, in lower case; host names as written.
    EXPECT_TRUE(Opener::isITunesURL(url("itms://anywhere.test/app/42")));
    EXPECT_TRUE(Opener::isITunesURL(url("ITMS://anywhere.test/app/42")));
    EXPECT_FALSE(Opener::isITunesURL(url("http://APPS.phone.test/app/42")));
    EXPECT_TRUE(Opener::iTunesURLMightHaveRedirects(url("http://APPS.phone.test/app/42")));
    EXPECT_FALSE(Opener::isITunesURL(url("http://ads.pennant.test/app/42")));
    EXPECT_FALSE(Opener::isITunesURL(url("mailto:sales@apps.phone.test")));
}

TEST(OpenerTest, StoreLinksAreRewrittenToHttpOnTheFirstStoreHost) {
    EXPECT_EQ(Opener::cleanITunesURL(url("https://buy.phone.test:8443/app/42?mt=8&ref=k"))
                  .absoluteString(),
              "http://apps.phone.test/app/42?mt=8&ref=k");
    // No query, no "?" and nothing after it.
    EXPECT_EQ(Opener::cleanITunesURL(url("itms://store.phone.test/app/42")).absoluteString(),
              "http://apps.phone.test/app/42");
    EXPECT_EQ(Opener::cleanITunesURL(url("http://click.affiliate.test")).absoluteString(),
              "http://apps.phone.test");
}

TEST_F(OpenerLaunchTest, AStoreLinkOnAStoreHostOpensRewrittenAtOnce) {
    const auto opener =
        openerFrom(R"({"a": "itunes", "u": "https://store.phone.test/app/42?mt=8"})");
    ASSERT_TRUE(opener);
    opener->open();
    EXPECT_EQ(opened, std::vector<std::string>{"http://apps.phone.test/app/42?mt=8"});
    EXPECT_TRUE(requests().empty());
}

TEST_F(OpenerLaunchTest, AnAffiliateLinkOpensWhereItsRedirectsEnd) {
    server.addFault(R"({"path": "/aff/*", "redirects": 3, "to": "/app/42"})");
    const auto opener = openerFrom(R"({"a": "app", "u": "http://click.affiliate.test/aff/k1",
        "au": "http://ads.pennant.test/pixel/cpm/x"})");
    ASSERT_TRUE(opener);
    opener->open();
    EXPECT_TRUE(opened.empty());
    ASSERT_TRUE(waitForOpen());
    EXPECT_EQ(opened, std::vector<std::string>{"http://apps.phone.test/app/42"});
    EXPECT_EQ(inFlightWhenOpened, std::vector<int>{0});
    const auto entries = requests();
    EXPECT_TRUE(std::ranges::any_of(
        entries, [](const auto& entry) { return entry.path == "/pixel/cpm/x"; }));
    const auto hops = std::ranges::count_if(
        entries, [](const auto& entry) { return entry.path.starts_with("/__hop/"); });
    EXPECT_EQ(hops, 2);
    EXPECT_TRUE(
        std::ranges::any_of(entries, [](const auto& entry) { return entry.path == "/app/42"; }));
}

TEST_F(OpenerLaunchTest, AnUnresolvableStoreLinkFallsBackToItselfRewritten) {
    // The download cannot fetch the store's own scheme, so the link never leaves its start.
    Opener::launchNewApplication(url("itms://anywhere.test/app/42?mt=8"), {});
    EXPECT_EQ(Opener::activeDownloadCount(), 1);
    ASSERT_TRUE(waitForOpen());
    EXPECT_EQ(opened, std::vector<std::string>{"http://apps.phone.test/app/42?mt=8"});
}

TEST_F(OpenerLaunchTest, LeavesOnlyWhenEveryPingHasEnded) {
    server.addFault(R"({"path": "/pixel/cpm/*", "delay": 0.3})");
    server.addFault(R"({"path": "/pixel/track/*", "delay": 0.8})");
    const auto opener = openerFrom(R"({"a": "map", "u": "http://maps.phone.test/?q=bakery",
        "au": "http://ads.pennant.test/pixel/cpm/x", "tu": "http://ads.pennant.test/pixel/track/x"})");
    ASSERT_TRUE(opener);
    opener->open();
    ASSERT_TRUE(
        RunLoop::main().runUntil([] { return Opener::activeDownloadCount() == 1; }, kBound));
    EXPECT_TRUE(opened.empty());
    ASSERT_TRUE(waitForOpen());
    EXPECT_EQ(opened, std::vector<std::string>{"http://maps.phone.test/?q=bakery"});
    EXPECT_EQ(inFlightWhenOpened, std::vector<int>{0});
}

TEST_F(OpenerLaunchTest, OtherLinksLeaveDirectlyAndTheLastOneWaitingWins) {
    Opener::launchNewApplication(url("mailto:sales@bakery.test"), {});
    EXPECT_EQ(opened, std::vector<std::string>{"mailto:sales@bakery.test"});

    server.addFault(R"({"path": "/pixel/*", "delay": 0.3})");
    Opener::fireAccountingURL(LoopbackServer::adURL("/pixel/cpm/x"));
    openerFrom(R"({"a": "video", "u": "http://video.phone.test/v/1"})")->open();
    openerFrom(R"({"a": "audio", "u": "http://audio.phone.test/a/1"})")->open();
    ASSERT_TRUE(waitForPings(1));
    EXPECT_EQ(opened, (std::vector<std::string>{"mailto:sales@bakery.test",
                                                "http://audio.phone.test/a/1"}));
}

namespace {

// The hand-overs to the screens and prompts, written down instead of shown.
struct HandOffs : pennant::ActionScreens {
    void displayBrowser(Opener& opener) override { record("browser", opener); }
    std::shared_ptr<ui::ViewController> createFullScreenBrowser(Opener&) override {
        return nullptr;
    }
    void displayFullScreenBrowser(Opener&, const std::shared_ptr<ui::ViewController>&) override {}
    void displayCanvas(Opener& opener) override { record("canvas", opener); }
    void call(Opener& opener) override { record(opener.prompt() ? "ask" : "call", opener); }
    void addToContacts(Opener& opener) override { record(opener.prompt() ? "ask" : "add", opener); }
    void displayVideoPlayer(Opener& opener) override { record("movie", opener); }
    void record(const std::string& what, const Opener& opener) {
        handed.push_back(what + " " + (opener.url() ? opener.url()->absoluteString() : ""));
    }
    std::vector<std::string> handed;
};

} // namespace

TEST(OpenerTest, ACallWithoutItsOwnSayAsksOnEverySystemButThreeNought) {
    auto screens = std::make_shared<HandOffs>();
    pennant::ActionScreens::install(screens);
    const auto callOn = [&](const std::string& version, std::string_view json) {
        foundation::DeviceProfile::current().systemVersion = version;
        openerFrom(json)->open();
        return screens->handed.back();
    };
    const auto noSay = R"({"a": "call", "u": "tel:5550100"})";
    EXPECT_EQ(callOn("3.0", noSay), "call tel:5550100");
    EXPECT_EQ(callOn("3.0.1", noSay), "call tel:5550100");
    EXPECT_EQ(callOn("3.1.2", noSay), "ask tel:5550100");
    EXPECT_EQ(callOn("2.2", noSay), "ask tel:5550100");
    // A version without a minor number is not taken for 3.0: asking is the safe side.
    EXPECT_EQ(callOn("3", noSay), "ask tel:5550100");
    // The ad's own say wins on every system; a page's bridge always asks.
    EXPECT_EQ(callOn("3.1.2", R"({"a": "call", "u": "tel:5550100", "p": "0"})"),
              "call tel:5550100");
    EXPECT_EQ(callOn("3.0", R"({"a": "call", "u": "tel:5550100", "p": "1"})"), "ask tel:5550100");
    auto fromPage = openerFrom(R"({"a": "contact", "u": "x:", "p": "0"})");
    fromPage->requirePrompt();
    fromPage->open();
    EXPECT_EQ(screens->handed.back(), "ask x:");
    pennant::ActionScreens::install(nullptr);
}
