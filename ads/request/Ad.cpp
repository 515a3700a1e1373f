#include "ads/request/Ad.h"

#include "ads/request/AdDelegate.h"
#include "ads/request/AppData.h"
#include "ads/request/Delegate.h"
#include "ads/request/Endpoints.h"
#include "ads/request/ImageCache.h"
#include "ads/request/Localizer.h"
#include "ads/request/LocationManager.h"
#include "ads/request/Opener.h"
#include "ads/request/URLDownload.h"
#include "ads/request/Version.h"
#include "platform/foundation/Date.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/PercentEncoding.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/Sandbox.h"
#include "platform/foundation/URL.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/foundation/WorkerThread.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Application.h"
#include "platform/ui/ClassRegistry.h"
#include "platform/ui/Device.h"
#include "json/JSONDeserializer.h"
#include "json/JSONSerializer.h"

#include <array>
#include <cctype>
#include <cerrno>

namespace pennant {

namespace {

constexpr std::array<std::string_view, 4> kBrowserIcons = {"back", "back_disable", "forward",
                                                           "forward_disable"};
constexpr const char* kUserImage = "userImage";
constexpr const char* kActionIcon = "actionIcon";
// The record is a handful of keys; anything bigger is not ours.
constexpr std::size_t kMaxShortClickBytes = 4096;

std::optional<std::string> stringAt(const foundation::Value& dictionary, std::string_view key) {
    const auto& value = dictionary[key];
    return value.isString() ? std::optional(std::string(value.asString())) : std::nullopt;
}

std::optional<std::string> nonEmptyStringAt(const foundation::Value& dictionary,
                                            std::string_view key) {
    auto text = stringAt(dictionary, key);
    return text && !text->empty() ? text : std::nullopt;
}

void setIfGiven(foundation::Dictionary& parameters, const char* key,
                const std::optional<std::string>& value) {
    if (value)
        parameters.set(key, *value);
}

// Another ad library linked into the host announces itself by its view class.
bool classExists(const std::string& name) {
    return ui::ClassRegistry::shared().create(name) != nullptr;
}

bool isHexDigit(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }

// Escapes only what a URL may not carry (spaces, quotes, angle brackets, non-ASCII bytes,
// stray percent signs...), so the separators of a pixel URL keep their meaning.
std::string escapeForURL(std::string_view text) {
    static constexpr std::string_view kReserved = ":/?#[]@!$&'()*+,;=";
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool escape =
            c == '%' && i + 2 < text.size() && isHexDigit(text[i + 1]) && isHexDigit(text[i + 2]);
        if (escape || foundation::PercentEncoding::isUnreserved(static_cast<unsigned char>(c)) ||
            kReserved.find(c) != std::string_view::npos)
            out += c;
        else
            out += foundation::PercentEncoding::encode(std::string_view(&c, 1));
    }
    return out;
}

std::string shortClickRelativePath() {
    return foundation::Sandbox::relativePath(foundation::Sandbox::Directory::Caches) + "/" +
           Ad::kShortClickFileName;
}

const std::string& home() { return foundation::Sandbox::current().home(); }

// The short-click file as found: absent, or present with a record that is empty when the
// file is unreadable, too big or not a dictionary.
struct ShortClickFile {
    bool exists = false;
    std::optional<foundation::Value> record;
};

ShortClickFile readShortClickFile() {
    if (home().empty())
        return {};
    const auto bytes = foundation::FileManager::contentsBelow(home(), shortClickRelativePath(),
                                                              kMaxShortClickBytes);
    if (!bytes)
        return {bytes.error().code != ENOENT, std::nullopt};
    auto record = foundation::PropertyList::read(bytes.value());
    if (!record || !record.value().isDictionary())
        return {true, std::nullopt};
    return {true, std::move(record).value()};
}

void writeShortClickFile(const foundation::Dictionary& record) {
    const auto bytes = foundation::PropertyList::writeXML(foundation::Value(record));
    if (!bytes)
        return;
    // A record that cannot be written only costs the next request its click summary.
    static_cast<void>(foundation::FileManager::writeAtomicallyBelow(
        home(), shortClickRelativePath(), bytes.value()));
}

void removeShortClickFile() {
    static_cast<void>(foundation::FileManager::removeItemBelow(home(), shortClickRelativePath()));
}

} // namespace

std::shared_ptr<Ad> Ad::create(int format) { return std::shared_ptr<Ad>(new Ad(format)); }

Ad::Ad(int format) : format_(format) {}

Ad::~Ad() {
    cancelInterstitialTimeout();
    for (const auto& download : activeDownloads_)
        download->cancel();
}

// Request ------------------------------------------------------------------------------------

void Ad::request() {
    if (state_ != kCreated)
        return;
    if (format_ == kFullScreen) {
        initTimeoutInterval();
        if (timeoutInterval_ > 0)
            timeoutTimer_.start(foundation::Seconds(timeoutInterval_), false,
                                [this] { timeoutAd(); });
    }
    Localizer::sharedLocalizer().downloadResourcesIfNecessary();
    loadBrowserIcons();
}

void Ad::loadBrowserIcons() {
    state_ = kLoadingBrowserIcons;
    for (const auto name : kBrowserIcons)
        if (!ImageCache::sharedCache().imageIsInCache(name))
            addDownload(Endpoints::browserIconURL(name), std::string(name));
    if (activeDownloads_.empty())
        browserIconsDidFinishLoading();
}

void Ad::browserIconDidLoad(const URLDownload& download) {
    const auto image = graphics::Image::fromData(download.data());
    if (!image)
        return requestDidFail();
    // An icon the cache cannot keep is fetched again by the next ad.
    static_cast<void>(ImageCache::sharedCache().storeImage(image, download.identifier()));
    if (activeDownloads_.empty())
        browserIconsDidFinishLoading();
}

void Ad::browserIconsDidFinishLoading() {
    state_ = kIconsReady;
    requestAdFromServer();
}

void Ad::requestAdFromServer() {
    if (state_ != kIconsReady)
        return;
    const auto query = URLDownload::queryStringFromDictionary(buildParamsWithLastClickInfo(true));
    const auto url = adRequestEndpoint() + "?" + query;
    state_ = kRequestSent;
    addDownload(url, "");
}

std::string Ad::adRequestEndpoint() const {
    const auto delegate = delegate_.lock();
    return Endpoints::adRequestEndpoint(delegate ? delegate->adserverEndpoint() : std::nullopt);
}

foundation::Dictionary Ad::buildParamsWithLastClickInfo(bool lastClickInfo) {
    foundation::Dictionary parameters;
    parameters.reserve(25);
    const auto delegate = delegate_.lock();
    if (delegate)
        parameters.set("s", delegate->publisherId());
    parameters.set("f", "jsonp");
    parameters.set("v", std::string(kVersion) + "-iSDK-5096df531ccfaf53");
    parameters.set("ex", "1");
    parameters.set("client_sdk", "1");
    parameters.set("ad_type", format_ == kFullScreen ? "full_screen" : "bar");
    if (format_ == kFullScreen)
        parameters.set("event", std::to_string(event_));
    parameters.set("audio", std::to_string(AppData::audioRoute()));
    const int orientation = ui::Application::shared().statusBarOrientation();
    parameters.set("so", orientation == 3 || orientation == 4 ? "l" : "p");
    if (classExists("RollerAdView"))
        parameters.set("pub_data[ar]", "1");
    if (classExists("TJConnectSession"))
        parameters.set("pub_data[tj]", "1");
    if (lastClickInfo)
        addShortClickDataToDictionary(parameters);
    if (auto identifier = ui::Device::current().uniqueIdentifier(); !identifier.empty())
        parameters.set("isu", std::move(identifier));
    const auto& appData = AppData::sharedAppData();
    setIfGiven(parameters, "pub_data[display_name]", appData.bundleDisplayName());
    setIfGiven(parameters, "pub_data[name]", appData.bundleName());
    setIfGiven(parameters, "pub_data[identifier]", appData.bundleIdentifier());
    if (delegate)
        addTestModeParameters(parameters, *delegate);
    for (const auto& [key, value] : userDemographicInfo())
        parameters.set(key, value);
    setIfGiven(parameters, "l", Localizer::sharedLocalizer().preferredLanguage());
    if (delegate) {
        setIfGiven(parameters, "search", delegate->searchString());
        setIfGiven(parameters, "k", delegate->keywords());
    }
    return parameters;
}

void Ad::addTestModeParameters(foundation::Dictionary& parameters, Delegate& delegate) {
    if (!delegate.useTestAd().value_or(false))
        return;
    if (AppData::sharedAppData().hasITunesMetadata()) {
        foundation::Log::write(kTestAdRefusedMessage);
        return;
    }
    parameters.set("m", "test");
    setIfGiven(parameters, "test_action", delegate.testAdAction());
}

foundation::Dictionary Ad::userDemographicInfo() {
    foundation::Dictionary info;
    const auto delegate = delegate_.lock();
    if (!delegate)
        return info;
    if (delegate->mayAskForLocation().value_or(false))
        addLocation(info, *delegate);
    setIfGiven(info, "d[pc]", delegate->postalCode());
    setIfGiven(info, "d[ac]", delegate->areaCode());
    setIfGiven(info, "d[gender]", delegate->gender());
    if (const auto birth = delegate->dateOfBirth())
        info.set("d[dob]", birth->format("yyyyMMdd"));
    return info;
}

void Ad::addLocation(foundation::Dictionary& info, Delegate& delegate) {
    if (const auto given = delegate.location()) {
        if (*given)
            info.set("d[coord]", LocationManager::stringForLocation(**given));
        return;
    }
    auto& manager = LocationManager::sharedManager();
    if (!manager.locationServicesEnabled())
        return;
    manager.updateIfAppropriate();
    const auto& text = manager.locationString();
    const auto& updated = manager.lastUpdated();
    if (text && updated) {
        info.set("d[coord]", *text);
        info.set("d[coord_timestamp]", fmt::format("{:f}", updated->timeIntervalSince1970()));
    }
}

// Short-click record --------------------------------------------------------------------------

std::string Ad::shortClickFilePath() {
    return home().empty() ? std::string() : home() + "/" + shortClickRelativePath();
}

void Ad::saveClick() {
    const auto url = jsonpUrl_ ? foundation::URL::create(*jsonpUrl_) : std::nullopt;
    if (!url || home().empty())
        return;
    writeShortClickFile(
        foundation::Dictionary{{"t", url->lastPathComponent()},
                               {"c", foundation::Value::number(foundation::absoluteTimeNow())}});
}

void Ad::setEngagementInterval(double seconds) {
    const auto file = readShortClickFile();
    if (!file.exists)
        return;
    foundation::Dictionary updated =
        file.record ? file.record->asDictionary() : foundation::Dictionary();
    updated.set("e", foundation::Value::number(seconds));
    writeShortClickFile(updated);
}

void Ad::addShortClickDataToDictionary(foundation::Dictionary& parameters) {
    const auto file = readShortClickFile();
    if (!file.exists)
        return;
    // A click is reported with one request at most, and a bad record never again.
    removeShortClickFile();
    if (!file.record)
        return;
    const auto& record = *file.record;
    const auto& clickTime = record["c"];
    const auto& target = record["t"];
    const auto& engagement = record["e"];
    if (!clickTime.isNumber() || !target.isString())
        return;
    const std::string suffix =
        engagement.isNumber() ? fmt::format(",{:.2f}", engagement.doubleValue()) : "";
    const double elapsed = foundation::absoluteTimeNow() - clickTime.doubleValue();
    if (elapsed > 0)
        parameters.set("pub_data[sc]",
                       fmt::format("{},{:.2f}{}", target.asString(), elapsed, suffix));
}

// Full-screen time-out -----------------------------------------------------------------------

void Ad::initTimeoutInterval() {
    const float stored = foundation::UserDefaults::standard().floatForKey(kTimeoutDefaultsKey);
    if (stored > 0)
        timeoutInterval_ = stored;
    else
        setTimeoutIntervalDefault(kDefaultTimeoutSeconds);
}

void Ad::setTimeoutIntervalDefault(double seconds) {
    if (!(seconds > 0) || seconds == timeoutInterval_)
        return;
    timeoutInterval_ = seconds;
    foundation::UserDefaults::standard().setFloat(kTimeoutDefaultsKey, static_cast<float>(seconds));
}

void Ad::timeoutAd() {
    hasTimedOut_ = true;
    requestDidFail();
}

void Ad::cancelInterstitialTimeout() {
    if (format_ == kFullScreen)
        timeoutTimer_.stop();
}

// Downloads ----------------------------------------------------------------------------------

void Ad::addDownload(const std::string& url, const std::string& identifier,
                     std::optional<foundation::Data> postBody) {
    auto download = URLDownload::create();
    download->setIdentifier(identifier);
    download->setSuccessCallback([this](URLDownload& done) { downloadDidSucceed(done); });
    download->setFailureCallback([this](URLDownload& done) { downloadDidFail(done); });
    download->loadContentsOfURLAtString(url, std::move(postBody));
    activeDownloads_.insert(std::move(download));
}

std::shared_ptr<URLDownload> Ad::take(URLDownload& download) {
    auto finished = download.shared_from_this();
    activeDownloads_.erase(finished);
    return finished;
}

void Ad::downloadDidSucceed(URLDownload& download) {
    // The owner may drop this ad from inside any report below.
    const auto protector = shared_from_this();
    const auto finished = take(download);
    switch (state_) {
    case kLoadingBrowserIcons:
        browserIconDidLoad(*finished);
        break;
    case kRequestSent:
        loadAdWithData(finished->data());
        break;
    case kLoadingImages:
        imageDidLoad(*finished);
        break;
    case kClicking:
        performClickWithData(finished->data());
        break;
    default:
        break;
    }
    finished->cancel();
}

void Ad::downloadDidFail(URLDownload& download) {
    const auto protector = shared_from_this();
    const auto finished = take(download);
    finished->cancel();
    switch (state_) {
    case kLoadingBrowserIcons:
    case kRequestSent:
    case kLoadingImages:
        return requestDidFail();
    case kClicking:
        return clickDidFail();
    default:
        return;
    }
}

// Response -----------------------------------------------------------------------------------

void Ad::loadAdWithData(const foundation::Data& body) {
    if (body.empty())
        return requestDidFail();
    parser_ = std::make_unique<foundation::WorkerThread>("pennant-ad-parse");
    parser_->performThenReply<std::optional<foundation::Value>>(
        [bytes = body]() -> std::optional<foundation::Value> {
            auto parsed = json::JSONDeserializer().deserializeAsDictionary(bytes);
            return parsed ? std::optional(std::move(parsed).value()) : std::nullopt;
        },
        weak_from_this(),
        [this](std::optional<foundation::Value> parsed) {
            didFinishParsingAdData(std::move(parsed));
        });
}

void Ad::didFinishParsingAdData(std::optional<foundation::Value> parsed) {
    const auto protector = shared_from_this();
    // A time-out may have ended the request while the parse ran.
    if (state_ != kRequestSent)
        return;
    if (!parsed || !parsed->isDictionary() || parsed->asDictionary().empty())
        return requestDidFail();
    adData_ = std::move(*parsed);
    if (format_ == kFullScreen)
        readFullScreenResponse();
    else
        readBannerResponse();
}

void Ad::readFullScreenResponse() {
    if (const auto& timeout = adData_["timeout"];
        timeout.isNumber() && static_cast<float>(timeout.doubleValue()) > 0)
        setTimeoutIntervalDefault(static_cast<float>(timeout.doubleValue()));
    opener_ = Opener::create(adData_, delegate_);
    openerIsSet_ = true;
    const int action = opener_ ? opener_->action() : Opener::kNoAction;
    if (action == Opener::kScreen)
        medium_ = kFullScreenPage;
    else if (action == Opener::kMovie)
        medium_ = kFullScreenMovie;
    else
        return requestDidFail();
    accountingPixelUrl_ = opener_->accountingURL();
    trackingPixelUrl_ = opener_->thirdPartyTrackingURL();
    requestDidSucceed();
}

void Ad::readBannerResponse() {
    accountingPixelUrl_ = nonEmptyStringAt(adData_, "cpm_url");
    if (const auto pixel = nonEmptyStringAt(adData_, "tracking_pixel"))
        trackingPixelUrl_ = foundation::URL::create(*pixel) ? *pixel : escapeForURL(*pixel);
    jsonpUrl_ = stringAt(adData_, "jsonp_url");
    if (const auto& parameters = adData_["o"]; parameters.isDictionary()) {
        opener_ = Opener::create(parameters, delegate_);
        openerIsSet_ = true;
        // Open parameters the opener cannot act on leave the ad nothing to do when tapped.
        if (!opener_)
            return requestDidFail();
    } else if (!readPlainAd()) {
        return requestDidFail();
    }
    if (const auto& markup = adData_["markup"]; markup.isDictionary())
        return loadFlexAd(markup);
    loadImages();
}

void Ad::loadFlexAd(const foundation::Value& markup) {
    state_ = kLoadingFlexAd;
    const auto owner = adDelegate_.lock();
    const graphics::Rect frame({0, 0}, owner ? owner->adSize() : graphics::Size{});
    // The owner builds it (it knows the views); it reports back through this ad, maybe at once.
    auto built =
        owner
            ? owner->newFlexAd(markup, std::static_pointer_cast<FlexAdDelegate>(shared_from_this()),
                               delegate_, frame)
            : nullptr;
    if (!built && state_ == kLoadingFlexAd) {
        foundation::Log::write(kRichAdsUnsupportedMessage);
        return requestDidFail();
    }
    if (state_ == kLoadingFlexAd)
        flexAd_ = std::move(built);
}

void Ad::flexAdDidLoad(const std::shared_ptr<FlexAd>& flexAd) {
    if (state_ != kLoadingFlexAd)
        return;
    // Kept before the owner hears of it: a flex ad may finish while it is being made.
    flexAd_ = flexAd;
    requestDidSucceed();
}

void Ad::flexAdDidFailLoadWithError(const std::shared_ptr<FlexAd>&, const foundation::Error&) {
    if (state_ == kLoadingFlexAd)
        requestDidFail();
}

bool Ad::readPlainAd() {
    text_ = stringAt(adData_, "text");
    const auto actionName = stringAt(adData_, "6");
    action_ = Opener::actionFromString(actionName.value_or(""));
    actionImageName_ = stringAt(adData_, "18");
    if (!actionImageName_)
        actionImageName_ = actionName;
    userString_ = stringAt(adData_, "8");
    suggestionUrl_ = stringAt(adData_, "suggestion_url");
    searchPlaceholder_ = stringAt(adData_, "21");
    searchHelpURL_ = stringAt(adData_, "22");
    if (const auto banner = stringAt(adData_, "banner")) {
        imageURL_ = banner;
        medium_ = kImageBanner;
    } else if (const auto path = stringAt(adData_, "204")) {
        imageURL_ = Endpoints::staticContentURL(*path);
    }
    // Any value marks a search ad, JSON null included.
    if (adData_.asDictionary().contains("20"))
        medium_ = kSearchAd;
    opener_ = Opener::create();
    opener_->setAction(action_);
    opener_->setTitle(userString_);
    opener_->setPublisherDelegate(delegate_);
    return actionName && jsonpUrl_;
}

void Ad::loadImages() {
    if (!actionImageName_ || !imageURL_ || (!text_ && medium_ == kTextBanner))
        return requestDidFail();
    state_ = kLoadingImages;
    addDownload(*imageURL_, kUserImage);
    auto& cache = ImageCache::sharedCache();
    if (cache.imageIsInCache(*actionImageName_))
        actionImage_ = cache.fetchImageNamed(*actionImageName_);
    else if (*actionImageName_ != "search")
        addDownload(Endpoints::actionIconURL(*actionImageName_), kActionIcon);
}

void Ad::imageDidLoad(const URLDownload& download) {
    // The decoder refuses images beyond the platform's bound, which fails the ad too.
    auto image = graphics::Image::fromData(download.data());
    if (!image)
        return requestDidFail();
    if (download.identifier() == kUserImage)
        userImage_ = std::move(image);
    else if (download.identifier() == kActionIcon)
        actionImage_ = std::move(image);
    if (activeDownloads_.empty())
        requestDidSucceed();
}

void Ad::requestDidSucceed() {
    if (state_ == kLoaded || state_ == kFailed)
        return;
    // A loaded ad no longer times out.
    cancelInterstitialTimeout();
    state_ = kLoaded;
    if (const auto owner = adDelegate_.lock())
        owner->adDidLoad(*this);
}

void Ad::requestDidFail() {
    if (state_ == kLoaded || state_ == kFailed)
        return;
    cancelInterstitialTimeout();
    for (const auto& download : std::exchange(activeDownloads_, {}))
        download->cancel();
    flexAd_.reset();
    state_ = kFailed;
    if (const auto owner = adDelegate_.lock())
        owner->adDidFailToLoad(*this);
}

// Display ------------------------------------------------------------------------------------

void Ad::loadAccountingPixel() {
    if (accountingPixelLoaded_)
        return;
    accountingPixelLoaded_ = true;
    Opener::fireAccountingURL(accountingPixelUrl_);
    Opener::fireAccountingURL(trackingPixelUrl_);
}

graphics::Color Ad::backgroundColor() const {
    const auto delegate = delegate_.lock();
    const auto given = delegate ? delegate->adBackgroundColor() : std::nullopt;
    return given.value_or(graphics::Color(0.443f, 0.514f, 0.631f, 1.0f));
}

graphics::Color Ad::textColor() const {
    const auto delegate = delegate_.lock();
    const auto given = delegate ? delegate->primaryTextColor() : std::nullopt;
    return given.value_or(graphics::Color(1, 1, 1, 1));
}

int Ad::spinnerStyle() const {
    const auto delegate = delegate_.lock();
    return delegate && delegate->useGraySpinner().value_or(false) ? 2 : 1;
}

// Clicks -------------------------------------------------------------------------------------

void Ad::clickWithData(const std::optional<foundation::Dictionary>& clickData) {
    const auto protector = shared_from_this();
    if (clicked_) {
        if (!openerIsSet_)
            return clickDidSucceedWithResponse(clickData_);
        opener_->open();
        return clickDidSucceedWithResponse(std::nullopt);
    }
    clicked_ = true;
    state_ = kClicking;
    saveClick();
    std::optional<foundation::Data> body;
    if (clickData)
        if (const auto text = json::JSONSerializer().serializeDictionary(*clickData))
            body = foundation::Data::fromString(text.value());
    if (openerIsSet_) {
        opener_->setAccountingURL(jsonpUrl_);
        opener_->setAccountingURLPostBody(std::move(body));
        opener_->open();
        return clickDidSucceedWithResponse(std::nullopt);
    }
    addDownload(jsonpUrl_.value_or(""), "", std::move(body));
}

void Ad::performClickWithData(const foundation::Data& body) {
    if (openerIsSet_)
        return;
    if (body.empty())
        return clickDidFail();
    const auto parsed = json::JSONDeserializer().deserializeAsDictionary(body);
    clickData_ = parsed && parsed.value().isDictionary()
                     ? std::optional(parsed.value().asDictionary())
                     : std::nullopt;
    clickDidSucceedWithResponse(clickData_);
}

void Ad::clickDidSucceedWithResponse(const std::optional<foundation::Dictionary>& response) {
    state_ = kLoaded;
    if (const auto owner = adDelegate_.lock())
        owner->clickDidSucceed(*this, response);
}

void Ad::clickDidFail() {
    // A click the network never heard of is not a click: the next tap asks again, and the
    // next request reports nothing for it.
    clicked_ = false;
    removeShortClickFile();
    state_ = kLoaded;
    if (const auto owner = adDelegate_.lock())
        owner->clickDidFail(*this);
}

} // namespace pennant
