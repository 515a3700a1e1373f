#pragma once

#include "platform/foundation/Data.h"
#include "platform/foundation/RunLoop.h"
#include "platform/net/CachePolicy.h"

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace net {

struct HTTPRequest {
    static constexpr std::size_t kDefaultMaxBodyBytes = 16 * 1024 * 1024;

    std::string url;
    std::vector<std::pair<std::string, std::string>> headers;
    // A body makes the request a POST; without one it is a GET.
    std::optional<foundation::Data> body;
    // The longest the request may go without hearing from the server.
    foundation::Seconds timeout{60};
    CachePolicy cachePolicy = CachePolicy::UseProtocolCachePolicy;
    // The largest body accepted; only a movie download asks for more than the default.
    std::size_t maxBodyBytes = kDefaultMaxBodyBytes;
};

} // namespace net
