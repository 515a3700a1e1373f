#pragma once

#include "platform/foundation/Data.h"
#include "platform/foundation/Dictionary.h"
#include "platform/foundation/URL.h"
#include "platform/foundation/Value.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>

namespace graphics {
class Image;
}

namespace ui {
class View;
class ViewController;
} // namespace ui

namespace pennant {

class ActionScreens;
class Ad;
class AnalyticsData;
class Delegate;
class URLDownload;

// What a tapped ad asks for: built from the ad's open parameters, or for older ads from an
// action name and the click response. open() fires the click pings, then runs the action.
// Each download an opener starts keeps it alive until that download has ended.
class Opener : public std::enable_shared_from_this<Opener> {
public:
    // Action codes; 0, 8 and anything from 13 on open nothing.
    enum Action : int {
        kNoAction = 0,
        kURL = 1,
        kScreen = 2,
        kCanvas = 3,
        kCall = 4,
        kContact = 5,
        kApp = 6,
        kITunes = 7,
        kMap = 9,
        kVideo = 10,
        kMovie = 11,
        kAudio = 12,
    };
    enum Orientations : int { kPortraitOnly = 0, kLandscapeOnly = 1, kAnyOrientation = 2 };
    // Reload, ignoring local and remote caches.
    static constexpr std::uint32_t kPingCachePolicy = 4;

    // An empty opener, configured through the setters.
    static std::shared_ptr<Opener> create();
    // nullptr when the parameters name no known action or no destination.
    static std::shared_ptr<Opener> create(const foundation::Value& openParameters,
                                          std::weak_ptr<Delegate> publisherDelegate);
    // nullptr as above, and when the bytes are not a JSON object.
    static std::shared_ptr<Opener> createFromJSON(const foundation::Data& json,
                                                  std::weak_ptr<Delegate> publisherDelegate);
    ~Opener();
    Opener(const Opener&) = delete;
    Opener& operator=(const Opener&) = delete;

    // Exact, case-sensitive names; anything else is kNoAction.
    static int actionFromString(std::string_view name);

    // Fire-and-forget pings (a body makes a POST); nothing happens without a URL.
    static void fireAccountingURL(const std::optional<std::string>& url);
    static void fireAccountingURL(const std::optional<std::string>& url,
                                  std::optional<foundation::Data> postBody);
    // Opener downloads in flight over all openers.
    static int activeDownloadCount();

    // Leaves the application for the URL: through the store-link rules for a store link,
    // otherwise directly, once every opener download in flight has ended.
    static void launchNewApplication(const foundation::URL& url, std::weak_ptr<Delegate> delegate);
    // The in-app browser, and the in-app player (landscape, no controls), for a page's link.
    static void displayBrowser(const foundation::URL& url, std::weak_ptr<Delegate> delegate);
    static void displayMovie(const foundation::URL& url, std::weak_ptr<Delegate> delegate);
    // Store links: a store or affiliate-link host, or the store's own scheme.
    static bool isITunesURL(const foundation::URL& url);
    // Anything off the app-store hosts may be an affiliate link that redirects to them.
    static bool iTunesURLMightHaveRedirects(const foundation::URL& url);
    // The link as http on the first app-store host, keeping its path and query.
    static foundation::URL cleanITunesURL(const foundation::URL& url);

    // Fires the pings (once: open() drops them) and runs the action.
    void open();
    // A call or a contact asks the user first, whatever the parameters say.
    void requirePrompt() { promptRequired_ = true; }

    const std::weak_ptr<Delegate>& publisherDelegate() const { return publisherDelegate_; }
    void setPublisherDelegate(std::weak_ptr<Delegate> delegate) {
        publisherDelegate_ = std::move(delegate);
    }
    int action() const { return action_; }
    void setAction(int action) { action_ = action; }
    const std::optional<foundation::URL>& url() const { return url_; }
    void setUrl(std::optional<foundation::URL> url) { url_ = std::move(url); }
    int animation() const { return animation_; }
    std::shared_ptr<ui::View> animationFromAdView() const { return animationFromAdView_.lock(); }
    void setOpenAnimation(int animation, std::shared_ptr<ui::View> fromAd);
    // The banner's ad on display, asked when the last screen goes to hear how long the user
    // stayed; set by the banner that was tapped.
    using DisplayedAd = std::function<std::shared_ptr<Ad>()>;
    const DisplayedAd& displayedAd() const { return displayedAd_; }
    void setDisplayedAd(DisplayedAd displayedAd) { displayedAd_ = std::move(displayedAd); }
    const std::optional<std::string>& accountingURL() const { return accountingURL_; }
    void setAccountingURL(std::optional<std::string> url) { accountingURL_ = std::move(url); }
    const std::optional<foundation::Data>& accountingURLPostBody() const {
        return accountingURLPostBody_;
    }
    void setAccountingURLPostBody(std::optional<foundation::Data> body) {
        accountingURLPostBody_ = std::move(body);
    }
    const std::optional<std::string>& thirdPartyTrackingURL() const {
        return thirdPartyTrackingURL_;
    }
    void setThirdPartyTrackingURL(std::optional<std::string> url) {
        thirdPartyTrackingURL_ = std::move(url);
    }
    const std::optional<std::string>& acquisitionURL() const { return acquisitionURL_; }
    void setAcquisitionURL(std::optional<std::string> url) { acquisitionURL_ = std::move(url); }
    const std::optional<foundation::Dictionary>& contactInfo() const { return contactInfo_; }
    void setContactInfo(std::optional<foundation::Dictionary> contact) {
        contactInfo_ = std::move(contact);
    }
    const std::optional<std::string>& title() const { return title_; }
    void setTitle(std::optional<std::string> title) { title_ = std::move(title); }
    int allowedOrientations() const { return allowedOrientations_; }
    void setAllowedOrientations(int orientations) { allowedOrientations_ = orientations; }
    int movieControls() const { return movieControls_; }
    void setMovieControls(int controls) { movieControls_ = controls; }
    int movieScalingMode() const { return movieScalingMode_; }
    void setMovieScalingMode(int mode) { movieScalingMode_ = mode; }

    // True while the video's images are being fetched.
    bool loadingAssets() const { return loadingAssets_; }
    // A fetched video image by its identifier; null when it is missing or did not decode.
    std::shared_ptr<graphics::Image> asset(const std::string& identifier) const;

    bool prompt() const { return prompt_; }
    bool transparentBackground() const { return transparentBackground_; }
    const foundation::Value& openParameters() const { return openParameters_; }
    // The landing-page analytics named by "stats"; null without it.
    const std::shared_ptr<AnalyticsData>& analytics() const { return analytics_; }
    // The full-screen page made ahead of the click ("pf"); null when none.
    const std::shared_ptr<ui::ViewController>& webViewController() const {
        return webViewController_;
    }

    std::string description() const;
    // One log line: this opener's action cannot be shown here.
    void logNotAvailable(std::string_view operation) const;

private:
    Opener() = default;

    void readOpenParameters();
    void addDownload(const std::string& url, std::string identifier,
                     std::optional<foundation::Data> postBody, std::uint32_t cachePolicy,
                     foundation::Value userInfo = {});
    void downloadDidSucceed(URLDownload& download);
    void downloadDidFail(URLDownload& download);
    void resolvedAffiliateLink(const URLDownload& download);
    void addImageDownload(const foundation::Value& url, const std::string& identifier,
                          bool cacheResult, bool makeImageStretchable);
    void assetDidDownload(const URLDownload& download);

    // One operation per action. Screens and prompts come from the installed action screens.
    void displayBrowser();
    void createFullScreenBrowser();
    void displayFullScreenBrowser();
    void displayCanvas();
    void call();
    void callWithBestGuessForWhetherToPrompt();
    void addToContacts();
    void launchStore();
    void launchApplication();
    void loadVideoPlayer();
    void displayVideoPlayer();
    void openNewApplicationIfSupposedTo();
    // The installed action screens, or null after one log line saying the action is missing.
    std::shared_ptr<ActionScreens> actionScreens(std::string_view operation) const;

    std::weak_ptr<Delegate> publisherDelegate_;
    std::set<std::shared_ptr<URLDownload>> activeDownloads_;
    foundation::Value openParameters_;
    int action_ = kNoAction;
    std::optional<foundation::URL> url_;
    int animation_ = 0;
    // Held weakly: the banner owns, through its controller and ad, this opener.
    std::weak_ptr<ui::View> animationFromAdView_;
    DisplayedAd displayedAd_;
    std::optional<std::string> accountingURL_;
    std::optional<foundation::Data> accountingURLPostBody_;
    std::optional<std::string> thirdPartyTrackingURL_;
    std::shared_ptr<AnalyticsData> analytics_;
    std::shared_ptr<ui::ViewController> webViewController_;
    int allowedOrientations_ = kAnyOrientation;
    bool prompt_ = false;
    bool promptRequired_ = false;
    std::optional<std::string> acquisitionURL_;
    std::optional<foundation::Dictionary> contactInfo_;
    bool transparentBackground_ = false;
    std::optional<std::string> title_;
    int movieControls_ = 2;
    int movieScalingMode_ = 1;
    bool loadingAssets_ = false;
    std::map<std::string, std::shared_ptr<graphics::Image>> assets_;
};

} // namespace pennant
