#pragma once

#include <cstdint>

namespace net {

// The platform's URL cache policies, with their numeric values. There is no local HTTP cache,
// so every policy loads from the network; callers still pass one so requests say what they
// would accept from a cache.
enum class CachePolicy : std::uint32_t {
    UseProtocolCachePolicy = 0,
    ReloadIgnoringLocalCacheData = 1,
    ReturnCacheDataElseLoad = 2,
    ReturnCacheDataDontLoad = 3,
    ReloadIgnoringLocalAndRemoteCacheData = 4,
    ReloadRevalidatingCacheData = 5,
};

} // namespace net
