#include "platform/web/WebContext.h"

#include "platform/foundation/Singleton.h"

namespace web {

WebContext& WebContext::shared() { return foundation::Singleton<WebContext>::shared(); }

foundation::Subscription
WebContext::addLoadObserver(std::function<void(const LoadEvent&)> observer) {
    return observers_.subscribe(std::move(observer));
}

} // namespace web
