#pragma once

#ifndef INSIDE_PLATFORM_WEB
#error "WebEngine.h belongs to the WebKitGTK backend: include it only from platform/web"
#endif

#include <webkit2/webkit2.h>

#include <optional>
#include <string>

namespace web {

// GTK and the one WebKit context of the process: ephemeral (nothing written to disk), every
// view related to one hidden view so that they share a single web process, started once per
// run. GTK cannot be initialised twice, so this outlives every platform context.
class WebEngine {
public:
    // Main thread; nullptr when there is no display to run GTK on.
    static WebEngine* shared();

    // A new view in the shared web process, with scripts on and no GPU compositing, so that
    // snapshots are the same on every machine.
    WebKitWebView* createView(const std::string& userAgent) const;
    // Sends every load through this proxy ("http://HOST:PORT"), or straight out when nullopt.
    void useProxy(const std::optional<std::string>& proxyURI);

private:
    WebEngine();

    WebKitWebContext* context_ = nullptr;
    WebKitWebView* root_ = nullptr;
    std::optional<std::string> proxy_;
    bool proxyApplied_ = false;
};

} // namespace web
