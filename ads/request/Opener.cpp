#include "ads/request/Opener.h"

#include "ads/request/ActionScreens.h"
#include "ads/request/AnalyticsData.h"
#include "ads/request/Delegate.h"
#include "ads/request/Endpoints.h"
#include "ads/request/ImageCache.h"
#include "ads/request/URLDownload.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/PlatformContext.h"
#include "platform/graphics/Image.h"
#include "platform/net/HTTPClient.h"
#include "platform/ui/Application.h"
#include "platform/ui/Device.h"
#include "platform/ui/View.h"
#include "platform/ui/ViewController.h"
#include "json/JSONDeserializer.h"

#include <array>
#include <cstdlib>
#include <set>
#include <utility>

namespace pennant {

namespace {

struct ActionName {
    std::string_view name;
    int code;
};

constexpr std::array<ActionName, 11> kActionNames = {{
    {"url", Opener::kURL},
    {"screen", Opener::kScreen},
    {"canvas", Opener::kCanvas},
    {"call", Opener::kCall},
    {"contact", Opener::kContact},
    {"app", Opener::kApp},
    {"itunes", Opener::kITunes},
    {"map", Opener::kMap},
    {"video", Opener::kVideo},
    {"movie", Opener::kMovie},
    {"audio", Opener::kAudio},
}};

constexpr std::string_view kAffiliateLinkIdentifier = "affiliateLink";
constexpr std::string_view kStoreScheme = "itms";
// A video names a handful of images; a response naming more is not fetched beyond this.
constexpr std::size_t kMaxVideoAssets = 16;

// Shared by all openers of the process: the openers with downloads in flight, kept here rather
// than by themselves so that a context torn down mid-ping still releases them, and the URL
// waiting to be opened outside the application, which outlives the opener that set it.
struct SharedOpenerState {
    int count = 0;
    std::set<std::shared_ptr<Opener>> openers;
    std::optional<foundation::URL> newApplicationURL;
};

SharedOpenerState& sharedOpenerState() {
    return foundation::PlatformContext::current().object<SharedOpenerState>([] {
        // Made after the HTTP client, so torn down before it: releasing an opener cancels its
        // downloads, which reaches the client.
        net::HTTPClient::shared();
        return new SharedOpenerState();
    });
}

std::optional<std::string> stringAt(const foundation::Value& parameters, std::string_view key) {
    const auto& value = parameters[key];
    return value.isString() ? std::optional(std::string(value.asString())) : std::nullopt;
}

// Caps at half the size less one, so the middle row and column are the ones that stretch.
std::shared_ptr<graphics::Image> stretchableForm(const graphics::Image& image) {
    const auto size = image.size();
    return image.stretchableImage(int(double(size.width) * 0.5 - 1.0),
                                  int(double(size.height) * 0.5 - 1.0));
}

} // namespace

std::shared_ptr<Opener> Opener::create() { return std::shared_ptr<Opener>(new Opener()); }

std::shared_ptr<Opener> Opener::create(const foundation::Value& openParameters,
                                       std::weak_ptr<Delegate> publisherDelegate) {
    auto opener = create();
    opener->openParameters_ = openParameters;
    opener->publisherDelegate_ = std::move(publisherDelegate);
    opener->action_ = actionFromString(openParameters["a"].asString());
    if (opener->action_ == kNoAction || !openParameters["u"].isString())
        return nullptr;
    opener->readOpenParameters();
    return opener;
}

std::shared_ptr<Opener> Opener::createFromJSON(const foundation::Data& json,
                                               std::weak_ptr<Delegate> publisherDelegate) {
    const auto parsed = json::JSONDeserializer().deserializeAsDictionary(json);
    if (!parsed)
        return nullptr;
    return create(parsed.value(), std::move(publisherDelegate));
}

Opener::~Opener() {
    for (const auto& download : activeDownloads_)
        download->cancel();
}

void Opener::readOpenParameters() {
    const auto& parameters = openParameters_;
    url_ = foundation::URL::create(parameters["u"].asString());
    accountingURL_ = stringAt(parameters, "au");
    thirdPartyTrackingURL_ = stringAt(parameters, "tu");
    if (const auto& stats = parameters["stats"]; stats.isDictionary())
        analytics_ = std::make_shared<AnalyticsData>(
            stringAt(stats, "id"),
            [delegate = publisherDelegate_] {
                const auto host = delegate.lock();
                return host ? host->publisherId() : std::string();
            },
            stringAt(stats, "url"));
    if (const auto& lock = parameters["or"]; lock.isString())
        allowedOrientations_ = lock.asString() == "l" ? kLandscapeOnly : kPortraitOnly;
    prompt_ = parameters["p"].asString() == "1";
    acquisitionURL_ = stringAt(parameters, "acquisition_url");
    if (const auto& contact = parameters["contact"]; contact.isDictionary())
        contactInfo_ = contact.asDictionary();
    transparentBackground_ = !parameters["t"].isNull();
    title_ = stringAt(parameters, "title");
    if (action_ == kScreen && !parameters["pf"].isNull())
        createFullScreenBrowser();
}

int Opener::actionFromString(std::string_view name) {
    for (const auto& entry : kActionNames)
        if (entry.name == name)
            return entry.code;
    return kNoAction;
}

void Opener::fireAccountingURL(const std::optional<std::string>& url) {
    fireAccountingURL(url, std::nullopt);
}

void Opener::fireAccountingURL(const std::optional<std::string>& url,
                               std::optional<foundation::Data> postBody) {
    if (url)
        create()->addDownload(*url, {}, std::move(postBody), kPingCachePolicy);
}

int Opener::activeDownloadCount() { return sharedOpenerState().count; }

void Opener::launchNewApplication(const foundation::URL& url, std::weak_ptr<Delegate> delegate) {
    const auto opener = create();
    opener->url_ = url;
    opener->publisherDelegate_ = std::move(delegate);
    if (isITunesURL(url))
        opener->launchStore();
    else
        opener->launchApplication();
}

void Opener::displayBrowser(const foundation::URL& url, std::weak_ptr<Delegate> delegate) {
    const auto opener = create();
    opener->url_ = url;
    opener->publisherDelegate_ = std::move(delegate);
    opener->displayBrowser();
}

void Opener::displayMovie(const foundation::URL& url, std::weak_ptr<Delegate> delegate) {
    const auto opener = create();
    opener->url_ = url;
    opener->publisherDelegate_ = std::move(delegate);
    opener->movieControls_ = 0;
    opener->allowedOrientations_ = kLandscapeOnly;
    opener->displayVideoPlayer();
}

bool Opener::isITunesURL(const foundation::URL& url) {
    return Endpoints::isStoreLinkHost(url.host()) || url.scheme() == kStoreScheme;
}

bool Opener::iTunesURLMightHaveRedirects(const foundation::URL& url) {
    return !Endpoints::isAppStoreHost(url.host());
}

foundation::URL Opener::cleanITunesURL(const foundation::URL& url) {
    // A link without a query stays without one: no bare "?" for the store to misread.
    const auto query = url.query().empty() ? std::string() : "?" + url.query();
    const auto text =
        fmt::format("http://{}{}{}", Endpoints::kAppStoreHosts.front(), url.path(), query);
    // The parts come from a parsed URL, so they parse again; should they not, keep the link.
    return foundation::URL::create(text).value_or(url);
}

void Opener::setOpenAnimation(int animation, std::shared_ptr<ui::View> fromAd) {
    animation_ = animation;
    animationFromAdView_ = std::move(fromAd);
}

void Opener::open() {
    fireAccountingURL(std::exchange(accountingURL_, std::nullopt),
                      std::exchange(accountingURLPostBody_, std::nullopt));
    fireAccountingURL(std::exchange(thirdPartyTrackingURL_, std::nullopt));
    switch (action_) {
    case kURL:
        return displayBrowser();
    case kScreen:
        return displayFullScreenBrowser();
    case kCanvas:
        return displayCanvas();
    case kCall:
        if (promptRequired_) {
            prompt_ = true;
            return call();
        }
        return openParameters_["p"].isNull() ? callWithBestGuessForWhetherToPrompt() : call();
    case kContact:
        prompt_ = prompt_ || promptRequired_;
        return addToContacts();
    case kApp:
    case kITunes:
        return launchStore();
    case kMap:
    case kVideo:
    case kAudio:
        return launchApplication();
    case kMovie:
        return loadVideoPlayer();
    default:
        return;
    }
}

void Opener::addDownload(const std::string& url, std::string identifier,
                         std::optional<foundation::Data> postBody, std::uint32_t cachePolicy,
                         foundation::Value userInfo) {
    auto download = URLDownload::create();
    download->setIdentifier(std::move(identifier));
    download->setUserInfo(std::move(userInfo));
    download->setSuccessCallback([this](URLDownload& done) { downloadDidSucceed(done); });
    download->setFailureCallback([this](URLDownload& done) { downloadDidFail(done); });
    download->setCachePolicy(cachePolicy);
    download->loadContentsOfURLAtString(url, std::move(postBody));
    activeDownloads_.insert(std::move(download));
    auto& inFlight = sharedOpenerState();
    inFlight.openers.insert(shared_from_this());
    ++inFlight.count;
}

void Opener::downloadDidFail(URLDownload& download) {
    // A failed ping ends like a finished one: nothing waits for its answer.
    downloadDidSucceed(download);
}

void Opener::downloadDidSucceed(URLDownload& download) {
    const auto finished = download.shared_from_this();
    activeDownloads_.erase(finished);
    auto& inFlight = sharedOpenerState();
    --inFlight.count;
    if (loadingAssets_)
        assetDidDownload(*finished);
    else if (finished->identifier() == kAffiliateLinkIdentifier)
        resolvedAffiliateLink(*finished);
    else
        openNewApplicationIfSupposedTo();
    // Only now: cancelling lets go of the downloaded bytes.
    finished->cancel();
    if (activeDownloads_.empty())
        inFlight.openers.erase(shared_from_this()); // may be the last reference: nothing follows
}

void Opener::displayBrowser() {
    if (auto screens = actionScreens("the in-app browser"))
        screens->displayBrowser(*this);
}

void Opener::createFullScreenBrowser() {
    if (auto screens = actionScreens("the full-screen web page"))
        webViewController_ = screens->createFullScreenBrowser(*this);
}

void Opener::displayFullScreenBrowser() {
    if (!webViewController_)
        createFullScreenBrowser();
    if (webViewController_)
        ActionScreens::installed()->displayFullScreenBrowser(*this, webViewController_);
}

void Opener::displayCanvas() {
    if (auto screens = actionScreens("the canvas"))
        screens->displayCanvas(*this);
}

void Opener::call() {
    if (auto screens = actionScreens("the call prompt"))
        screens->call(*this);
}

void Opener::callWithBestGuessForWhetherToPrompt() {
    // Only the 3.0 system placed calls without asking, so only there the ad asks itself. A
    // version without a minor number is not taken for 3.0: asking is the safe side.
    const auto version = ui::Device::current().systemVersion();
    const auto dot = version.find('.');
    const auto major = std::atoi(version.substr(0, dot).c_str());
    const auto minor = dot == std::string::npos ? -1 : std::atoi(version.c_str() + dot + 1);
    prompt_ = !(major == 3 && minor == 0);
    call();
}

void Opener::addToContacts() {
    if (auto screens = actionScreens("adding a contact"))
        screens->addToContacts(*this);
}

void Opener::loadVideoPlayer() {
    const auto& entries = openParameters_["$"];
    if (entries.isDictionary()) {
        std::size_t count = 0;
        for (const auto& [identifier, entry] : entries.asDictionary()) {
            if (++count > kMaxVideoAssets)
                break;
            addImageDownload(entry["u"], identifier, !entry["c"].isNull(), !entry["s"].isNull());
        }
    }
    if (!loadingAssets_)
        displayVideoPlayer();
}

void Opener::addImageDownload(const foundation::Value& url, const std::string& identifier,
                              bool cacheResult, bool makeImageStretchable) {
    if (!url.isString())
        return;
    if (cacheResult) {
        auto image = ImageCache::sharedCache().fetchImageNamed(identifier);
        if (image && makeImageStretchable)
            image = stretchableForm(*image);
        if (image) {
            assets_[identifier] = std::move(image);
            return;
        }
    }
    loadingAssets_ = true;
    foundation::Value userInfo;
    if (cacheResult || makeImageStretchable) {
        foundation::Dictionary flags;
        if (cacheResult)
            flags.set("c", "1");
        if (makeImageStretchable)
            flags.set("s", "1");
        userInfo = foundation::Value(std::move(flags));
    }
    addDownload(std::string(url.asString()), identifier, std::nullopt, 0, std::move(userInfo));
}

void Opener::assetDidDownload(const URLDownload& download) {
    // A failed or undecodable image is simply missing: the player does without it.
    if (auto image = graphics::Image::fromData(download.data())) {
        const auto& flags = download.userInfo();
        if (!flags["c"].isNull())
            (void)ImageCache::sharedCache().storeImage(image, download.identifier());
        if (!flags["s"].isNull())
            image = stretchableForm(*image);
        if (image)
            assets_[download.identifier()] = std::move(image);
    }
    if (activeDownloads_.empty()) {
        loadingAssets_ = false;
        displayVideoPlayer();
    }
}

std::shared_ptr<graphics::Image> Opener::asset(const std::string& identifier) const {
    const auto found = assets_.find(identifier);
    return found == assets_.end() ? nullptr : found->second;
}

void Opener::displayVideoPlayer() {
    if (auto screens = actionScreens("the video player"))
        screens->displayVideoPlayer(*this);
}

void Opener::resolvedAffiliateLink(const URLDownload& download) {
    // A failed resolution still names where it got to, or at least where it started.
    const auto& resolved = download.redirectFreeURL() ? download.redirectFreeURL() : url_;
    if (resolved)
        url_ = cleanITunesURL(*resolved);
    launchApplication();
}

void Opener::launchStore() {
    if (!url_)
        return;
    if (iTunesURLMightHaveRedirects(*url_))
        return addDownload(url_->absoluteString(), std::string(kAffiliateLinkIdentifier),
                           std::nullopt, kPingCachePolicy);
    url_ = cleanITunesURL(*url_);
    launchApplication();
}

void Opener::launchApplication() {
    sharedOpenerState().newApplicationURL = url_;
    openNewApplicationIfSupposedTo();
}

void Opener::openNewApplicationIfSupposedTo() {
    auto& state = sharedOpenerState();
    if (!state.newApplicationURL || state.count > 0)
        return;
    const auto url = *std::exchange(state.newApplicationURL, std::nullopt);
    ui::Application::shared().openURL(url);
}

void Opener::logNotAvailable(std::string_view operation) const {
    foundation::log("<Pennant> Click action {} ({}) is not available.", action_, operation);
}

std::shared_ptr<ActionScreens> Opener::actionScreens(std::string_view operation) const {
    auto screens = ActionScreens::installed();
    if (!screens)
        logNotAvailable(operation);
    return screens;
}

std::string Opener::description() const {
    return fmt::format("<PennantOpener: action={} ({}) url={} openParameters={}>", action_,
                       openParameters_["a"].stringValue("(null)"),
                       url_ ? url_->absoluteString() : "(null)", openParameters_.description());
}

} // namespace pennant
