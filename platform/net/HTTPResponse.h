#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace net {

// The status line and headers of the final (non-redirect) response.
struct HTTPResponse {
    int statusCode = 0;
    std::string url;
    std::vector<std::pair<std::string, std::string>> headers;

    // The first header of that name, compared without regard to case.
    std::optional<std::string> header(std::string_view name) const;
};

} // namespace net
