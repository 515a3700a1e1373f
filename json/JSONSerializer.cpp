#include "json/JSONSerializer.h"

#include "platform/foundation/Data.h"
#include "platform/foundation/Dictionary.h"

#include <charconv>
#include <cmath>
#include <iterator>

namespace json {

using foundation::Dictionary;
using foundation::Error;
using foundation::Result;
using foundation::Value;

// Appends to one output string so nested values are never serialized into temporaries.
class JSONSerializer::Writer {
public:
    bool value(const Value& value, int depth);
    bool number(const Value& number);
    bool string(std::string_view text);
    bool array(std::span<const Value> array, int depth);
    bool dictionary(const Dictionary& entries, int depth);

    Result<std::string> finish(bool written) {
        if (!written)
            return Error{kErrorDomain, -1, "Could not serialize object '" + failed_ + "'"};
        return std::move(out_);
    }

private:
    bool reject(std::string description) {
        failed_ = std::move(description);
        return false;
    }

    std::string out_;
    std::string failed_;
};

bool JSONSerializer::Writer::value(const Value& value, int depth) {
    switch (value.type()) {
    case Value::Type::Null:
        out_ += "null";
        return true;
    case Value::Type::Boolean:
    case Value::Type::Number:
        return number(value);
    case Value::Type::String:
        return string(value.asString());
    case Value::Type::Data:
        return string(value.asData().view());
    case Value::Type::Array:
        return array(value.asArray(), depth + 1);
    case Value::Type::Dictionary:
        return dictionary(value.asDictionary(), depth + 1);
    }
    return reject(value.description());
}

bool JSONSerializer::Writer::number(const Value& number) {
    if (number.isBoolean()) {
        out_ += number.boolValue() ? "true" : "false";
        return true;
    }
    const double x = number.doubleValue();
    if (!number.isNumber() || !std::isfinite(x))
        return reject(number.description());
    char buffer[64];
    const auto written = number.isInteger()
                             ? std::to_chars(buffer, std::end(buffer), x, std::chars_format::fixed)
                             : std::to_chars(buffer, std::end(buffer), x);
    for (const char* p = buffer; p < written.ptr; ++p)
        if (*p != '+')
            out_ += *p;
    return true;
}

bool JSONSerializer::Writer::string(std::string_view text) {
    if (foundation::Data::firstInvalidUTF8(text))
        return reject("<text that is not UTF-8>");
    static constexpr char hex[] = "0123456789abcdef";
    out_.reserve(out_.size() + text.size() + 2);
    out_ += '"';
    std::size_t plain = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const char* shortEscape = nullptr;
        switch (c) {
        case '\\':
            shortEscape = "\\\\";
            break;
        case '"':
            shortEscape = "\\\"";
            break;
        case '/':
            shortEscape = "\\/";
            break;
        case '\b':
            shortEscape = "\\b";
            break;
        case '\f':
            shortEscape = "\\f";
            break;
        case '\n':
            shortEscape = "\\n";
            break;
        case '\t':
            shortEscape = "\\t";
            break;
        default:
            if (c >= 0x20)
                continue;
        }
        out_.append(text.substr(plain, i - plain));
        plain = i + 1;
        if (shortEscape) {
            out_ += shortEscape;
        } else {
            out_ += "\\u00";
            out_ += hex[c >> 4];
            out_ += hex[c & 0xF];
        }
    }
    out_.append(text.substr(plain));
    out_ += '"';
    return true;
}

bool JSONSerializer::Writer::array(std::span<const Value> array, int depth) {
    if (depth > kMaxDepth)
        return reject("<array nested deeper than 512 levels>");
    out_ += '[';
    for (std::size_t i = 0; i < array.size(); ++i) {
        if (i)
            out_ += ',';
        if (!value(array[i], depth))
            return false;
    }
    out_ += ']';
    return true;
}

bool JSONSerializer::Writer::dictionary(const Dictionary& entries, int depth) {
    if (depth > kMaxDepth)
        return reject("<dictionary nested deeper than 512 levels>");
    out_ += '{';
    bool first = true;
    for (const auto& [key, element] : entries) {
        if (!first)
            out_ += ',';
        first = false;
        if (!string(key))
            return false;
        out_ += ':';
        if (!value(element, depth))
            return false;
    }
    out_ += '}';
    return true;
}

Result<std::string> JSONSerializer::serializeObject(const Value& value) const {
    Writer writer;
    return writer.finish(writer.value(value, 0));
}

Result<std::string> JSONSerializer::serializeNumber(const Value& number) const {
    Writer writer;
    return writer.finish(writer.number(number));
}

Result<std::string> JSONSerializer::serializeString(std::string_view text) const {
    Writer writer;
    return writer.finish(writer.string(text));
}

Result<std::string> JSONSerializer::serializeArray(std::span<const Value> array) const {
    Writer writer;
    return writer.finish(writer.array(array, 1));
}

Result<std::string> JSONSerializer::serializeDictionary(const Dictionary& entries) const {
    Writer writer;
    return writer.finish(writer.dictionary(entries, 1));
}

} // namespace json
