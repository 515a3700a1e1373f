#pragma once

#include "platform/foundation/Data.h"

#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace foundation {

class Dictionary;

// A decoded JSON or property-list value: null, boolean, number, string, data, array or
// dictionary. Immutable once built and cheap to copy: 16 bytes, with strings of up to 14 bytes
// stored inline and everything larger in one reference-counted block shared by all copies.
// Build containers as Dictionary / Value::Array, then move them into a Value.
class Value {
public:
    enum class Type : std::uint8_t { Null, Boolean, Number, String, Data, Array, Dictionary };
    // The builder for arrays; a Value keeps its elements in one block of exactly their count.
    using Array = std::vector<Value>;
    static constexpr std::size_t kInlineStringCapacity = 14;

    Value() = default;
    Value(std::nullptr_t) {}
    static Value boolean(bool flag);
    // A number that remembers it was written without a fraction or exponent.
    static Value integer(long long number);
    static Value number(double number);
    Value(std::string_view text);
    Value(const std::string& text) : Value(std::string_view(text)) {}
    Value(const char* text) : Value(std::string_view(text)) {}
    Value(foundation::Data bytes);
    Value(Array elements);
    Value(Dictionary entries);
    // An array made by moving the given elements out of the caller's storage.
    static Value array(std::span<Value> elements);

    // Copying and moving are on every parse and lookup path, so they live here, inline.
    Value(const Value& other) : type_(other.type_), aux_(other.aux_) {
        std::memcpy(bytes_, other.bytes_, sizeof bytes_);
        retain();
    }
    Value(Value&& other) noexcept : type_(other.type_), aux_(other.aux_) {
        std::memcpy(bytes_, other.bytes_, sizeof bytes_);
        other.type_ = Type::Null;
        other.aux_ = 0;
    }
    Value& operator=(const Value& other) {
        if (this != &other) {
            other.retain();
            release();
            type_ = other.type_;
            aux_ = other.aux_;
            std::memcpy(bytes_, other.bytes_, sizeof bytes_);
        }
        return *this;
    }
    Value& operator=(Value&& other) noexcept {
        if (this != &other) {
            release();
            type_ = other.type_;
            aux_ = other.aux_;
            std::memcpy(bytes_, other.bytes_, sizeof bytes_);
            other.type_ = Type::Null;
            other.aux_ = 0;
        }
        return *this;
    }
    ~Value() { release(); }

    Type type() const { return type_; }
    bool isNull() const { return type_ == Type::Null; }
    bool isBoolean() const { return type_ == Type::Boolean; }
    // Booleans are numbers too, the way the platform carries them.
    bool isNumber() const { return type_ == Type::Number || type_ == Type::Boolean; }
    bool isInteger() const;
    bool isString() const { return type_ == Type::String; }
    bool isData() const { return type_ == Type::Data; }
    bool isArray() const { return type_ == Type::Array; }
    bool isDictionary() const { return type_ == Type::Dictionary; }

    // Lenient readers: the value when it has a usable form, else the default. Numbers read
    // from strings take the text's leading decimal number (0 when it has none).
    double doubleValue(double fallback = 0) const;
    long long intValue(long long fallback = 0) const;
    bool boolValue(bool fallback = false) const;
    std::string stringValue(std::string fallback = {}) const;

    // Direct access; empty when the value is of another type. A view points into this very
    // value (short strings live inside it) or its block: it is valid while this Value lives
    // unchanged, so take views of values you hold, not of temporaries.
    std::string_view asString() const;
    const foundation::Data& asData() const;
    std::span<const Value> asArray() const;
    const Dictionary& asDictionary() const;

    // Dictionary member, or null when absent or when this is not a dictionary.
    const Value& operator[](std::string_view key) const;
    // Array element, or null when out of range or when this is not an array.
    const Value& operator[](std::size_t index) const;

    // A readable rendering for logs, in the platform's old-style property-list look.
    std::string description() const;

    // Numbers compare by value (booleans equal 1 and 0), dictionaries regardless of order.
    bool operator==(const Value& other) const;

private:
    struct Node;
    struct StringNode;
    struct DataNode;
    struct ArrayNode;
    struct DictionaryNode;

    bool hasNode() const { return type_ >= Type::String && aux_ == kNoInline; }
    Node* node() const;
    void setNode(Node* node);
    double number() const;
    void setNumber(double number);
    void retain() const {
        if (hasNode())
            retainNode();
    }
    void release() {
        if (hasNode())
            releaseNode();
    }
    void retainNode() const;
    void releaseNode();
    void describe(std::string& out, int indent) const;

    static constexpr std::uint8_t kNoInline = 0xFF;

    Type type_ = Type::Null;
    // Strings: the inline length, or kNoInline when the text lives in a block. Data, arrays and
    // dictionaries: kNoInline. Numbers: 1 when written as an integer.
    std::uint8_t aux_ = 0;
    // Inline string bytes, or (at offset 6) the number or the block pointer.
    unsigned char bytes_[kInlineStringCapacity] = {};
};

static_assert(sizeof(Value) == 16 && alignof(Value) == 1);

} // namespace foundation
