#include "ads/request/AnalyticsData.h"
#include "ads/request/AnalyticsDataDelegate.h"
#include "ads/request/URLDownload.h"
#include "platform/foundation/DeviceProfile.h"
#include "platform/foundation/Dictionary.h"
#include "platform/foundation/RunLoop.h"
#include "tests/support/LoopbackServer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using foundation::Dictionary;
using foundation::RunLoop;
using foundation::Seconds;
using pennant::AnalyticsData;
using testing_support::LoopbackServer;

namespace {

constexpr Seconds kBound{20};

class RecordingDelegate : public pennant::AnalyticsDataDelegate {
public:
    void analyticsProcesssedVisit(const std::string& visitName) override {
        visits.push_back(visitName);
        if (onVisit)
            onVisit();
    }
    std::vector<std::string> visits;
    std::function<void()> onVisit;
};

class AnalyticsDataTest : public ::testing::Test {
protected:
    AnalyticsDataTest() {
        RunLoop::main().setClock(std::make_shared<foundation::VirtualClock>(1'300'000'000.25));
        foundation::DeviceProfile::current().uniqueIdentifier = "device-1";
        delegate = std::make_shared<RecordingDelegate>();
    }

    std::unique_ptr<AnalyticsData> make(std::optional<std::string> siteID,
                                        std::optional<std::string> host = "kessa.test:8080") {
        auto analytics = std::make_unique<AnalyticsData>(
            std::move(siteID), [] { return std::string("pub-7"); }, std::move(host));
        analytics->setDelegate(delegate);
        return analytics;
    }
    bool waitForVisits(std::size_t count) {
        return RunLoop::main().runUntil([&] { return delegate->visits.size() >= count; }, kBound);
    }
    std::string lastBody() {
        const auto entries = server.requests();
        return entries.empty() ? "<none>" : entries.back().body;
    }

    LoopbackServer server;
    std::shared_ptr<RecordingDelegate> delegate;
};

} // namespace

TEST_F(AnalyticsDataTest, VisitIsOneFormPostToTheAdRequestEndpoint) {
    auto analytics = make("site42");
    analytics->recordVisit("Landing Page");
    ASSERT_TRUE(waitForVisits(1));
    const auto entry = server.requests().back();
    EXPECT_EQ(entry.method, "POST");
    EXPECT_EQ(entry.path, "/ad_source.php");
    EXPECT_EQ(entry.body,
              "rt=1&ex=1&a=site42&p=Landing%20Page&o=device-1"
              "&v=20091119-iSDK-5096df531ccfaf53&z=1300000000.250000"
              "&h%5BHTTP_HOST%5D=kessa.test%3A8080&h%5BHTTP_REFERER%5D=http%3A%2F%2Fpub-7");

    analytics->recordVisit("Landing Page", Dictionary{{"k", "a b"}, {"n&m", "1"}});
    ASSERT_TRUE(waitForVisits(2));
    EXPECT_TRUE(lastBody().ends_with("http%3A%2F%2Fpub-7&k=a%20b&n%26m=1")) << lastBody();
    EXPECT_EQ(delegate->visits, (std::vector<std::string>{"Landing Page", "Landing Page"}));
}

TEST_F(AnalyticsDataTest, SiteIdFromTheNetworkCannotAddFields) {
    auto analytics = make("s1&rt=2&a=evil");
    analytics->recordVisit("Video");
    ASSERT_TRUE(waitForVisits(1));
    const auto fields = pennant::URLDownload::dictionaryFromQueryString(lastBody());
    EXPECT_EQ(fields.get("a").stringValue(), "s1&rt=2&a=evil");
    EXPECT_EQ(fields.get("rt").stringValue(), "1");
}

TEST_F(AnalyticsDataTest, NothingIsSentWithoutSiteIdHostOrVisitName) {
    auto noHost = make("site42", std::nullopt);
    auto noSite = make(std::nullopt);
    auto complete = make("site42");
    noHost->recordVisit("Landing Page");
    noSite->recordVisit("Landing Page");
    complete->recordVisit(std::nullopt);
    RunLoop::main().runFor(Seconds(1));
    EXPECT_TRUE(server.requests().empty());
    EXPECT_TRUE(delegate->visits.empty());
    // An incomplete object keeps neither value.
    EXPECT_EQ(noHost->analyticsSiteID(), std::nullopt);
}

TEST_F(AnalyticsDataTest, FailedPostsAreReportedLikeSuccess) {
    server.addFault(R"({"path": "/ad_source.php", "method": "POST", "status": 500})");
    server.addFault(R"({"path": "/ad_source.php", "method": "POST", "close": true})");
    auto analytics = make("site42");
    analytics->recordVisit("First");
    analytics->recordVisit("Second");
    ASSERT_TRUE(waitForVisits(2));
    RunLoop::main().runFor(Seconds(1));
    std::ranges::sort(delegate->visits);
    EXPECT_EQ(delegate->visits, (std::vector<std::string>{"First", "Second"}));
}

TEST_F(AnalyticsDataTest, RecordsInFlightEndWithTheObject) {
    auto analytics = make("site42");
    analytics->recordVisit("Dropped before sending");
    analytics.reset();
    RunLoop::main().runFor(Seconds(1));
    EXPECT_TRUE(server.requests().empty());

    // The delegate may drop the object while it is told; the other record is then cancelled.
    analytics = make("site42");
    delegate->onVisit = [&] { analytics.reset(); };
    analytics->recordVisit("One");
    analytics->recordVisit("Two");
    ASSERT_TRUE(waitForVisits(1));
    RunLoop::main().runFor(Seconds(1));
    EXPECT_EQ(delegate->visits.size(), 1u);
}
