#include "platform/foundation/NumberParser.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fmt/format.h>

namespace foundation {

namespace {

constexpr int kMaxPort = 65535;

Error parseError(std::string_view what, std::string_view accepted, std::string_view text) {
    return Error{NumberParser::kErrorDomain, -1,
                 fmt::format("{} must be {}, not '{}'", what, accepted, text)};
}

std::string describeRange(double min, double max) {
    const bool hasMin = std::isfinite(min);
    const bool hasMax = std::isfinite(max);
    if (hasMin && hasMax)
        return fmt::format("a number from {} to {}", min, max);
    if (hasMin)
        return fmt::format("a number of at least {}", min);
    if (hasMax)
        return fmt::format("a number of at most {}", max);
    return "a finite number";
}

// from_chars consumed all of the text without error.
template <typename T>
bool convertWhole(std::string_view text, T& value) {
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && stop == end;
}

} // namespace

Result<long long> NumberParser::integer(std::string_view text, std::string_view what, long long min,
                                        long long max) {
    long long value = 0;
    if (!convertWhole(text, value) || value < min || value > max)
        return parseError(what, fmt::format("a whole number from {} to {}", min, max), text);
    return value;
}

Result<double> NumberParser::finiteNumber(std::string_view text, std::string_view what, double min,
                                          double max) {
    double value = 0;
    // from_chars also reads "nan" and "inf", which are no use as any quantity here.
    if (!convertWhole(text, value) || !std::isfinite(value) || value < min || value > max)
        return parseError(what, describeRange(min, max), text);
    return value;
}

Result<int> NumberParser::port(std::string_view text, std::string_view what) {
    const bool digitsOnly =
        !text.empty() && std::ranges::all_of(text, [](char c) { return c >= '0' && c <= '9'; });
    auto value = digitsOnly ? integer(text, what, 1, kMaxPort) : Result<long long>(Error{});
    if (!value)
        return parseError(what, fmt::format("a whole number from 1 to {}", kMaxPort), text);
    return static_cast<int>(value.value());
}

} // namespace foundation
