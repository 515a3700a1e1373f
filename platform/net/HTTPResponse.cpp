#include "platform/net/HTTPResponse.h"

#include "platform/foundation/ASCII.h"

#include <algorithm>
#include <cctype>

namespace net {

std::optional<std::string> HTTPResponse::header(std::string_view name) const {
    for (const auto& [key, value] : headers)
        if (foundation::ASCII::equalsIgnoringCase(key, name))
            return value;
    return std::nullopt;
}

} // namespace net
