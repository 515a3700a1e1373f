#pragma once

#include <string>
#include <string_view>

namespace foundation {

// Locale-free text helpers for protocol text (schemes, host names, header names): only the
// ASCII letters change case, whatever the process locale says.
class ASCII {
public:
    static constexpr std::string_view kWhitespace = " \t\n\r\v\f";

    static char lowercased(char c);
    static std::string lowercased(std::string_view text);
    static bool equalsIgnoringCase(std::string_view a, std::string_view b);
    // Without leading and trailing whitespace.
    static std::string_view trimmed(std::string_view text,
                                    std::string_view whitespace = kWhitespace);
};

} // namespace foundation
