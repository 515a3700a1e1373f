#pragma once

#include "platform/foundation/Data.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace foundation {

class Dictionary;

// A decoded JSON or property-list value: null, boolean, number, string, data, array or
// dictionary. Immutable once built and cheap to copy: containers and strings live in shared
// storage. Build containers as Dictionary / Value::Array, then move them into a Value.
class Value {
public:
    enum class Type : std::uint8_t { Null, Boolean, Number, String, Data, Array, Dictionary };
    using Array = std::vector<Value>;

    Value() = default;
    Value(std::nullptr_t) {}
    static Value boolean(bool flag);
    // A number that remembers it was written without a fraction or exponent.
    static Value integer(long long number);
    static Value number(double number);
    Value(std::string text);
    Value(std::string_view text) : Value(std::string(text)) {}
    Value(const char* text) : Value(std::string(text)) {}
    Value(foundation::Data bytes);
    Value(Array elements);
    Value(Dictionary entries);

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

    // Direct access; an empty string, array or dictionary when the value is of another type.
    const std::string& asString() const;
    const foundation::Data& asData() const;
    const Array& asArray() const;
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
    void describe(std::string& out, int indent) const;

    Type type_ = Type::Null;
    bool integral_ = false;
    double number_ = 0;
    std::shared_ptr<const void> storage_;
};

} // namespace foundation
