#pragma once

#include "platform/foundation/Result.h"

#include <limits>
#include <string_view>

namespace foundation {

// Checked conversions from text: the whole text must be the number (no spaces, no '+', no
// trailing characters), and values out of range, too large to represent or not finite are
// refused. Each failure's message names what was being read and the range it accepts.
class NumberParser {
public:
    static constexpr const char* kErrorDomain = "NumberParserErrorDomain";

    // An optional '-' and decimal digits, from min to max inclusive.
    static Result<long long> integer(std::string_view text, std::string_view what, long long min,
                                     long long max);
    // A finite decimal number from min to max inclusive; by default any finite value.
    static Result<double> finiteNumber(std::string_view text, std::string_view what,
                                       double min = -std::numeric_limits<double>::infinity(),
                                       double max = std::numeric_limits<double>::infinity());
    // A TCP port: decimal digits only, 1 to 65535.
    static Result<int> port(std::string_view text, std::string_view what = "port");
};

} // namespace foundation
