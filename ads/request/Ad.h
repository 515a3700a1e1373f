#pragma once

#include "ads/request/FlexAdDelegate.h"
#include "platform/foundation/Data.h"
#include "platform/foundation/Dictionary.h"
#include "platform/foundation/Timer.h"
#include "platform/foundation/Value.h"
#include "platform/graphics/Color.h"

#include <memory>
#include <optional>
#include <set>
#include <string>

namespace foundation {
class WorkerThread;
}
namespace graphics {
class Image;
}

namespace pennant {

class AdDelegate;
class Delegate;
class Opener;
class URLDownload;

// One advertisement from request to click: it fetches the browser icons the landing pages
// need, asks the ad network for an ad, parses the answer off the main thread, loads the ad's
// images, tells its owner once whether it loaded, fires its display pixels once and runs its
// clicks. Every "now" is the main run loop's clock.
class Ad : public std::enable_shared_from_this<Ad>, public FlexAdDelegate {
public:
    enum Format : int { kBanner = 0, kFullScreen = 1 };
    enum State : int {
        kCreated = 0,
        kLoadingBrowserIcons = 1,
        kIconsReady = 2,
        kRequestSent = 3,
        kLoadingImages = 4,
        kLoadingFlexAd = 5,
        kLoaded = 6,
        kFailed = 7,
        kClicking = 8,
    };
    enum Medium : int {
        kTextBanner = 0,
        kImageBanner = 1,
        kSearchAd = 2,
        kFullScreenPage = 3,
        kFullScreenMovie = 4,
    };
    // The record of the last click, in the caches directory; it rides along with the next
    // ad request of any banner and is then deleted.
    static constexpr const char* kShortClickFileName = "pennant_sc";
    // The full-screen load time-out, kept in the user defaults and updated by responses.
    static constexpr const char* kTimeoutDefaultsKey = "PN_INT_TO";
    static constexpr double kDefaultTimeoutSeconds = 5.0;
    static constexpr const char* kTestAdRefusedMessage =
        "Will not show test ad.  iTunes metadata found so assuming this was submitted to the "
        "App Store with test mode accidentally left on.";
    static constexpr const char* kRichAdsUnsupportedMessage =
        "<Pennant> This banner cannot show rich ads; the ad fails.";

    static std::shared_ptr<Ad> create(int format);
    ~Ad();
    Ad(const Ad&) = delete;
    Ad& operator=(const Ad&) = delete;

    void setDelegate(std::weak_ptr<Delegate> delegate) { delegate_ = std::move(delegate); }
    void setAdDelegate(std::weak_ptr<AdDelegate> adDelegate) {
        adDelegate_ = std::move(adDelegate);
    }
    std::shared_ptr<AdDelegate> adDelegate() const { return adDelegate_.lock(); }
    int state() const { return state_; }
    int format() const { return format_; }
    int event() const { return event_; }
    void setEvent(int event) { event_ = event; }

    // Starts the pipeline; an ad requests once, later calls do nothing.
    void request();

    // The request parameters, all strings; with last-click info the short-click record is
    // added (and consumed).
    foundation::Dictionary buildParams() { return buildParamsWithLastClickInfo(false); }
    foundation::Dictionary buildParamsWithLastClickInfo(bool lastClickInfo);
    // Location and demographics; also asked for by the search screen.
    foundation::Dictionary userDemographicInfo();

    // The short-click record: written at the first click, completed with the seconds spent
    // in the full-screen presentation it opened, read and deleted by the next request.
    void saveClick();
    void setEngagementInterval(double seconds);
    void addShortClickDataToDictionary(foundation::Dictionary& parameters);
    // Empty while there is no sandbox home.
    static std::string shortClickFilePath();

    // Full-screen format only.
    void initTimeoutInterval();
    void setTimeoutIntervalDefault(double seconds);
    void timeoutAd();
    void cancelInterstitialTimeout();
    double timeoutInterval() const { return timeoutInterval_; }
    bool hasTimedOut() const { return hasTimedOut_; }

    bool readyForDisplay() const { return state_ == kLoaded || state_ == kClicking; }
    // Fires the display pixels the first time only; the ad views call it when they draw.
    void loadAccountingPixel();
    graphics::Color backgroundColor() const;
    graphics::Color textColor() const;
    // 2 for the grey spinner, 1 for the white one.
    int spinnerStyle() const;

    void click() { clickWithData(std::nullopt); }
    void clickWithData(const std::optional<foundation::Dictionary>& clickData);

    const foundation::Value& adData() const { return adData_; }
    const std::optional<std::string>& text() const { return text_; }
    int action() const { return action_; }
    const std::optional<std::string>& actionImageName() const { return actionImageName_; }
    const std::optional<std::string>& jsonpUrl() const { return jsonpUrl_; }
    const std::optional<std::string>& userString() const { return userString_; }
    const std::shared_ptr<graphics::Image>& userImage() const { return userImage_; }
    const std::shared_ptr<graphics::Image>& actionImage() const { return actionImage_; }
    int medium() const { return medium_; }
    const std::optional<std::string>& suggestionUrl() const { return suggestionUrl_; }
    const std::optional<std::string>& searchPlaceholder() const { return searchPlaceholder_; }
    const std::optional<std::string>& searchHelpURL() const { return searchHelpURL_; }
    const std::optional<std::string>& accountingPixelUrl() const { return accountingPixelUrl_; }
    const std::optional<std::string>& trackingPixelUrl() const { return trackingPixelUrl_; }
    const std::shared_ptr<Opener>& opener() const { return opener_; }
    // The rich ad built from a "markup" response, once it has loaded.
    const std::shared_ptr<FlexAd>& flexAd() const { return flexAd_; }
    // Once its container shows this ad, the container keeps the ad, and the flex ad, which
    // keeps the container, has done its work: letting it go leaves no cycle behind.
    void releaseFlexAd() { flexAd_.reset(); }

    void flexAdDidFailLoadWithError(const std::shared_ptr<FlexAd>& flexAd,
                                    const foundation::Error& error) override;
    void flexAdDidLoad(const std::shared_ptr<FlexAd>& flexAd) override;
    bool openerIsSet() const { return openerIsSet_; }
    bool clicked() const { return clicked_; }
    const std::optional<foundation::Dictionary>& clickData() const { return clickData_; }

private:
    explicit Ad(int format);

    void addDownload(const std::string& url, const std::string& identifier,
                     std::optional<foundation::Data> postBody = std::nullopt);
    // Takes the finished download out of the set.
    std::shared_ptr<URLDownload> take(URLDownload& download);
    void downloadDidSucceed(URLDownload& download);
    void downloadDidFail(URLDownload& download);

    void loadBrowserIcons();
    void browserIconDidLoad(const URLDownload& download);
    void browserIconsDidFinishLoading();
    void requestAdFromServer();
    std::string adRequestEndpoint() const;
    void addTestModeParameters(foundation::Dictionary& parameters, Delegate& delegate);
    void addLocation(foundation::Dictionary& info, Delegate& delegate);

    void loadAdWithData(const foundation::Data& body);
    void didFinishParsingAdData(std::optional<foundation::Value> parsed);
    void readFullScreenResponse();
    void readBannerResponse();
    bool readPlainAd();
    void loadFlexAd(const foundation::Value& markup);
    void loadImages();
    void imageDidLoad(const URLDownload& download);
    void requestDidSucceed();
    void requestDidFail();

    void performClickWithData(const foundation::Data& body);
    void clickDidSucceedWithResponse(const std::optional<foundation::Dictionary>& response);
    void clickDidFail();

    std::weak_ptr<Delegate> delegate_;
    std::weak_ptr<AdDelegate> adDelegate_;
    int state_ = kCreated;
    std::set<std::shared_ptr<URLDownload>> activeDownloads_;
    std::shared_ptr<FlexAd> flexAd_;
    bool clicked_ = false;
    std::optional<foundation::Dictionary> clickData_;
    bool accountingPixelLoaded_ = false;
    std::optional<std::string> accountingPixelUrl_;
    std::optional<std::string> trackingPixelUrl_;
    int format_;
    int medium_ = kTextBanner;
    int event_ = 4;
    double timeoutInterval_ = 0;
    bool hasTimedOut_ = false;
    foundation::Timer timeoutTimer_;
    // One parse thread per response, as the response arrives.
    std::unique_ptr<foundation::WorkerThread> parser_;
    foundation::Value adData_;
    std::optional<std::string> text_;
    int action_ = 0;
    std::optional<std::string> actionImageName_;
    std::optional<std::string> imageURL_;
    std::optional<std::string> jsonpUrl_;
    std::optional<std::string> userString_;
    std::shared_ptr<graphics::Image> userImage_;
    std::shared_ptr<graphics::Image> actionImage_;
    std::optional<std::string> suggestionUrl_;
    std::optional<std::string> searchPlaceholder_;
    std::optional<std::string> searchHelpURL_;
    std::shared_ptr<Opener> opener_;
    bool openerIsSet_ = false;
};

} // namespace pennant
