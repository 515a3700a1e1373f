#pragma once

#include "platform/foundation/Forward.h"
#include "platform/net/CachePolicy.h"

#include <string>

namespace web {

// What a web view is asked to load.
struct WebRequest {
    std::string url;
    net::CachePolicy cachePolicy = net::CachePolicy::UseProtocolCachePolicy;
    // The longest the page may take to finish loading, in real time.
    foundation::Seconds timeout{60};

    bool operator==(const WebRequest&) const = default;
};

} // namespace web
