#include "ads/request/URLDownload.h"
#include "platform/foundation/DeviceProfile.h"
#include "platform/foundation/Dictionary.h"
#include "platform/foundation/RunLoop.h"
#include "tests/support/LoopbackServer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using foundation::Dictionary;
using foundation::RunLoop;
using foundation::Seconds;
using foundation::Value;
using pennant::URLDownload;
using testing_support::LoopbackServer;

namespace {

constexpr Seconds kBound{20};

class URLDownloadTest : public ::testing::Test {
protected:
    // A download whose callbacks only count; the test keeps the download.
    std::shared_ptr<URLDownload> start(const std::string& url,
                                       std::optional<foundation::Data> body = std::nullopt) {
        auto download = URLDownload::create();
        download->setSuccessCallback([this](URLDownload&) { ++successes; });
        download->setFailureCallback([this](URLDownload&) { ++failures; });
        download->loadContentsOfURLAtString(url, std::move(body));
        return download;
    }
    bool waitForOutcome() {
        return RunLoop::main().runUntil([this] { return successes + failures > 0; }, kBound);
    }
    std::string header(const adserver::Journal::Entry& entry, const std::string& name) {
        for (const auto& [key, value] : entry.headers)
            if (key == name)
                return value;
        return "<absent>";
    }

    LoopbackServer server;
    int successes = 0;
    int failures = 0;
};

} // namespace

TEST_F(URLDownloadTest, GetSendsTheClientHeadersAndKeepsTheBody) {
    auto download = start(" \t" + LoopbackServer::adURL("/static/phone/browser/back.png") + "\n");
    ASSERT_TRUE(waitForOutcome());
    EXPECT_EQ(successes, 1);
    EXPECT_EQ(download->targetURL(), LoopbackServer::adURL("/static/phone/browser/back.png"));
    EXPECT_EQ(download->statusCode(), 200);
    EXPECT_TRUE(download->data().view().starts_with("\x89PNG"));
    const auto entry = server.requests().back();
    EXPECT_EQ(entry.method, "GET");
    EXPECT_EQ(header(entry, "USER-AGENT"), URLDownload::userAgent());
    EXPECT_EQ(header(entry, "X-PENNANT-ISU"),
              foundation::DeviceProfile::current().uniqueIdentifier);
}

TEST_F(URLDownloadTest, BodyMakesAPostAndNoIdentifierMeansNoDeviceHeader) {
    auto& profile = foundation::DeviceProfile::current();
    const std::string identifier = profile.uniqueIdentifier;
    profile.uniqueIdentifier.clear();
    auto download = start(LoopbackServer::adURL("/click/pizza-call"),
                          foundation::Data::fromString(R"({"interactions":[]})"));
    ASSERT_TRUE(waitForOutcome());
    profile.uniqueIdentifier = identifier;
    EXPECT_EQ(successes, 1);
    EXPECT_NE(download->data().view().find("tel:5550100"), std::string_view::npos);
    const auto entry = server.requests().back();
    EXPECT_EQ(entry.method, "POST");
    EXPECT_EQ(entry.body, R"({"interactions":[]})");
    EXPECT_EQ(header(entry, "X-PENNANT-ISU"), "<absent>");
}

TEST_F(URLDownloadTest, ErrorStatusFailsWithCodeMinusThreeAndNoSuccess) {
    auto download = start(LoopbackServer::adURL("/no/such/path"));
    ASSERT_TRUE(waitForOutcome());
    RunLoop::main().runFor(Seconds(0.1));
    EXPECT_EQ(successes, 0);
    EXPECT_EQ(failures, 1);
    EXPECT_EQ(download->error(), (foundation::Error{"kPennantURLDownloadErrorDomain", -3, ""}));
}

TEST_F(URLDownloadTest, NetworkFailuresAreCodeMinusFour) {
    server.addFault(R"({"path": "/slow", "delay": 5})");
    server.addFault(R"({"path": "/spin", "loop": true})");
    server.addFault(R"({"path": "/huge", "oversize": true})");
    auto slow = URLDownload::create();
    slow->setTimeoutInterval(Seconds(0.3));
    slow->setFailureCallback([this](URLDownload&) { ++failures; });
    slow->loadContentsOfURLAtString(LoopbackServer::adURL("/slow"));
    const std::vector downloads = {slow, start(LoopbackServer::adURL("/spin")),
                                   start(LoopbackServer::adURL("/huge")),
                                   start("http://127.0.0.1:1/")};
    ASSERT_TRUE(RunLoop::main().runUntil([this] { return failures == 4; }, kBound));
    for (const auto& download : downloads)
        EXPECT_EQ(download->error()->code, URLDownload::kConnectionFailed) << download->targetURL();
    EXPECT_EQ(successes, 0);
}

TEST_F(URLDownloadTest, RedirectsUpdateTheRedirectFreeURL) {
    server.addFault(R"({"path": "/old", "redirects": 2, "to": "/static/phone/canvas.html"})");
    auto download = start(LoopbackServer::adURL("/old?x=1"));
    EXPECT_EQ(download->redirectFreeURL()->absoluteString(), LoopbackServer::adURL("/old?x=1"));
    ASSERT_TRUE(waitForOutcome());
    EXPECT_EQ(successes, 1);
    EXPECT_EQ(download->redirectFreeURL()->absoluteString(),
              LoopbackServer::adURL("/static/phone/canvas.html"));
    EXPECT_EQ(download->targetURL(), LoopbackServer::adURL("/old?x=1"));
}

TEST_F(URLDownloadTest, UnusableURLsFailAfterLoadReturns) {
    auto invalid = start("not a url");
    auto unsupported = start("ftp://ads.pennant.test/file");
    EXPECT_EQ(failures, 0);
    ASSERT_TRUE(RunLoop::main().runUntil([this] { return failures == 2; }, kBound));
    EXPECT_EQ(invalid->error()->code, URLDownload::kInvalidURL);
    EXPECT_EQ(unsupported->error()->code, URLDownload::kConnectionNotCreated);
}

TEST_F(URLDownloadTest, CancelInsideSuccessAndDroppingTheLastReferenceAreSafe) {
    auto download = URLDownload::create();
    std::shared_ptr<URLDownload> owner = download;
    download->setUserInfo(foundation::Value("kept"));
    download->setSuccessCallback([&](URLDownload& finished) {
        ++successes;
        owner.reset();
        download.reset();
        // The download is still alive here, and stays quiet after cancelling itself.
        EXPECT_EQ(finished.userInfo(), foundation::Value("kept"));
        finished.cancel();
        EXPECT_TRUE(finished.data().empty());
    });
    download->setFailureCallback([&](URLDownload&) { ++failures; });
    download->loadContentsOfURLAtString(LoopbackServer::adURL("/ad_source.php"));
    ASSERT_TRUE(waitForOutcome());
    RunLoop::main().runFor(Seconds(0.1));
    EXPECT_EQ(successes, 1);
    EXPECT_EQ(failures, 0);
}

TEST_F(URLDownloadTest, CancelBeforeTheStartSendsNothing) {
    auto download = start(LoopbackServer::adURL("/ad_source.php?cancelled=1"));
    download->cancel();
    RunLoop::main().runFor(Seconds(0.2));
    EXPECT_EQ(successes + failures, 0);
    EXPECT_TRUE(server.requests().empty());
}

TEST(EncodeURL, EscapesEverythingButUnreservedCharacters) {
    EXPECT_EQ(URLDownload::encodeURL("a b&c"), "a%20b%26c");
    EXPECT_EQ(URLDownload::encodeURL("\xC3\xA9"), "%C3%A9");
    EXPECT_EQ(URLDownload::encodeURL("AZaz09-_.~"), "AZaz09-_.~");
    EXPECT_EQ(URLDownload::encodeURL("!*'();:@&=+$,/?%#[]"),
              "%21%2A%27%28%29%3B%3A%40%26%3D%2B%24%2C%2F%3F%25%23%5B%5D");
}

TEST(QueryString, PairsFollowTheDictionaryOrderWithEncodedKeysAndValues) {
    const Dictionary params{{"s", "abc"}, {"pub_data[sc]", "t,12.50"}, {"n", Value::integer(7)}};
    EXPECT_EQ(URLDownload::queryStringFromDictionary(params),
              "s=abc&pub_data%5Bsc%5D=t%2C12.50&n=7");
    EXPECT_EQ(URLDownload::queryStringFromDictionary(Dictionary{}), "");
}

TEST(QueryString, ParsingKeepsOnlyExactPairsAndLowerCasesKeys) {
    const auto parsed = URLDownload::dictionaryFromQueryString("A=1&b=2;c&d=x=y");
    EXPECT_EQ(parsed, (Dictionary{{"a", "1"}, {"b", "2"}}));
}

TEST(QueryString, ParsingDecodesAndLetsLaterKeysWin) {
    const auto parsed = URLDownload::dictionaryFromQueryString("q=a%20b&&;Q=%C3%A9;;=empty-key");
    EXPECT_EQ(parsed, (Dictionary{{"q", "\xC3\xA9"}, {"", "empty-key"}}));
    EXPECT_TRUE(URLDownload::dictionaryFromQueryString(std::nullopt).empty());
}

TEST(QueryString, PairsWithBrokenEscapesAreDropped) {
    const auto parsed = URLDownload::dictionaryFromQueryString("bad=%zz&worse%=1&lone=%FF&ok=1");
    EXPECT_EQ(parsed, (Dictionary{{"ok", "1"}}));
}

TEST(QueryString, RoundTripsThroughEncoding) {
    const Dictionary params{{"query", "pizza & beer"}, {"d[coord]", "37.3,-122.0"}};
    EXPECT_EQ(
        URLDownload::dictionaryFromQueryString(URLDownload::queryStringFromDictionary(params)),
        params);
}
