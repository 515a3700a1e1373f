#include "platform/foundation/Dictionary.h"
#include "json/JSONDeserializer.h"
#include "json/JSONSerializer.h"
#include "json/TextEncoding.h"
#include "platform/foundation/UTF8.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <random>

using foundation::Dictionary;
using foundation::Value;

namespace {

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
                entries.set(text(), any(depth + 1));
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

TEST(JSONRoundTrip, RandomValuesReadBackEqualAndReserializeIdentically) {
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

TEST(JSONRoundTrip, EveryControlCharacterIsEscapedInKeysAndValues) {
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
