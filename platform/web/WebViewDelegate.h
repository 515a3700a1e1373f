#pragma once

#include "platform/web/NavigationType.h"
#include "platform/web/WebRequest.h"

#include <optional>

namespace foundation {
struct Error;
}

namespace web {

class WebView;

// What a web view tells its owner. Every method is optional; none is called from inside
// WebKit, so each may call back into the view, scripts included.
class WebViewDelegate {
public:
    virtual ~WebViewDelegate() = default;

    // Asked before every navigation: loads, link taps, script navigations, back and forward,
    // reloads. false stops it before anything is fetched; nullopt lets it go ahead.
    virtual std::optional<bool> shouldStartLoad(WebView&, const WebRequest&, NavigationType) {
        return std::nullopt;
    }
    virtual void didStartLoad(WebView&) {}
    virtual void didFinishLoad(WebView&) {}
    // The error is in the platform's URL-loading codes (NSURLErrorDomain).
    virtual void didFailLoad(WebView&, const foundation::Error&) {}
};

} // namespace web
