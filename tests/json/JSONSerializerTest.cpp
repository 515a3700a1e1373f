#include "json/JSONSerializer.h"
#include "platform/foundation/Dictionary.h"
#include "platform/foundation/UTF8.h"
#include "json/JSONDeserializer.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <random>
#include <string>

using foundation::Dictionary;
using foundation::Value;
using json::JSONSerializer;

namespace {

std::string serialized(const Value& value) {
    const auto result = JSONSerializer().serializeObject(value);
    EXPECT_TRUE(result.ok()) << (result.ok() ? "" : result.error().message);
    return result.ok() ? result.value() : "";
}

class RandomValues {
public:
    Value any(int depth) {
        switch (below(depth > 3 ? 4 : 6)) {
        case 0:
            return Value::boolean(below(2) == 1);
        case 1:
            return number();
        case 2:
        case 3:
            return Value(text());
        case 4: {
            Value::Array elements;
            for (std::size_t n = below(5); n > 0; --n)
                elements.push_back(below(8) == 0 ? Value() : any(depth + 1));
            return Value(std::move(elements));
        }
        default: {
            Dictionary entries;
            for (std::size_t n = below(5); n > 0; --n)
                entries.setIncludingNull(text(), below(8) == 0 ? Value() : any(depth + 1));
            return Value(std::move(entries));
        }
        }
    }

private:
    std::size_t below(std::size_t bound) {
        return std::uniform_int_distribution<std::size_t>(0, bound - 1)(random_);
    }

    // What needs escaping, mixed with characters of every UTF-8 length.
    std::string text() {
        static constexpr char32_t kAlphabet[] = {
            'a',  '0',  ' ',  '"',   '\\',  '/',    '\b',   '\f',    '\n',    '\r',     '\t', 0,
            0x1F, 0x7F, 0xE9, 0x7FF, 0x800, 0x20AC, 0xFFFF, 0x10000, 0x1F600, 0x10FFFF, '{',  ':'};
        std::string out;
        for (std::size_t n = below(12); n > 0; --n)
            foundation::UTF8::append(out, kAlphabet[below(std::size(kAlphabet))]);
        return out;
    }

    // Any finite double from raw bits, integers, and the edges of the number formats.
    Value number() {
        static constexpr double kEdges[] = {-0.0,     1e308, -1e-320, 4.9e-324, 1e15,
                                            1e15 - 1, 0.1,   1e22,    1e23};
        if (below(3) == 0)
            return Value::integer(static_cast<long long>(random_() % (1ULL << 32)) - (1LL << 31));
        if (below(2) == 0)
            return Value::number(kEdges[below(std::size(kEdges))]);
        for (;;)
            if (const double x = std::bit_cast<double>(random_()); std::isfinite(x))
                return Value::number(x);
    }

    std::mt19937_64 random_{20240611};
};

} // namespace

TEST(JSONSerializer, WritesCompactContainersInKeyOrder) {
    EXPECT_EQ(serialized(Value(Dictionary{})), "{}");
    EXPECT_EQ(serialized(Value(Value::Array{})), "[]");
    const Dictionary click{{"interactions", Value(Value::Array{"0,10,20,1.5", "1,10,20,1.7"})},
                           {"url", "a/b"},
                           {"n", Value()},
                           {"z", Value::boolean(false)}};
    EXPECT_EQ(serialized(Value(click)),
              R"({"interactions":["0,10,20,1.5","1,10,20,1.7"],"url":"a\/b","z":false})");
    EXPECT_EQ(JSONSerializer().serializeDictionary(click).value(), serialized(Value(click)));
    EXPECT_EQ(serialized(Value(Value::Array{Value(), Value::boolean(true)})), "[null,true]");
}

TEST(JSONSerializer, EscapesStringsSoEveryOutputIsValidJSON) {
    EXPECT_EQ(JSONSerializer().serializeString("a\tb").value(), R"("a\tb")");
    EXPECT_EQ(serialized(R"(\"/)"), R"("\\\"\/")");
    EXPECT_EQ(serialized("\b\f\n\r\x01\x1f"), R"("\b\f\n\u000d\u0001\u001f")");
    EXPECT_EQ(serialized("caf\xC3\xA9 \xF0\x9F\x98\x80"), "\"caf\xC3\xA9 \xF0\x9F\x98\x80\"");
    EXPECT_EQ(serialized(Value(foundation::Data::fromString("bytes/"))), R"("bytes\/")");
}

TEST(JSONSerializer, WritesNumbersShortestWithoutPlusSigns) {
    EXPECT_EQ(serialized(Value::boolean(true)), "true");
    EXPECT_EQ(serialized(Value::integer(1)), "1");
    EXPECT_EQ(serialized(Value::number(1)), "1");
    EXPECT_EQ(serialized(Value::number(-2000)), "-2000");
    EXPECT_EQ(serialized(Value::number(0.1)), "0.1");
    EXPECT_EQ(serialized(Value::number(-0.5)), "-0.5");
    EXPECT_EQ(serialized(Value::number(1e20)), "1e20");
    EXPECT_EQ(serialized(Value::number(1.5e-7)), "1.5e-07");
    EXPECT_EQ(serialized(Value::integer(9007199254740993LL)), "9007199254740992");
}

TEST(JSONSerializer, RefusesWhatJSONCannotCarry) {
    const JSONSerializer serializer;
    for (const Value& bad : {Value::number(std::numeric_limits<double>::infinity()),
                             Value::number(std::numeric_limits<double>::quiet_NaN()),
                             Value("\xC3("), Value(foundation::Data::fromString("\xFF"))}) {
        const auto result = serializer.serializeObject(Value(Value::Array{"ok", bad}));
        ASSERT_FALSE(result.ok());
        EXPECT_EQ(result.error().domain, JSONSerializer::kErrorDomain);
        EXPECT_TRUE(result.error().message.starts_with("Could not serialize object '"));
    }
    EXPECT_EQ(serializer.serializeObject(Value::number(-std::numeric_limits<double>::infinity()))
                  .error()
                  .message,
              "Could not serialize object '-inf'");
    Value deep = Value::number(1);
    for (int i = 0; i < JSONSerializer::kMaxDepth + 1; ++i)
        deep = Value(Value::Array{deep});
    EXPECT_FALSE(serializer.serializeObject(deep).ok());
}

TEST(JSONSerializer, OutputParsesBackToAnEqualValue) {
    const std::string document =
        R"({"text":"Caf\u00e9 \"quoted\" a\/b \r\u0001","6":[1,-2.5e3,0.1,1e300,true,null,[]],)"
        R"("markup":{"v":[{"$":"\ud83d\ude00","w":320.5,"none":null}],"e":{}},"none":null})";
    const json::JSONDeserializer deserializer;
    const Value original = deserializer.deserializeAsDictionary(document).value();
    const std::string text = serialized(original);
    EXPECT_EQ(deserializer.deserializeAsDictionary(text).value(), original);
    EXPECT_EQ(serialized(deserializer.deserializeAsDictionary(text).value()), text);
    EXPECT_EQ(serialized(deserializer.deserializeAsDictionary(R"({"a":null})").value()),
              R"({"a":null})");
}

TEST(JSONSerializer, RandomValuesReadBackEqualAndReserializeIdentically) {
    RandomValues random;
    const json::JSONSerializer serializer;
    for (int i = 0; i < 500; ++i) {
        const Value original = random.any(0);
        const auto text = serializer.serializeObject(original);
        ASSERT_TRUE(text.ok()) << original.description();
        const auto back = json::JSONDeserializer().deserialize(text.value());
        ASSERT_TRUE(back.ok()) << text.value() << ": " << back.error().message;
        ASSERT_EQ(back.value(), original) << text.value();
        EXPECT_EQ(serializer.serializeObject(back.value()).value(), text.value());
    }
}

TEST(JSONSerializer, EveryControlCharacterIsEscapedInKeysAndValues) {
    std::string all;
    for (char c = 0; c < 0x20; ++c)
        all += c;
    const Value value(Dictionary{{all, all}});
    const auto text = json::JSONSerializer().serializeObject(value);
    ASSERT_TRUE(text.ok());
    for (char c : text.value())
        EXPECT_GE(static_cast<unsigned char>(c), 0x20u) << text.value();
    EXPECT_EQ(json::JSONDeserializer().deserialize(text.value()).value(), value);
}
