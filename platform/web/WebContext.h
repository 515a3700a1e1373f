#pragma once

#include "platform/foundation/Forward.h"
#include "platform/foundation/Subscribers.h"
#include "platform/web/LoadEvent.h"

#include <functional>
#include <memory>
#include <string>
#include <utility>

namespace web {

class WebView;

// Settings and observers every web view of the process shares, set by whoever configures the
// platform: the user agent pages see (the client's own, the same its downloads send).
class WebContext {
public:
    static WebContext& shared();

    const std::string& userAgent() const { return userAgent_; }
    // Views made after this use it; an empty string leaves WebKit's own.
    void setUserAgent(std::string userAgent) { userAgent_ = std::move(userAgent); }

    // Every view's load events, on the main loop, while the subscription lives.
    [[nodiscard]] foundation::Subscription
    addLoadObserver(std::function<void(const LoadEvent&)> observer);
    void notifyLoad(const LoadEvent& event) const { observers_.notify(event); }

    // The view that last started loading, while it lives: where a test driver runs its scripts.
    std::shared_ptr<WebView> latestView() const { return latest_.lock(); }
    void setLatestView(std::weak_ptr<WebView> view) { latest_ = std::move(view); }

private:
    friend class foundation::Singleton<WebContext>;
    WebContext() = default;

    std::string userAgent_;
    foundation::Subscribers<const LoadEvent&> observers_;
    std::weak_ptr<WebView> latest_;
};

} // namespace web
