#pragma once

#include "platform/foundation/Forward.h"

#include <string>
#include <utility>

namespace web {

// Settings every web view of the process shares, set by whoever configures the platform:
// the user agent pages see (the client's own, the same its downloads send).
class WebContext {
public:
    static WebContext& shared();

    const std::string& userAgent() const { return userAgent_; }
    // Views made after this use it; an empty string leaves WebKit's own.
    void setUserAgent(std::string userAgent) { userAgent_ = std::move(userAgent); }

private:
    friend class foundation::Singleton<WebContext>;
    WebContext() = default;

    std::string userAgent_;
};

} // namespace web
