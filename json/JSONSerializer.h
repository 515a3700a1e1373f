#pragma once

#include "platform/foundation/Result.h"
#include "platform/foundation/Value.h"

#include <span>
#include <string>
#include <string_view>

namespace foundation {
class Dictionary;
}

namespace json {

// Compact JSON text (no white space anywhere) from a Value tree.
//
// Strings escape '\', '"', '/', backspace, form feed, line feed and tab with their short
// escapes, and every other control character (carriage return among them) as \u00XX, so the
// output is always valid JSON. Booleans are true/false; integral numbers have no decimal point;
// other numbers use the shortest text that reads back to the same double, with no '+' in the
// exponent (the scanner does not accept one). Data values are written as their UTF-8 text.
//
// What JSON cannot carry fails with code -1 of kErrorDomain, naming the offending value: a
// non-finite number, text or data that is not well-formed UTF-8, nesting deeper than
// kMaxDepth. Dictionary keys are always strings by construction.
class JSONSerializer {
public:
    static constexpr const char* kErrorDomain = "JSONSerializerErrorDomain";
    static constexpr int kMaxDepth = 512;

    foundation::Result<std::string> serializeObject(const foundation::Value& value) const;
    std::string serializeNull() const { return "null"; }
    // Takes a number or boolean value.
    foundation::Result<std::string> serializeNumber(const foundation::Value& number) const;
    foundation::Result<std::string> serializeString(std::string_view text) const;
    foundation::Result<std::string> serializeArray(std::span<const foundation::Value> array) const;
    foundation::Result<std::string>
    serializeDictionary(const foundation::Dictionary& entries) const;

private:
    class Writer;
};

} // namespace json
