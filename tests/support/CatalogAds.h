#pragma once

#include "ads/request/Ad.h"
#include "ads/request/AdDelegate.h"
#include "ads/request/Delegate.h"
#include "platform/foundation/RunLoop.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/SandboxHome.h"

#include <memory>
#include <optional>
#include <string>

namespace testing_support {

// A host that asks the ad server for the catalogue's test ad of one action (or identifier) and
// counts what it is told about its banner.
struct CatalogHost : pennant::Delegate {
    std::string publisherId() override { return "a1b2c3d4e5f6a7b"; }
    std::optional<bool> useTestAd() override { return true; }
    std::optional<std::string> testAdAction() override { return action; }
    std::optional<graphics::Color> adBackgroundColor() override { return background; }
    std::optional<graphics::Color> primaryTextColor() override { return text; }
    std::optional<bool> useGraySpinner() override { return graySpinner; }
    void didReceiveAd(pennant::View&) override { ++received; }
    void didFailToReceiveAd(pennant::View&) override { ++failedToReceive; }

    std::string action = "url";
    int received = 0, failedToReceive = 0;
    std::optional<graphics::Color> background, text;
    std::optional<bool> graySpinner;
};

// Holds ads the way a banner's controller does and counts what it hears.
struct CatalogAdOwner : pennant::AdDelegate {
    graphics::Size adSize() override { return {320, 48}; }
    void adDidLoad(pennant::Ad&) override { ++loads; }
    void adDidFailToLoad(pennant::Ad&) override { ++failures; }
    void clickDidSucceed(pennant::Ad&, const std::optional<foundation::Dictionary>&) override {
        ++clickSuccesses;
    }
    void clickDidFail(pennant::Ad&) override { ++clickFailures; }

    int loads = 0, failures = 0, clickSuccesses = 0, clickFailures = 0;
};

// A sandbox home, the ad server on loopback and ads loaded from its catalogue.
class CatalogAds : public SandboxHome {
protected:
    static constexpr foundation::Seconds kBound{20};

    // The catalogue's ad for the action, loaded (or failed) before it is returned.
    std::shared_ptr<pennant::Ad> load(const std::string& action) {
        host->action = action;
        auto ad = pennant::Ad::create(pennant::Ad::kBanner);
        ad->setDelegate(host);
        ad->setAdDelegate(owner);
        const int before = owner->loads + owner->failures;
        ad->request();
        EXPECT_TRUE(foundation::RunLoop::main().runUntil(
            [&] { return owner->loads + owner->failures > before; }, kBound));
        return ad;
    }

    LoopbackServer server;
    std::shared_ptr<CatalogHost> host = std::make_shared<CatalogHost>();
    std::shared_ptr<CatalogAdOwner> owner = std::make_shared<CatalogAdOwner>();
};

} // namespace testing_support
