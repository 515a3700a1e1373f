#include "json/JSONDeserializer.h"

#include "platform/foundation/Data.h"
#include "json/JSONScanner.h"

namespace json {

using foundation::Error;
using foundation::Result;
using foundation::Value;

namespace {

Result<Value> scan(JSONDeserializer::Bytes data, bool (JSONScanner::*scanner)(Value*, Error*)) {
    if (data.empty())
        return Error{JSONDeserializer::kErrorDomain, -1, {}};
    JSONScanner jsonScanner(data);
    Value value;
    Error error;
    if (!(jsonScanner.*scanner)(&value, &error))
        return error;
    return value;
}

} // namespace

Result<Value> JSONDeserializer::deserializeAsDictionary(Bytes data) const {
    return scan(data, &JSONScanner::scanJSONDictionary);
}

Result<Value> JSONDeserializer::deserializeAsDictionary(const foundation::Data& data) const {
    return deserializeAsDictionary(data.span());
}

Result<Value> JSONDeserializer::deserializeAsDictionary(std::string_view text) const {
    return deserializeAsDictionary(DataScanner::bytesOf(text));
}

Result<Value> JSONDeserializer::deserialize(Bytes data) const {
    return scan(data, &JSONScanner::scanJSONObject);
}

Result<Value> JSONDeserializer::deserialize(const foundation::Data& data) const {
    return deserialize(data.span());
}

Result<Value> JSONDeserializer::deserialize(std::string_view text) const {
    return deserialize(DataScanner::bytesOf(text));
}

} // namespace json
