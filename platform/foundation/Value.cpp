#include "platform/foundation/Value.h"

#include "platform/foundation/Dictionary.h"

#include <cctype>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <fmt/format.h>

namespace foundation {

namespace {

const std::string& emptyString() {
    static const std::string empty;
    return empty;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Leading decimal number of a text, the way the platform's doubleValue reads strings:
// only plain decimals count (no hex, "inf" or "nan", which strtod alone would take).
double leadingDouble(const std::string& text) {
    std::size_t i = text.find_first_not_of(" \t\n");
    if (i == std::string::npos)
        return 0;
    const std::size_t begin = i;
    if (text[i] == '+' || text[i] == '-')
        ++i;
    const std::size_t digitsStart = i;
    while (i < text.size() && isDigit(text[i]))
        ++i;
    if (i < text.size() && text[i] == '.')
        for (++i; i < text.size() && isDigit(text[i]);)
            ++i;
    if (i == digitsStart || (i == digitsStart + 1 && text[digitsStart] == '.'))
        return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t e = i + 1;
        if (e < text.size() && (text[e] == '+' || text[e] == '-'))
            ++e;
        if (e < text.size() && isDigit(text[e])) {
            while (e < text.size() && isDigit(text[e]))
                ++e;
            i = e;
        }
    }
    return std::strtod(text.substr(begin, i - begin).c_str(), nullptr);
}

long long leadingInteger(const std::string& text) {
    const char* p = text.c_str();
    while (*p == ' ' || *p == '\t' || *p == '\n')
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-')
        negative = *p++ == '-';
    long long result = 0;
    for (; isDigit(*p); ++p) {
        if (result > (LLONG_MAX - 9) / 10)
            return negative ? LLONG_MIN : LLONG_MAX;
        result = result * 10 + (*p - '0');
    }
    return negative ? -result : result;
}

bool leadingBool(const std::string& text) {
    const char* p = text.c_str();
    while (*p == ' ' || *p == '\t' || *p == '\n')
        ++p;
    if (*p == '+' || *p == '-')
        ++p;
    while (*p == '0')
        ++p;
    char c = *p;
    return c == 'Y' || c == 'y' || c == 'T' || c == 't' || (c >= '1' && c <= '9');
}

long long truncateToInteger(double number) {
    if (std::isnan(number))
        return 0;
    if (number >= 9.2e18)
        return LLONG_MAX;
    if (number <= -9.2e18)
        return LLONG_MIN;
    return static_cast<long long>(number);
}

void appendQuoted(std::string& out, const std::string& text) {
    bool plain = !text.empty();
    for (unsigned char c : text)
        plain = plain && (std::isalnum(c) || c == '_' || c == '.' || c == '/' || c >= 0x80);
    if (plain) {
        out += text;
        return;
    }
    out += '"';
    for (char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    out += '"';
}

} // namespace

Value Value::boolean(bool flag) {
    Value value;
    value.type_ = Type::Boolean;
    value.integral_ = true;
    value.number_ = flag ? 1 : 0;
    return value;
}

Value Value::integer(long long number) {
    Value value;
    value.type_ = Type::Number;
    value.integral_ = true;
    value.number_ = static_cast<double>(number);
    return value;
}

Value Value::number(double number) {
    Value value;
    value.type_ = Type::Number;
    value.number_ = number;
    return value;
}

Value::Value(std::string text)
    : type_(Type::String), storage_(std::make_shared<const std::string>(std::move(text))) {}

Value::Value(foundation::Data bytes)
    : type_(Type::Data), storage_(std::make_shared<const foundation::Data>(std::move(bytes))) {}

Value::Value(Array elements)
    : type_(Type::Array), storage_(std::make_shared<const Array>(std::move(elements))) {}

Value::Value(Dictionary entries)
    : type_(Type::Dictionary),
      storage_(std::make_shared<const Dictionary>(std::move(entries))) {}

bool Value::isInteger() const {
    return isNumber() && (integral_ || (std::isfinite(number_) && number_ == std::trunc(number_) &&
                                        std::fabs(number_) < 1e15));
}

double Value::doubleValue(double fallback) const {
    if (isNumber())
        return number_;
    if (isString())
        return leadingDouble(asString());
    return fallback;
}

long long Value::intValue(long long fallback) const {
    if (isNumber())
        return truncateToInteger(number_);
    if (isString())
        return leadingInteger(asString());
    return fallback;
}

bool Value::boolValue(bool fallback) const {
    if (isNumber())
        return number_ != 0;
    if (isString())
        return leadingBool(asString());
    return fallback;
}

std::string Value::stringValue(std::string fallback) const {
    return isString() ? asString() : std::move(fallback);
}

const std::string& Value::asString() const {
    return isString() ? *static_cast<const std::string*>(storage_.get()) : emptyString();
}

const foundation::Data& Value::asData() const {
    static const foundation::Data empty;
    return isData() ? *static_cast<const foundation::Data*>(storage_.get()) : empty;
}

const Value::Array& Value::asArray() const {
    static const Array empty;
    return isArray() ? *static_cast<const Array*>(storage_.get()) : empty;
}

const Dictionary& Value::asDictionary() const {
    static const Dictionary empty;
    return isDictionary() ? *static_cast<const Dictionary*>(storage_.get()) : empty;
}

const Value& Value::operator[](std::string_view key) const { return asDictionary().get(key); }

const Value& Value::operator[](std::size_t index) const {
    static const Value null;
    const Array& array = asArray();
    return index < array.size() ? array[index] : null;
}

bool Value::operator==(const Value& other) const {
    if (isNumber() && other.isNumber())
        return number_ == other.number_;
    if (type_ != other.type_)
        return false;
    switch (type_) {
    case Type::Null: return true;
    case Type::String: return asString() == other.asString();
    case Type::Data: return asData() == other.asData();
    case Type::Array: return asArray() == other.asArray();
    case Type::Dictionary: return asDictionary() == other.asDictionary();
    default: return false;
    }
}

std::string Value::description() const {
    std::string out;
    describe(out, 0);
    return out;
}

void Value::describe(std::string& out, int indent) const {
    const std::string pad(static_cast<std::size_t>(indent + 4), ' ');
    switch (type_) {
    case Type::Null: out += "<null>"; break;
    case Type::Boolean:
    case Type::Number:
        out += isInteger() ? fmt::format("{}", truncateToInteger(number_)) : fmt::format("{}", number_);
        break;
    case Type::String: appendQuoted(out, asString()); break;
    case Type::Data: {
        out += '<';
        for (std::size_t i = 0; i < asData().size(); ++i) {
            if (i % 4 == 0 && i)
                out += ' ';
            out += fmt::format("{:02x}", asData().bytes()[i]);
        }
        out += '>';
        break;
    }
    case Type::Array: {
        out += "(\n";
        const Array& array = asArray();
        for (std::size_t i = 0; i < array.size(); ++i) {
            out += pad;
            array[i].describe(out, indent + 4);
            out += i + 1 < array.size() ? ",\n" : "\n";
        }
        out.append(static_cast<std::size_t>(indent), ' ');
        out += ')';
        break;
    }
    case Type::Dictionary: {
        out += "{\n";
        for (const auto& [key, value] : asDictionary()) {
            out += pad;
            appendQuoted(out, key);
            out += " = ";
            value.describe(out, indent + 4);
            out += ";\n";
        }
        out.append(static_cast<std::size_t>(indent), ' ');
        out += '}';
        break;
    }
    }
}

} // namespace foundation
