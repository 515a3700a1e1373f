#include "platform/foundation/Value.h"

#include "platform/foundation/BlockPool.h"
#include "platform/foundation/Dictionary.h"

#include <atomic>
#include <cctype>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <fmt/format.h>
#include <new>

namespace foundation {

// The shared block behind strings longer than the inline capacity, data and containers.
struct Value::Node {
    explicit Node(Type kind) : kind(kind) {}
    static void* operator new(std::size_t bytes) { return BlockPool::acquire(bytes); }
    static void operator delete(void* block, std::size_t bytes) {
        BlockPool::release(block, bytes);
    }
    std::atomic<std::uint32_t> references{1};
    Type kind;
};

// Text in the same allocation as its count.
struct Value::StringNode : Node {
    explicit StringNode(std::size_t length) : Node(Type::String), length(length) {}
    std::size_t length;
    char* text() { return reinterpret_cast<char*>(this + 1); }
    static std::size_t bytesFor(std::size_t length) { return sizeof(StringNode) + length; }

    static StringNode* make(std::string_view text) {
        void* memory = BlockPool::acquire(bytesFor(text.size()));
        auto* node = ::new (memory) StringNode(text.size());
        std::memcpy(node->text(), text.data(), text.size());
        return node;
    }
};

struct Value::DataNode : Node {
    explicit DataNode(foundation::Data data) : Node(Type::Data), data(std::move(data)) {}
    foundation::Data data;
};

// Elements in the same allocation as their count.
struct Value::ArrayNode : Node {
    explicit ArrayNode(std::size_t count) : Node(Type::Array), count(count) {}
    std::size_t count;
    Value* elements() { return reinterpret_cast<Value*>(this + 1); }
    static std::size_t bytesFor(std::size_t count) {
        return sizeof(ArrayNode) + count * sizeof(Value);
    }

    static ArrayNode* make(std::span<Value> from) {
        void* memory = BlockPool::acquire(bytesFor(from.size()));
        auto* node = ::new (memory) ArrayNode(from.size());
        for (std::size_t i = 0; i < from.size(); ++i)
            new (node->elements() + i) Value(std::move(from[i]));
        return node;
    }
};

struct Value::DictionaryNode : Node {
    explicit DictionaryNode(Dictionary entries)
        : Node(Type::Dictionary), entries(std::move(entries)) {}
    Dictionary entries;
};

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Leading decimal number of a text, the way the platform's doubleValue reads strings:
// only plain decimals count (no hex, "inf" or "nan", which strtod alone would take).
double leadingDouble(std::string_view text) {
    std::size_t i = text.find_first_not_of(" \t\n");
    if (i == std::string_view::npos)
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
    return std::strtod(std::string(text.substr(begin, i - begin)).c_str(), nullptr);
}

long long leadingInteger(std::string_view text) {
    std::size_t i = text.find_first_not_of(" \t\n");
    if (i == std::string_view::npos)
        return 0;
    bool negative = false;
    if (text[i] == '+' || text[i] == '-')
        negative = text[i++] == '-';
    // Accumulated as a magnitude so that the full range, LLONG_MIN included, reads exactly.
    const unsigned long long limit = negative ? 1ULL + static_cast<unsigned long long>(LLONG_MAX)
                                              : static_cast<unsigned long long>(LLONG_MAX);
    unsigned long long magnitude = 0;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        const auto digit = static_cast<unsigned long long>(text[i] - '0');
        if (magnitude > (limit - digit) / 10)
            return negative ? LLONG_MIN : LLONG_MAX;
        magnitude = magnitude * 10 + digit;
    }
    return negative ? static_cast<long long>(0 - magnitude) : static_cast<long long>(magnitude);
}

bool leadingBool(std::string_view text) {
    std::size_t i = text.find_first_not_of(" \t\n");
    if (i == std::string_view::npos)
        return false;
    if (text[i] == '+' || text[i] == '-')
        ++i;
    while (i < text.size() && text[i] == '0')
        ++i;
    const char c = i < text.size() ? text[i] : '\0';
    return c == 'Y' || c == 'y' || c == 'T' || c == 't' || (c >= '1' && c <= '9');
}

long long truncateToInteger(double number) {
    if (std::isnan(number))
        return 0;
    // 2^63 is the first double beyond the range; -2^63 itself converts exactly.
    if (number >= 9223372036854775808.0)
        return LLONG_MAX;
    if (number < -9223372036854775808.0)
        return LLONG_MIN;
    return static_cast<long long>(number);
}

void appendQuoted(std::string& out, std::string_view text) {
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

Value::Node* Value::node() const {
    Node* n;
    std::memcpy(&n, bytes_ + 6, sizeof n);
    return n;
}

void Value::setNode(Node* n) {
    aux_ = kNoInline;
    std::memcpy(bytes_ + 6, &n, sizeof n);
}

double Value::number() const {
    double d;
    std::memcpy(&d, bytes_ + 6, sizeof d);
    return d;
}

void Value::setNumber(double d) { std::memcpy(bytes_ + 6, &d, sizeof d); }

void Value::retainNode() const { node()->references.fetch_add(1, std::memory_order_relaxed); }

void Value::releaseNode() {
    Node* n = node();
    if (n->references.fetch_sub(1, std::memory_order_acq_rel) != 1)
        return;
    switch (n->kind) {
    case Type::String: {
        auto* string = static_cast<StringNode*>(n);
        const std::size_t bytes = StringNode::bytesFor(string->length);
        string->~StringNode();
        BlockPool::release(n, bytes);
        break;
    }
    case Type::Array: {
        auto* array = static_cast<ArrayNode*>(n);
        const std::size_t bytes = ArrayNode::bytesFor(array->count);
        for (std::size_t i = 0; i < array->count; ++i)
            array->elements()[i].~Value();
        array->~ArrayNode();
        BlockPool::release(n, bytes);
        break;
    }
    case Type::Data:
        delete static_cast<DataNode*>(n);
        break;
    case Type::Dictionary:
        delete static_cast<DictionaryNode*>(n);
        break;
    default:
        break;
    }
}

Value Value::boolean(bool flag) {
    Value value;
    value.type_ = Type::Boolean;
    value.aux_ = 1;
    value.setNumber(flag ? 1 : 0);
    return value;
}

Value Value::integer(long long number) {
    Value value;
    value.type_ = Type::Number;
    value.aux_ = 1;
    value.setNumber(static_cast<double>(number));
    return value;
}

Value Value::number(double number) {
    Value value;
    value.type_ = Type::Number;
    value.setNumber(number);
    return value;
}

Value::Value(std::string_view text) : type_(Type::String) {
    if (text.size() <= kInlineStringCapacity) {
        aux_ = static_cast<std::uint8_t>(text.size());
        std::memcpy(bytes_, text.data(), text.size());
    } else {
        setNode(StringNode::make(text));
    }
}

Value::Value(foundation::Data bytes) : type_(Type::Data) {
    setNode(new DataNode(std::move(bytes)));
}

Value::Value(Array elements) : type_(Type::Array) { setNode(ArrayNode::make(elements)); }

Value::Value(Dictionary entries) : type_(Type::Dictionary) {
    setNode(new DictionaryNode(std::move(entries)));
}

Value Value::array(std::span<Value> elements) {
    Value value;
    value.type_ = Type::Array;
    value.setNode(ArrayNode::make(elements));
    return value;
}

bool Value::isInteger() const {
    if (!isNumber())
        return false;
    const double n = number();
    return aux_ == 1 || (std::isfinite(n) && n == std::trunc(n) && std::fabs(n) < 1e15);
}

double Value::doubleValue(double fallback) const {
    if (isNumber())
        return number();
    if (isString())
        return leadingDouble(asString());
    return fallback;
}

long long Value::intValue(long long fallback) const {
    if (isNumber())
        return truncateToInteger(number());
    if (isString())
        return leadingInteger(asString());
    return fallback;
}

bool Value::boolValue(bool fallback) const {
    if (isNumber())
        return number() != 0;
    if (isString())
        return leadingBool(asString());
    return fallback;
}

std::string Value::stringValue(std::string fallback) const {
    return isString() ? std::string(asString()) : std::move(fallback);
}

std::string_view Value::asString() const {
    if (!isString())
        return {};
    if (!hasNode())
        return {reinterpret_cast<const char*>(bytes_), aux_};
    auto* string = static_cast<StringNode*>(node());
    return {string->text(), string->length};
}

const foundation::Data& Value::asData() const {
    static const foundation::Data empty;
    return isData() ? static_cast<DataNode*>(node())->data : empty;
}

std::span<const Value> Value::asArray() const {
    if (!isArray())
        return {};
    auto* array = static_cast<ArrayNode*>(node());
    return {array->elements(), array->count};
}

const Dictionary& Value::asDictionary() const {
    static const Dictionary empty;
    return isDictionary() ? static_cast<DictionaryNode*>(node())->entries : empty;
}

const Value& Value::operator[](std::string_view key) const { return asDictionary().get(key); }

const Value& Value::operator[](std::size_t index) const {
    static const Value null;
    const auto array = asArray();
    return index < array.size() ? array[index] : null;
}

bool Value::operator==(const Value& other) const {
    if (isNumber() && other.isNumber())
        return number() == other.number();
    if (type_ != other.type_)
        return false;
    switch (type_) {
    case Type::Null:
        return true;
    case Type::String:
        return asString() == other.asString();
    case Type::Data:
        return asData() == other.asData();
    case Type::Array: {
        const auto mine = asArray(), theirs = other.asArray();
        return std::equal(mine.begin(), mine.end(), theirs.begin(), theirs.end());
    }
    case Type::Dictionary:
        return asDictionary() == other.asDictionary();
    default:
        return false;
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
    case Type::Null:
        out += "<null>";
        break;
    case Type::Boolean:
    case Type::Number:
        out += isInteger() ? fmt::format("{}", truncateToInteger(number()))
                           : fmt::format("{}", number());
        break;
    case Type::String:
        appendQuoted(out, asString());
        break;
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
        const auto array = asArray();
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
