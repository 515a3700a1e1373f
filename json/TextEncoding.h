#pragma once

#include "platform/foundation/UTF8.h"

#include <cstdint>
#include <span>
#include <string>

namespace json {

// Recognises UTF-16 and UTF-32 documents by where their zero bytes fall (there is no byte-order
// mark handling) and turns them into UTF-8. Ill-formed units become U+FFFD rather than failing
// the document.
class TextEncoding {
public:
    enum class Kind { UTF8, UTF16LittleEndian, UTF16BigEndian, UTF32LittleEndian, UTF32BigEndian };
    using Bytes = std::span<const std::uint8_t>;

    static constexpr char32_t kReplacementCharacter = foundation::UTF8::kReplacementCharacter;

    static Kind detect(Bytes data);
    static std::string toUTF8(Bytes data, Kind kind);
    // Length of the well-formed UTF-8 sequence at `p`, or 0 when it is ill-formed or cut off.
    static int sequenceLength(const std::uint8_t* p, const std::uint8_t* end);

private:
    static void appendUTF16(std::string& out, Bytes data, bool bigEndian);
    static void appendUTF32(std::string& out, Bytes data, bool bigEndian);
};

} // namespace json
