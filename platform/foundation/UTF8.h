#pragma once

#include <string>

namespace foundation {

// Writing Unicode scalar values as UTF-8; every text decoder of the project ends here.
class UTF8 {
public:
    static constexpr char32_t kReplacementCharacter = 0xFFFD;

    // Surrogate halves and values beyond U+10FFFF are written as the replacement character,
    // so the output is always well-formed UTF-8.
    static void append(std::string& out, char32_t code);
};

} // namespace foundation
