#pragma once

#include "ads/request/Delegate.h"
#include "platform/foundation/Subscribers.h"
#include "platform/foundation/Timer.h"
#include "platform/ui/ViewController.h"

#include <memory>
#include <string>

namespace kessa {

// The shaker screen's banner: its view marks where the banner goes and stays hidden until the
// first ad arrives; from then on a fresh ad is asked for every 31 seconds.
class AdViewController : public ui::ViewController, public pennant::Delegate {
    UI_CREATABLE(AdViewController)
    static constexpr const char* kPublisherId = "c0ffee5a1e4b7d9";
    static constexpr double kRefreshSeconds = 31.0;

    std::string className() const override { return "AdViewController"; }
    void awakeFromNib() override;

    std::string publisherId() override { return kPublisherId; }
    std::optional<bool> mayAskForLocation() override { return false; }
    std::optional<graphics::Color> adBackgroundColor() override;
    std::optional<graphics::Color> primaryTextColor() override;
    std::optional<graphics::Color> secondaryTextColor() override;
    void didReceiveAd(pennant::View& banner) override;
    void didFailToReceiveAd(pennant::View& banner) override;

    void refreshAd();
    const std::shared_ptr<pennant::View>& pennantAd() const { return pennantAd_; }
    bool isRefreshing() const { return refreshTimer_.isActive(); }

protected:
    AdViewController() = default;

private:
    std::shared_ptr<pennant::View> pennantAd_;
    foundation::Timer refreshTimer_;
    // The controller lives as long as the application runs.
    std::shared_ptr<AdViewController> self_;
    foundation::Subscription terminating_;
};

} // namespace kessa
