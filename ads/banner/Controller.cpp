#include "ads/banner/Controller.h"

#include "ads/banner/View.h"
#include "ads/render/FlexAd.h"
#include "ads/render/FlexAdContainerView.h"
#include "ads/render/OldSchoolSingleAdView.h"
#include "ads/request/Ad.h"
#include "ads/request/Delegate.h"
#include "ads/request/Opener.h"
#include "ads/search/SearchAdView.h"
#include "ads/search/SearchViewController.h"
#include "ads/video/VideoScreenDispatcher.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/URL.h"
#include "platform/ui/Application.h"
#include "platform/ui/ViewAnimation.h"

namespace pennant {

std::shared_ptr<Controller> Controller::create() {
    auto controller = std::shared_ptr<Controller>(new Controller());
    controller->observeApplication();
    // A tap on any banner may open the client's screens.
    VideoScreenDispatcher::install();
    return controller;
}

Controller::~Controller() {
    release(currentlyDisplayedAd_);
    release(loadingAd_);
}

void Controller::observeApplication() {
    auto& center = foundation::NotificationCenter::defaultCenter();
    std::weak_ptr<Controller> weak = weak_from_this();
    resignActive_ = center.addObserver(ui::Application::kWillResignActiveNotification, nullptr,
                                       [weak](const auto&) {
                                           if (auto self = weak.lock())
                                               self->ignoreRequests();
                                       });
    becomeActive_ = center.addObserver(ui::Application::kDidBecomeActiveNotification, nullptr,
                                       [weak](const auto&) {
                                           if (auto self = weak.lock())
                                               self->acceptRequests();
                                       });
}

// An ad let go stops reaching the host: it may still finish a download.
void Controller::release(std::shared_ptr<Ad>& ad) {
    if (ad)
        ad->setDelegate({});
    ad.reset();
}

void Controller::startFirstAdRequest() { currentlyDisplayedAd_ = newAdWithInitiatedAdRequest(); }

void Controller::requestFreshAd() {
    const auto now = foundation::Date::now();
    if (lastRequestForFreshAd_ &&
        lastRequestForFreshAd_->timeIntervalSinceNow() > -kMinimumRefreshSeconds) {
        foundation::log("<Pennant> Ad requests must be {:f} seconds apart.  Ignoring this request.",
                        kMinimumRefreshSeconds);
        return;
    }
    lastRequestForFreshAd_ = now;
    const bool showingImageBanner =
        currentlyDisplayedAd_ && currentlyDisplayedAd_->medium() == Ad::kImageBanner;
    if (acceptingRequests_ && !showingImageBanner)
        loadingAd_ = newAdWithInitiatedAdRequest();
}

std::shared_ptr<Ad> Controller::newAdWithInitiatedAdRequest() {
    auto ad = Ad::create(Ad::kBanner);
    ad->setDelegate(delegate_);
    ad->setAdDelegate(weak_from_this());
    ad->request();
    return ad;
}

std::shared_ptr<FlexAd> Controller::newFlexAd(const foundation::Value& markup,
                                              std::weak_ptr<FlexAdDelegate> delegate,
                                              std::weak_ptr<Delegate> host,
                                              const graphics::Rect& frame) {
    return FlexAd::create(markup, std::move(delegate), std::move(host), frame);
}

std::shared_ptr<SingleAdView> Controller::newSingleAdViewWithAd(const std::shared_ptr<Ad>& ad) {
    const auto banner = view();
    std::shared_ptr<SingleAdView> adView;
    if (ad->flexAd()) {
        adView = ad->flexAd()->containerView();
        ad->releaseFlexAd();
    } else if (ad->medium() == Ad::kSearchAd) {
        adView = SearchAdView::create(banner ? banner->bounds() : graphics::Rect());
    } else {
        adView = OldSchoolSingleAdView::create(banner ? banner->bounds() : graphics::Rect());
    }
    adView->setAd(ad);
    adView->setController(weak_from_this());
    return adView;
}

graphics::Size Controller::adSize() {
    const auto banner = view();
    return banner ? banner->bounds().size : graphics::Size{};
}

void Controller::adDidLoad(Ad& ad) {
    if (&ad == currentlyDisplayedAd_.get())
        showFirstAd();
    else if (&ad == loadingAd_.get())
        swapInLoadingAd();
}

void Controller::showFirstAd() {
    const auto self = shared_from_this();
    const auto banner = view();
    if (!banner)
        return;
    if (auto host = delegate_.lock())
        host->didReceiveAd(*banner);
    auto adView = newSingleAdViewWithAd(currentlyDisplayedAd_);
    adView->setTag(kCurrentAdTag);
    banner->addSubview(adView);
}

void Controller::swapInLoadingAd() {
    const auto banner = view();
    if (!banner)
        return;
    auto old = banner->viewWithTag(kCurrentAdTag);
    if (old == banner)
        old = nullptr;
    auto adView = newSingleAdViewWithAd(loadingAd_);
    adView->setTag(kCurrentAdTag);
    if (old)
        old->setTag(0);
    // The old view rides along as the block's context and goes when the flip ends.
    ui::View::beginAnimations("newPennantAd", old);
    ui::View::setAnimationDuration(kSwapSeconds);
    ui::View::setAnimationTransition(ui::ViewAnimationTransition::FlipFromRight, banner, true);
    ui::View::setAnimationDidStopHandler(
        [](const std::string&, bool, const std::shared_ptr<void>& context) {
            if (context)
                static_cast<ui::View*>(context.get())->removeFromSuperview();
        });
    banner->addSubview(adView);
    if (old)
        old->removeFromSuperview();
    ui::View::commitAnimations();
    release(currentlyDisplayedAd_);
    currentlyDisplayedAd_ = std::move(loadingAd_);
}

void Controller::adDidFailToLoad(Ad& ad) {
    if (&ad == currentlyDisplayedAd_.get()) {
        const auto self = shared_from_this();
        if (auto host = delegate_.lock(); host && view())
            host->didFailToReceiveAd(*view());
        release(currentlyDisplayedAd_);
    } else if (&ad == loadingAd_.get()) {
        release(loadingAd_);
    }
}

void Controller::click(SingleAdView& adView, const std::optional<foundation::Dictionary>& data) {
    const auto ad = adView.ad();
    if (!ad)
        return;
    fromBanner(*ad->opener());
    adView.animateForClick();
    ad->clickWithData(data);
}

void Controller::restoreAdAfterClickAnimationIfPossibleForAd(const Ad& ad) {
    const auto banner = view();
    if (!banner)
        return;
    auto shown = std::dynamic_pointer_cast<SingleAdView>(banner->viewWithTag(kCurrentAdTag));
    if (shown && shown->ad().get() == &ad)
        shown->restoreAdAfterClickAnimation();
}

void Controller::clickDidSucceed(Ad& ad, const std::optional<foundation::Dictionary>& response) {
    restoreAdAfterClickAnimationIfPossibleForAd(ad);
    if (ad.openerIsSet())
        return;
    const foundation::Dictionary answer = response.value_or(foundation::Dictionary{});
    std::optional<foundation::URL> url;
    if (const auto* redirect = answer.find("redirect_url")) {
        // A redirect that is not text cannot be opened: the click failed.
        if (!redirect->isString()) {
            clickDidFail(ad);
            return;
        }
        url = foundation::URL::create(redirect->asString());
    }
    const auto acquisition = answer.find("acquisition_url");
    const auto contact = answer.find("contact");
    Opener& opener = *ad.opener();
    opener.setPublisherDelegate(delegate_);
    opener.setUrl(url);
    opener.setAcquisitionURL(acquisition && acquisition->isString()
                                 ? std::optional<std::string>(acquisition->asString())
                                 : std::nullopt);
    opener.setContactInfo(contact && contact->isDictionary()
                              ? std::optional<foundation::Dictionary>(contact->asDictionary())
                              : std::nullopt);
    fromBanner(opener);
    opener.open();
}

void Controller::fromBanner(Opener& opener) {
    opener.setOpenAnimation(1, view());
    opener.setDisplayedAd(displayedAd());
}

std::function<std::shared_ptr<Ad>()> Controller::displayedAd() {
    return [weak = weak_from_this()] {
        const auto controller = weak.lock();
        return controller ? controller->currentlyDisplayedAd() : nullptr;
    };
}

void Controller::clickDidFail(Ad& ad) {
    restoreAdAfterClickAnimationIfPossibleForAd(ad);
    // A search screen that already went has nothing left to close.
    if (searchController_ && searchController_->modalWindow())
        searchController_->relinquishScreen();
}

void Controller::displaySearchWithAd(Ad& ad, const std::string& placeholderText,
                                     const std::string& webpageURL) {
    const auto banner = view();
    if (!banner)
        return;
    searchController_ = SearchViewController::create();
    searchController_->setSearchBarHeight(banner->bounds().height());
    searchController_->setTileImage(ad.userImage());
    searchController_->setSuggestionUrl(ad.suggestionUrl());
    searchController_->setPlaceholderText(placeholderText);
    searchController_->setWebpageURL(webpageURL);
    searchController_->presentFromView(banner, ad.shared_from_this(), delegate_, displayedAd());
}

} // namespace pennant
