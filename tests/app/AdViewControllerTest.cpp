#include "app/AdViewController.h"
#include "ads/banner/Controller.h"
#include "ads/banner/View.h"
#include "ads/request/Ad.h"
#include "platform/foundation/Log.h"
#include "tests/support/KessaLaunch.h"

#include <gtest/gtest.h>

#include <algorithm>

using foundation::RunLoop;
using kessa::AdViewController;

namespace {

class AdViewControllerTest : public testing_support::KessaLaunch {
protected:
    void SetUp() override {
        KessaLaunch::SetUp();
        controller = object<AdViewController>("adViewController");
        ASSERT_TRUE(controller);
    }
    bool waitForLine(const std::string& line) {
        return RunLoop::main().runUntil([&] { return logged(line) > 0; }, kBound);
    }
    int rateLimited() const {
        return static_cast<int>(std::ranges::count_if(
            lines, [](const auto& line) { return line.starts_with("<Pennant> Ad requests"); }));
    }
    int logged(const std::string& line) const {
        return static_cast<int>(std::ranges::count(lines, line));
    }
    std::size_t adRequests() {
        return std::ranges::count_if(server.requests(), [](const auto& entry) {
            return entry.method == "GET" && entry.path == "/ad_source.php";
        });
    }

    std::shared_ptr<AdViewController> controller;
    std::vector<std::string> lines;
    foundation::Subscription sink =
        foundation::Log::addSink([this](const std::string& line) { lines.push_back(line); });
};

} // namespace

TEST_F(AdViewControllerTest, TheBannerAppearsWithTheFirstAdAndRefreshesEvery31Seconds) {
    const auto area = controller->view();
    EXPECT_TRUE(area->isHidden());
    EXPECT_FALSE(controller->isRefreshing());
    ASSERT_TRUE(controller->pennantAd());
    EXPECT_FALSE(controller->pennantAd()->superview());

    ASSERT_TRUE(waitForLine("Pennant: Did receive ad"));
    EXPECT_FALSE(area->isHidden());
    EXPECT_EQ(controller->pennantAd()->superview(), area);
    EXPECT_EQ(controller->pennantAd()->frame(), area->bounds());
    EXPECT_TRUE(controller->isRefreshing());

    // Each refresh asks for a new ad, 31 seconds apart; none is refused by the banner's
    // 30-second spacing; a flex banner among them does not stop them. (The catalogue's image
    // banner, which would stay for good, comes last in its rotation.)
    const double shownAt = RunLoop::main().now();
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return adRequests() == 4; }, kBound));
    EXPECT_NEAR(RunLoop::main().now() - shownAt, 3 * AdViewController::kRefreshSeconds, 1.0);
    EXPECT_EQ(logged("Pennant: Did receive ad"), 1);
    EXPECT_EQ(rateLimited(), 0);
}

TEST_F(AdViewControllerTest, TheHostsIdentityAndColoursGoWithTheRequest) {
    EXPECT_EQ(std::string(AdViewController::kPublisherId).size(), 15u);
    EXPECT_EQ(controller->adBackgroundColor(), graphics::Color(0.776f, 0.161f, 0.098f, 1));
    EXPECT_EQ(controller->primaryTextColor(), graphics::Color::whiteColor());
    EXPECT_EQ(controller->mayAskForLocation(), false);
    ASSERT_TRUE(waitForLine("Pennant: Did receive ad"));
    const auto requests = server.requests();
    const auto request = std::ranges::find_if(
        requests, [](const auto& entry) { return entry.path == "/ad_source.php"; });
    ASSERT_NE(request, requests.end());
    EXPECT_NE(request->query.find(std::string("s=") + AdViewController::kPublisherId),
              std::string::npos);
}

TEST_F(AdViewControllerTest, ASecondReportReaddsTheBannerWithOneTimer) {
    ASSERT_TRUE(waitForLine("Pennant: Did receive ad"));
    controller->didReceiveAd(*controller->pennantAd());
    EXPECT_EQ(std::ranges::count(controller->view()->subviews(), controller->pennantAd()), 1);
    // A second timer would ask twice every 31 seconds and be refused every other time.
    const double restartedAt = RunLoop::main().now();
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return adRequests() == 3; }, kBound));
    EXPECT_NEAR(RunLoop::main().now() - restartedAt, 2 * AdViewController::kRefreshSeconds, 1.0);
    EXPECT_EQ(rateLimited(), 0);
}

namespace {

class AdViewControllerWithoutAds : public AdViewControllerTest {
protected:
    void beforeLaunch() override {
        server.addFault(R"({"path": "/ad_source.php", "status": 500, "count": 5})");
    }
};

} // namespace

TEST_F(AdViewControllerWithoutAds, AFailedFirstAdHidesTheBannerForTheRun) {
    ASSERT_TRUE(waitForLine("Pennant: Did fail to receive ad"));
    EXPECT_FALSE(controller->pennantAd());
    EXPECT_TRUE(controller->view()->isHidden());
    EXPECT_FALSE(controller->isRefreshing());
    clock->advanceBy(10 * AdViewController::kRefreshSeconds);
    RunLoop::main().runUntil([] { return false; }, foundation::Seconds(0.3));
    EXPECT_EQ(adRequests(), 1u);
}
