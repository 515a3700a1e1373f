#include "platform/foundation/Data.h"

#include <cstring>

namespace foundation {

Data::Data(const void* bytes, std::size_t length) { append(bytes, length); }

Data Data::fromString(std::string_view text) { return Data(text.data(), text.size()); }

void Data::append(const void* bytes, std::size_t length) {
    if (length == 0)
        return;
    const auto* begin = static_cast<const std::uint8_t*>(bytes);
    bytes_.insert(bytes_.end(), begin, begin + length);
}

std::optional<std::string> Data::utf8String() const {
    if (firstInvalidUTF8(view()))
        return std::nullopt;
    return std::string(view());
}

std::optional<std::size_t> Data::firstInvalidUTF8(std::string_view text) {
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n) {
        unsigned char c = s[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        std::size_t length;
        unsigned char low = 0x80, high = 0xBF;
        if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            if (c == 0xE0)
                low = 0xA0; // overlong
            if (c == 0xED)
                high = 0x9F; // surrogates
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            if (c == 0xF0)
                low = 0x90; // overlong
            if (c == 0xF4)
                high = 0x8F; // beyond U+10FFFF
        } else {
            return i;
        }
        if (i + length > n)
            return i;
        if (s[i + 1] < low || s[i + 1] > high)
            return i;
        for (std::size_t k = 2; k < length; ++k)
            if ((s[i + k] & 0xC0) != 0x80)
                return i;
        i += length;
    }
    return std::nullopt;
}

} // namespace foundation
