#include "ads/request/Opener.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
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
    EXPECT_EQ(opener->analyticsID(), "st-1");
    EXPECT_EQ(opener->analyticsHost(), "http://ads.pennant.test");
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
    EXPECT_FALSE(opener->analyticsID());
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
        return line == "<Pennant> Click action 11 (the video player) is not available yet.";
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
