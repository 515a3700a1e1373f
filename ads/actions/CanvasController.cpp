#include "ads/actions/CanvasController.h"

#include "ads/request/Endpoints.h"
#include "platform/ui/Application.h"
#include "platform/ui/Screen.h"
#include "platform/web/WebView.h"

#include <fmt/format.h>

namespace pennant {

namespace {

// A single-quoted script string literal holding exactly the text. Quotes, backslashes and
// line breaks would otherwise end the literal or change what the page receives.
std::string scriptString(const std::string& text) {
    std::string literal = "'";
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\'' || c == '\\') {
            literal += '\\';
            literal += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7f) {
            literal += fmt::format("\\x{:02x}", c);
        } else if (c == 0xe2 && i + 2 < text.size() && text[i + 1] == '\x80' &&
                   (text[i + 2] == '\xa8' || text[i + 2] == '\xa9')) {
            // The line and paragraph separators end a line inside a script literal too.
            literal += text[i + 2] == '\xa8' ? "\\u2028" : "\\u2029";
            i += 2;
        } else {
            literal += static_cast<char>(c);
        }
    }
    return literal + "'";
}

} // namespace

std::shared_ptr<CanvasController> CanvasController::create(bool transparent) {
    std::shared_ptr<CanvasController> screen(new CanvasController(transparent));
    screen->attachPage();
    return screen;
}

void CanvasController::presentCanvasFromView(std::shared_ptr<ui::View> adView,
                                             const foundation::URL& url,
                                             std::optional<std::string> title,
                                             std::weak_ptr<Delegate> delegate,
                                             std::function<std::shared_ptr<Ad>()> displayedAd) {
    canvasUrl_ = url.absoluteString() + "#sdk";
    canvasTitle_ = title.value_or("");
    web::WebRequest request{Endpoints::canvasURL()};
    request.cachePolicy = net::CachePolicy::ReloadIgnoringLocalAndRemoteCacheData;
    request.timeout = kTimeout;
    webView()->loadRequest(request);
    commandeerScreenFromAdView(std::move(adView), kBackdrop, std::move(delegate),
                               std::move(displayedAd));
}

void CanvasController::loadViewWithBounds(const graphics::Rect&) {
    const auto screen = convertApplicationFrame(ui::Screen::main().bounds(),
                                                ui::Application::shared().statusBarOrientation());
    WebViewController::loadViewWithBounds(
        {(screen.width() - kWidth) * 0.5f, (screen.height() - kHeight) * 0.5f, kWidth, kHeight});
    // The page keeps its size and stays centred as the screen turns.
    webView()->setAutoresizingMask(
        ui::AutoresizingFlexibleLeftMargin | ui::AutoresizingFlexibleRightMargin |
        ui::AutoresizingFlexibleTopMargin | ui::AutoresizingFlexibleBottomMargin);
}

bool CanvasController::webviewIsFromPennant() {
    return webView()->stringByEvaluatingJavaScriptFromString("typeof(pennant)") != "undefined";
}

std::string CanvasController::callbackScript(const std::string& url, const std::string& title) {
    return fmt::format("cb({}, {})", scriptString(url), scriptString(title));
}

void CanvasController::didFinishLoad(web::WebView& view) {
    if (!loaded()) {
        if (!webviewIsFromPennant()) {
            relinquishScreen();
            return;
        }
        webView()->stringByEvaluatingJavaScriptFromString(callbackScript(canvasUrl_, canvasTitle_));
    }
    WebViewController::didFinishLoad(view);
}

void CanvasController::didFailLoad(web::WebView&, const foundation::Error&) {
    // Before the canvas page is in, the screen has nothing to show; afterwards failures of
    // the ad's content are the page's to handle.
    if (!loaded())
        relinquishScreen();
}

} // namespace pennant
