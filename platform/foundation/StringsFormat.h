#pragma once

#include "platform/foundation/Dictionary.h"
#include "platform/foundation/Result.h"

#include <string_view>

namespace foundation {

// The text strings-table format: `"key" = "value";` pairs with /* */ and // comments,
// backslash escapes (\n \t \" \\ \Uxxxx) and unquoted simple words. UTF-16 text with a byte
// order mark is accepted too.
class StringsFormat {
public:
    static Result<Dictionary> parse(std::string_view text);
};

} // namespace foundation
