#pragma once

#include <string_view>

namespace pennant {

// The client's version: sent with every ad request and naming the strings cache and path.
inline constexpr std::string_view kVersion = "20091119";

} // namespace pennant
