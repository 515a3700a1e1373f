#include "ads/request/CacheFileName.h"

#include <algorithm>

namespace pennant {

bool CacheFileName::isSafe(std::string_view name) {
    if (name.empty() || name.size() > kMaxLength || name == "." || name == "..")
        return false;
    return std::none_of(name.begin(), name.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return c == '/' || byte < 0x20 || byte == 0x7F;
    });
}

} // namespace pennant
