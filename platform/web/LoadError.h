#pragma once

#ifndef INSIDE_PLATFORM_WEB
#error "LoadError.h belongs to the WebKitGTK backend: include it only from platform/web"
#endif

#include "platform/foundation/Error.h"

#include <glib.h>

namespace web {

// WebKit's, GIO's and the resolver's load failures in the platform's URL-loading codes, so
// callers see the same errors whatever engine draws the page.
class LoadError {
public:
    static constexpr const char* kURLErrorDomain = "NSURLErrorDomain";
    static constexpr const char* kWebKitErrorDomain = "WebKitErrorDomain";
    static constexpr long kUnknown = -1;
    static constexpr long kCancelled = -999;
    static constexpr long kBadURL = -1000;
    static constexpr long kTimedOut = -1001;
    static constexpr long kUnsupportedURL = -1002;
    static constexpr long kCannotFindHost = -1003;
    static constexpr long kCannotConnectToHost = -1004;
    static constexpr long kNetworkConnectionLost = -1005;
    static constexpr long kNotConnectedToInternet = -1009;
    static constexpr long kSecureConnectionFailed = -1200;
    // A navigation the page or its delegate stopped: not a failure of the network.
    static constexpr long kFrameLoadInterrupted = 102;

    static foundation::Error from(const GError& error);
    static foundation::Error timedOut(const char* message);
};

} // namespace web
