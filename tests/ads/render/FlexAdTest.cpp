#include "ads/render/FlexAd.h"
#include "ads/render/FlexAdContainerView.h"
#include "ads/request/FlexAdDelegate.h"
#include "ads/request/URLDownload.h"
#include "tests/support/CatalogAds.h"
#include "json/JSONDeserializer.h"

#include <gtest/gtest.h>

#include <algorithm>

using foundation::RunLoop;
using graphics::Rect;
using pennant::FlexAd;

namespace {

struct Outcome : pennant::FlexAdDelegate {
    void flexAdDidFailLoadWithError(const std::shared_ptr<FlexAd>&,
                                    const foundation::Error& failure) override {
        errors.push_back(failure);
    }
    void flexAdDidLoad(const std::shared_ptr<FlexAd>&) override { ++loads; }
    int reports() const { return loads + int(errors.size()); }

    int loads = 0;
    std::vector<foundation::Error> errors;
};

constexpr const char* kTile = "http://static.pennant.test/static/phone/ads/kessa-tile.png";

class FlexAdTest : public testing_support::CatalogAds {
protected:
    std::shared_ptr<FlexAd> make(const std::string& markup) {
        const auto parsed = json::JSONDeserializer().deserializeAsDictionary(markup);
        EXPECT_TRUE(parsed.ok()) << markup;
        return FlexAd::create(parsed.value(), outcome, host, Rect(0, 0, 320, 48));
    }
    std::size_t requestsFor(const std::string& path) {
        return std::ranges::count_if(server.requests(),
                                     [&](const auto& entry) { return entry.path == path; });
    }

    std::shared_ptr<Outcome> outcome = std::make_shared<Outcome>();
};

} // namespace

TEST_F(FlexAdTest, WithoutAssetsItLoadsBeforeCreationReturns) {
    for (const char* markup : {R"({})", R"({"$": {}})", R"({"$": {"logo": "not an entry"}})"}) {
        *outcome = Outcome();
        const auto flexAd = make(markup);
        EXPECT_EQ(outcome->loads, 1) << markup;
        EXPECT_TRUE(flexAd->containerView()) << markup;
    }
}

TEST_F(FlexAdTest, AnAssetTableThatIsNotADictionaryFailsAtOnce) {
    make(R"({"$": [1, 2], "v": [{"t": "P", "f": [0, 0, 10, 10]}]})");
    ASSERT_EQ(outcome->errors.size(), 1u);
    EXPECT_EQ(outcome->errors[0].domain, FlexAd::kErrorDomain);
    EXPECT_EQ(outcome->errors[0].code, -1);
    EXPECT_EQ(outcome->loads, 0);
}

TEST_F(FlexAdTest, OneFailedAssetFailsTheAdOnceWithItsOwnError) {
    server.addFault(R"({"path": "/static/phone/ads/missing.png", "status": 404})");
    const auto flexAd =
        make(std::string(R"({"$": {"a": {"u": ")") + kTile +
             R"("}, "b": {"u": "http://static.pennant.test/static/phone/ads/missing.png"}}})");
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return outcome->reports() > 0; }, kBound));
    RunLoop::main().runUntil([] { return false; }, foundation::Seconds(0.3));
    ASSERT_EQ(outcome->errors.size(), 1u);
    EXPECT_EQ(outcome->errors[0].domain, pennant::URLDownload::kErrorDomain);
    EXPECT_EQ(outcome->loads, 0);
}

TEST_F(FlexAdTest, AssetsSharingAURLAreDownloadedOnce) {
    const auto flexAd = make(std::string(R"({"$": {"a": {"u": ")") + kTile + R"("}, "b": {"u": ")" +
                             kTile + R"("}}, "ta": [0, 0, 320, 43], "itid": 1.5, "ucat": "no"})");
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return outcome->reports() > 0; }, kBound));
    EXPECT_EQ(outcome->loads, 1);
    EXPECT_EQ(requestsFor("/static/phone/ads/kessa-tile.png"), 1u);
    const auto& container = *flexAd->containerView();
    EXPECT_EQ(container.touchableArea(), Rect(0, 0, 320, 48)); // 43 high: too small to aim at
    EXPECT_FLOAT_EQ(container.initialTouchIgnoreDuration(), 1.5);
    EXPECT_FALSE(container.useCATransaction());
}

TEST_F(FlexAdTest, HostileDescriptionsLoadWhatIsSoundOrFailCleanly) {
    std::string deep = R"({"t": "P", "f": [0, 0, 1, 1]})";
    for (int i = 0; i < 40; ++i)
        deep = R"({"t": "p", "f": [0, 0, 320, 48], "p": [{"v": [)" + deep + "]}]}";
    std::string many = R"({"v": [)";
    for (int i = 0; i < 1000; ++i)
        many += std::string(i ? "," : "") + R"({"t": "P", "f": [0, 0, 1e400, -1e400], "a": 7})";
    many += "]}";
    for (const std::string& markup :
         {std::string(R"({"v": [)") + deep + "]}", many,
          std::string(R"({"v": "x", "ta": "big", "itid": [], "$": null})"),
          std::string(R"({"v": [1, null, [], {"t": 5}, {"t": "l", "x": 3, "fs": "huge"}]})")}) {
        *outcome = Outcome();
        const auto flexAd = make(markup);
        EXPECT_EQ(outcome->reports(), 1) << markup.substr(0, 80);
        EXPECT_LE(flexAd->containerView()->subviews().size(), FlexAd::kMaxElements);
    }
}
