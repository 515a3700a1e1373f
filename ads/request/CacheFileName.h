#pragma once

#include <string_view>

namespace pennant {

// Names that come from the network (image names, language codes) become file names in the
// caches; only plain names that stay inside their folder are accepted.
class CacheFileName {
public:
    static constexpr std::size_t kMaxLength = 200;

    // Non-empty, at most kMaxLength bytes, no '/', no NUL or other control byte, not "." or "..".
    static bool isSafe(std::string_view name);
};

} // namespace pennant
