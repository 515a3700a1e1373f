#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace foundation {

// Percent-encoding of UTF-8 text with upper-case hex digits.
class PercentEncoding {
public:
    // ASCII letters, digits, "-", "_", "." and "~".
    static bool isUnreserved(unsigned char c);
    // Escapes every byte that is not unreserved and not in `allowed`.
    static std::string encode(std::string_view text, std::string_view allowed = {});
    // nullopt when an escape is malformed or the decoded bytes are not valid UTF-8.
    static std::optional<std::string> decode(std::string_view text);
};

} // namespace foundation
