#pragma once

#include "platform/foundation/Result.h"
#include "platform/foundation/Value.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace foundation {
class Data;
}

namespace json {

// The front end callers use. Empty input fails with code -1 of kErrorDomain and no message;
// other failures carry the scanner's error. Bytes after the top-level value are ignored.
class JSONDeserializer {
public:
    static constexpr const char* kErrorDomain = "JSONDeserializerErrorDomain";
    using Bytes = std::span<const std::uint8_t>;

    // The document must start with '{' at its first byte: nothing is skipped before it.
    foundation::Result<foundation::Value> deserializeAsDictionary(Bytes data) const;
    foundation::Result<foundation::Value>
    deserializeAsDictionary(const foundation::Data& data) const;
    foundation::Result<foundation::Value> deserializeAsDictionary(std::string_view text) const;

    // Any value at the top, after white space; a document holding only an unrecognised word
    // or white space yields the null value.
    foundation::Result<foundation::Value> deserialize(Bytes data) const;
    foundation::Result<foundation::Value> deserialize(const foundation::Data& data) const;
    foundation::Result<foundation::Value> deserialize(std::string_view text) const;
};

} // namespace json
