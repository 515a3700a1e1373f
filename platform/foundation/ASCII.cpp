#include "platform/foundation/ASCII.h"

#include <algorithm>

namespace foundation {

char ASCII::lowercased(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string ASCII::lowercased(std::string_view text) {
    std::string lower(text);
    std::ranges::transform(lower, lower.begin(), [](char c) { return lowercased(c); });
    return lower;
}

bool ASCII::equalsIgnoringCase(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) { return lowercased(x) == lowercased(y); });
}

std::string_view ASCII::trimmed(std::string_view text, std::string_view whitespace) {
    const auto first = text.find_first_not_of(whitespace);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(whitespace) - first + 1);
}

} // namespace foundation
