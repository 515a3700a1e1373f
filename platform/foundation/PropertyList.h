#pragma once

#include "platform/foundation/Data.h"
#include "platform/foundation/Result.h"
#include "platform/foundation/Value.h"

namespace foundation {

// Property lists: XML and binary through libplist, plus the text "strings" format
// ("key" = "value"; with comments) that strings tables are often written in. Dates read as
// numbers of seconds since 1970. Malformed input is an Error, never a crash: input that nests
// deeper than kMaxDepth levels (a number inside an array is two) or holds more than kMaxValues
// values is refused before it is parsed.
class PropertyList {
public:
    static constexpr std::size_t kMaxInputSize = 16 * 1024 * 1024;
    static constexpr int kMaxDepth = 128;
    static constexpr std::size_t kMaxValues = 1 << 20;

    static Result<Value> read(const Data& data);
    static Result<Data> writeXML(const Value& value);
    static Result<Data> writeBinary(const Value& value);
};

} // namespace foundation
