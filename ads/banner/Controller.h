#pragma once

#include "ads/render/AdClickHandler.h"
#include "ads/request/AdDelegate.h"
#include "platform/foundation/Date.h"
#include "platform/foundation/Subscribers.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace pennant {

class Ad;
class Delegate;
class Opener;
class SearchViewController;
class SingleAdView;
class View;

// Behind each banner: owns the ad on display and the one loading, spaces refresh requests,
// builds the view for each ad and flips a new one in, and routes clicks to the ad and then to
// its opener.
class Controller : public AdDelegate,
                   public AdClickHandler,
                   public std::enable_shared_from_this<Controller> {
public:
    static constexpr double kMinimumRefreshSeconds = 30.0;
    static constexpr double kSwapSeconds = 0.7;
    // The subview of the banner that shows the current ad.
    static constexpr int kCurrentAdTag = 1;

    static std::shared_ptr<Controller> create();
    ~Controller() override;

    std::shared_ptr<View> view() const { return view_.lock(); }
    void setView(std::weak_ptr<View> view) { view_ = std::move(view); }
    void setDelegate(std::weak_ptr<Delegate> delegate) { delegate_ = std::move(delegate); }
    const std::shared_ptr<Ad>& currentlyDisplayedAd() const { return currentlyDisplayedAd_; }
    const std::shared_ptr<Ad>& loadingAd() const { return loadingAd_; }
    bool acceptingRequests() const { return acceptingRequests_; }

    void startFirstAdRequest();
    void ignoreRequests() { acceptingRequests_ = false; }
    void acceptRequests() { acceptingRequests_ = true; }
    void requestFreshAd();
    std::shared_ptr<Ad> newAdWithInitiatedAdRequest();
    std::shared_ptr<SingleAdView> newSingleAdViewWithAd(const std::shared_ptr<Ad>& ad);
    void restoreAdAfterClickAnimationIfPossibleForAd(const Ad& ad);

    graphics::Size adSize() override;
    void adDidLoad(Ad& ad) override;
    void adDidFailToLoad(Ad& ad) override;
    void clickDidSucceed(Ad& ad, const std::optional<foundation::Dictionary>& response) override;
    void clickDidFail(Ad& ad) override;
    // Opens the search screen for a search banner that was tapped.
    void displaySearchWithAd(Ad& ad, const std::string& placeholderText,
                             const std::string& webpageURL) override;
    const std::shared_ptr<SearchViewController>& searchController() const {
        return searchController_;
    }
    std::shared_ptr<FlexAd> newFlexAd(const foundation::Value& markup,
                                      std::weak_ptr<FlexAdDelegate> delegate,
                                      std::weak_ptr<Delegate> host,
                                      const graphics::Rect& frame) override;

    void click(SingleAdView& view) { click(view, std::nullopt); }
    void click(SingleAdView& view, const std::optional<foundation::Dictionary>& data) override;

private:
    Controller() = default;
    void observeApplication();
    // What an opener needs from the banner it was tapped on.
    void fromBanner(Opener& opener);
    // The ad on display when a screen opened from this banner goes.
    std::function<std::shared_ptr<Ad>()> displayedAd();
    void showFirstAd();
    void swapInLoadingAd();
    static void release(std::shared_ptr<Ad>& ad);

    std::weak_ptr<View> view_;
    std::weak_ptr<Delegate> delegate_;
    std::shared_ptr<Ad> currentlyDisplayedAd_;
    std::shared_ptr<Ad> loadingAd_;
    std::optional<foundation::Date> lastRequestForFreshAd_;
    bool acceptingRequests_ = true;
    std::shared_ptr<SearchViewController> searchController_;
    foundation::Subscription resignActive_;
    foundation::Subscription becomeActive_;
};

} // namespace pennant
