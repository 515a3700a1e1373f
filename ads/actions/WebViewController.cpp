#include "ads/actions/WebViewController.h"

#include "ads/actions/InterstitialAd.h"
#include "ads/request/AnalyticsData.h"
#include "ads/request/Endpoints.h"
#include "ads/request/Localizer.h"
#include "ads/request/Opener.h"
#include "ads/request/URLDownload.h"
#include "platform/foundation/Error.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/URL.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Screen.h"
#include "platform/web/WebView.h"
#include "json/JSONDeserializer.h"

#include <algorithm>
#include <array>

namespace pennant {

namespace {

constexpr std::array<std::string_view, 9> kMovieExtensions = {"mp4", "mov",  "qt",  "mqv", "m4v",
                                                              "3gp", "3gpp", "3g2", "3gp2"};
constexpr float kSpinnerSize = 20;
// The page view goes a moment after its screen, so a callback already on its way finds it.
constexpr foundation::Seconds kPageReleaseDelay{1.0};

template <std::size_t N>
bool contains(const std::array<std::string_view, N>& set, std::string_view value) {
    return std::ranges::find(set, value) != set.end();
}

bool isMapHost(std::string_view host) {
    return std::ranges::any_of(Endpoints::kMapHostPrefixes, [host](std::string_view prefix) {
        return host.starts_with(prefix);
    });
}

bool isVideoSitePage(const foundation::URL& url) {
    const auto& path = url.path();
    return contains(Endpoints::kVideoSiteHosts, url.host()) &&
           (path.starts_with("/watch") || path.starts_with("/v/"));
}

// The platform's URL-loading error codes, grouped by what the user is told.
std::string messageKeyForCode(long code) {
    switch (code) {
    case -1000:
    case -1002:
        return "That page is not supported.";
    case -1001:
    case -1004:
    case -1005:
    case -1008:
    case -1009:
    case -2000:
        return "Couldn't connect to that page.";
    case -1103:
        return "That page is too large to load.";
    case -1101:
    case -1100:
        return "That file can't be displayed.";
    default:
        break;
    }
    if (code >= -1204 && code <= -1200)
        return "That page is not secure.";
    if (code >= -3005 && code <= -3000)
        return "That file can't be displayed.";
    return "That page could not be loaded.";
}

std::string localized(const std::string& key) {
    return Localizer::sharedLocalizer().localizedStringForKey(key);
}

} // namespace

std::shared_ptr<WebViewController> WebViewController::create(bool transparent) {
    std::shared_ptr<WebViewController> screen(new WebViewController(transparent));
    screen->attachPage();
    return screen;
}

WebViewController::WebViewController(bool transparent)
    : initialFrame_(ui::Screen::main().bounds()) {
    webView_ = web::WebView::create(initialFrame_);
    webView_->setScalesPageToFit(true);
    webView_->setAutoresizingMask(ui::AutoresizingFlexibleWidth | ui::AutoresizingFlexibleHeight |
                                  ui::AutoresizingFlexibleTopMargin |
                                  ui::AutoresizingFlexibleBottomMargin);
    if (transparent) {
        webView_->setOpaque(false);
        webView_->setBackgroundColor(graphics::Color::colorWithWhite(0, 0));
    }
    loadingSpinner_ = ui::ActivityIndicatorView::create(ui::ActivityIndicatorViewStyle::White);
}

void WebViewController::attachPage() {
    webView_->setDelegate(std::static_pointer_cast<WebViewController>(shared_from_this()));
}

WebViewController::~WebViewController() {
    if (webView_->isLoading())
        webView_->stopLoading();
    webView_->setDelegate({});
    webView_->resignFirstResponder();
    webView_->removeFromSuperview();
    auto page = webView_;
    foundation::RunLoop::main().postAfter(kPageReleaseDelay, page, [page] {});
}

void WebViewController::load(const foundation::URL& url) {
    webView_->loadRequest({url.absoluteString()});
}

void WebViewController::loadViewWithBounds(const graphics::Rect& bounds) {
    webView_->setFrame(bounds);
    view()->addSubview(webView_);
    if (firstShow_ && loaded_ && bounds != initialFrame_) {
        // A page loaded ahead for another shape is laid out again before it is shown.
        webView_->reload();
        delayFadeInAnimation_ = true;
        webView_->setAlpha(0);
    }
    firstShow_ = false;
    if (loadingSpinner_) {
        loadingSpinner_->setFrame({(bounds.width() - kSpinnerSize) * 0.5f,
                                   (bounds.height() - kSpinnerSize) * 0.5f, kSpinnerSize,
                                   kSpinnerSize});
        loadingSpinner_->startAnimating();
        webView_->addSubview(loadingSpinner_);
    }
}

void WebViewController::willTakeControl() {
    if (failAlert_ && failAlert_->isVisible())
        failAlert_->dismissWithClickedButtonIndex(0, false);
}

// Link policy ------------------------------------------------------------------------------

std::optional<bool> WebViewController::shouldStartLoad(web::WebView&,
                                                       const web::WebRequest& request,
                                                       web::NavigationType) {
    const auto url = foundation::URL::create(request.url);
    // Nothing the policy can read is loaded.
    return url && allowsInPlace(*url);
}

bool WebViewController::allowsInPlace(const foundation::URL& url) {
    const auto& scheme = url.scheme();
    if (scheme == "pennant") {
        runBridgeCommand(url);
        return false;
    }
    if (scheme == "file")
        return false;
    if (scheme == "about")
        return true;
    if ((scheme != "http" && scheme != "https") || isMapHost(url.host()) || isVideoSitePage(url) ||
        Opener::isITunesURL(url)) {
        Opener::launchNewApplication(url, pubDelegate());
        return false;
    }
    if (contains(kMovieExtensions, url.pathExtension())) {
        Opener::displayMovie(url, pubDelegate());
        return false;
    }
    return true;
}

void WebViewController::runBridgeCommand(const foundation::URL& url) {
    const auto& command = url.host();
    const auto parameters = URLDownload::dictionaryFromQueryString(url.query());
    if (command == "launch") {
        const auto& target = parameters.get("url");
        if (target.isString())
            if (auto destination = foundation::URL::create(target.asString()))
                Opener::displayBrowser(*destination, pubDelegate());
    } else if (command == "open") {
        if (const auto& script = parameters.get("vars"); script.isString())
            openFromScript(std::string(script.asString()));
    } else if (command == "closecanvas") {
        relinquishScreen();
    }
}

void WebViewController::openFromScript(const std::string& script) {
    const auto result = webView_->stringByEvaluatingJavaScriptFromString(script);
    if (result.empty())
        return;
    if (result.size() > kMaxOpenParametersBytes) {
        foundation::log("<Pennant> Ignored a page's open command: {} bytes of parameters.",
                        result.size());
        return;
    }
    auto opener =
        Opener::createFromJSON(foundation::Data(result.data(), result.size()), pubDelegate());
    if (!opener) {
        foundation::log("<Pennant> Ignored a page's open command: no action to open.");
        return;
    }
    // A page may ask for a call or a contact, never place or add one without asking.
    opener->requirePrompt();
    opener->open();
}

// Load events ------------------------------------------------------------------------------

void WebViewController::didFinishLoad(web::WebView&) {
    if (delayFadeInAnimation_) {
        delayFadeInAnimation_ = false;
        webView_->setAlpha(1);
        setupFadeInAnimation();
    }
    if (!loaded_) {
        loaded_ = true;
        if (auto spinner = std::exchange(loadingSpinner_, nullptr))
            spinner->removeFromSuperview();
    }
    if (const auto& visits = analytics()) {
        const auto& request = webView_->request();
        visits->recordVisit(request ? std::optional(request->url) : std::nullopt,
                            foundation::Dictionary{{"title", pageTitle()}});
    }
    if (const auto& interstitial = interstitialAd())
        interstitial->interstitialReady();
}

void WebViewController::didFailLoad(web::WebView&, const foundation::Error& error) {
    if (!loaded_ && interstitialAd()) {
        loaded_ = true;
        foundation::log("<Pennant> Interstitial web view failed to load: {} {}: {}", error.domain,
                        error.code, error.message);
        interstitialAd()->interstitialDidFailToLoad();
        return;
    }
    // An interrupted frame load and a cancelled load are no failure the user made.
    if ((error.domain == "WebKitErrorDomain" && error.code == 102) || error.code == -999)
        return;
    showFailure(messageKeyForCode(error.code));
}

void WebViewController::showFailure(const std::string& messageKey) {
    const auto message = localized(messageKey);
    foundation::log("<Pennant> Warning: {}", message);
    if (failAlert_)
        failAlert_->setMessage(message);
    else
        failAlert_ = ui::AlertView::create(localized("Whoops"), message,
                                           std::weak_ptr<ui::AlertViewDelegate>(), localized("Ok"),
                                           std::vector<std::string>{});
    failAlert_->show();
}

std::string WebViewController::pageTitle() {
    return webView_->stringByEvaluatingJavaScriptFromString("document.title");
}

void WebViewController::mailWithSubject(const std::string& subject, const std::string& body) {
    const auto text = fmt::format("mailto:?subject={}&body={}", URLDownload::encodeURL(subject),
                                  URLDownload::encodeURL(body));
    if (auto url = foundation::URL::create(text))
        Opener::launchNewApplication(*url, pubDelegate());
}

} // namespace pennant
