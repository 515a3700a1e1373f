#include "platform/foundation/PropertyList.h"
#include "platform/foundation/Date.h"
#include "platform/foundation/Dictionary.h"
#include "tests/support/BinaryPropertyList.h"

#include <gtest/gtest.h>

#include <climits>

using namespace foundation;
using testing_support::binaryChain;
using testing_support::binaryPropertyList;

namespace {

Value sample() {
    Dictionary inner{{"flag", Value::boolean(true)}, {"n", Value::integer(-42)}};
    return Value(Dictionary{{"name", "Kessa é"},
                            {"ratio", Value::number(0.25)},
                            {"list", Value(Value::Array{Value::integer(1), Value("two")})},
                            {"blob", Value(Data::fromString(std::string("\0\1\2", 3)))},
                            {"inner", Value(inner)}});
}

// levels nested values in XML: arrays around one integer.
std::string nestedXML(int levels) {
    std::string xml = "<?xml version=\"1.0\"?><plist version=\"1.0\">";
    for (int i = 1; i < levels; ++i)
        xml += "<array>";
    xml += "<integer>1</integer>";
    for (int i = 1; i < levels; ++i)
        xml += "</array>";
    return xml + "</plist>";
}

bool reads(const std::string& bytes) { return PropertyList::read(Data::fromString(bytes)).ok(); }

Value parse(std::string_view text) {
    auto result = PropertyList::read(Data::fromString(text));
    EXPECT_TRUE(result) << (result ? "" : result.error().message);
    return result ? result.value() : Value();
}

} // namespace

TEST(PropertyList, XMLAndBinaryRoundTrip) {
    for (auto writer : {&PropertyList::writeXML, &PropertyList::writeBinary}) {
        auto encoded = writer(sample());
        ASSERT_TRUE(encoded);
        auto decoded = PropertyList::read(encoded.value());
        ASSERT_TRUE(decoded);
        EXPECT_EQ(decoded.value(), sample());
        EXPECT_TRUE(decoded.value()["inner"]["flag"].isBoolean());
    }
}

TEST(PropertyList, ReadsTheTextStringsFormat) {
    Value table = parse("/* Ads */\n\"Ok\" = \"D'accord\";\n// comment\n"
                        "\"Call %@?\" = \"Appeler %@ ?\";\n\"Quote\" = \"say \\\"hi\\\"\\n\";\n"
                        "\"Esc\" = \"\\U00e9\";\nplain = word;\n");
    EXPECT_EQ(table["Ok"].asString(), "D'accord");
    EXPECT_EQ(table["Call %@?"].asString(), "Appeler %@ ?");
    EXPECT_EQ(table["Quote"].asString(), "say \"hi\"\n");
    EXPECT_EQ(table["Esc"].asString(), "é");
    EXPECT_EQ(table["plain"].asString(), "word");
    // Strings tables are often saved as UTF-16 with a byte order mark.
    std::string utf16 = "\xFF\xFE";
    for (char c : std::string("\"a\" = \"b\";"))
        utf16 += std::string{c, '\0'};
    EXPECT_EQ(parse(utf16)["a"].asString(), "b");
}

TEST(PropertyList, MalformedInputIsAnErrorNotACrash) {
    const std::string xmlHead = "<?xml version=\"1.0\"?><plist version=\"1.0\">";
    std::string deep = xmlHead;
    for (int i = 0; i < 5000; ++i)
        deep += "<array>";
    for (const std::string& bad :
         {std::string(), std::string("\"a\" = \"b\""), std::string("\"a\" = ;"),
          std::string("\"unterminated"), xmlHead + "<dict><key>a</key>",
          std::string("bplist00\xff\xff"), std::string("\xC3\x28 = x;"), deep}) {
        EXPECT_FALSE(PropertyList::read(Data::fromString(bad))) << bad.substr(0, 40);
    }
    auto truncated = PropertyList::writeBinary(sample()).value().vector();
    for (std::size_t cut = 0; cut < truncated.size(); ++cut)
        EXPECT_FALSE(PropertyList::read(
            Data(std::vector<std::uint8_t>(truncated.begin(), truncated.begin() + cut))));
}

TEST(PropertyList, DeepOrExplosiveInputIsRefusedBeforeTheParserSeesIt) {
    // A million levels overflowed the stack while the parser built (or freed) its tree.
    EXPECT_FALSE(reads(nestedXML(1'000'000)));
    EXPECT_FALSE(reads(nestedXML(1'000'000).substr(0, 8'000'000))) << "never closed";
    EXPECT_FALSE(reads(binaryChain(1'000'000)));
    // Shared objects are expanded by the parser: 2^64 values from a few hundred bytes.
    EXPECT_FALSE(reads(binaryChain(64, 2)));
    EXPECT_FALSE(reads(binaryPropertyList(2, [](std::uint32_t) {
        return std::vector<std::uint32_t>{1, 0};
    })));
    // The limit itself reads in both encodings; one level more does not.
    EXPECT_TRUE(reads(nestedXML(PropertyList::kMaxDepth)));
    EXPECT_FALSE(reads(nestedXML(PropertyList::kMaxDepth + 1)));
    EXPECT_TRUE(reads(binaryChain(PropertyList::kMaxDepth - 1)));
    EXPECT_FALSE(reads(binaryChain(PropertyList::kMaxDepth)));
    EXPECT_TRUE(reads(binaryChain(12, 2))) << "shared objects within the bound are fine";
}

TEST(PropertyList, IntegersAtTheEdgesAndDeepNestingInBothEncodings) {
    Value::Array numbers;
    for (long long n : {-1LL, -5'000'000'000LL, LLONG_MIN, LLONG_MAX, 9'210'000'000'000'000'000LL})
        numbers.push_back(Value::integer(n));
    Value deep = Value::integer(1);
    for (int i = 1; i < PropertyList::kMaxDepth; ++i)
        deep = Value(Value::Array{deep});
    for (auto writer : {&PropertyList::writeXML, &PropertyList::writeBinary}) {
        const Value back = PropertyList::read(writer(Value(numbers)).value()).value();
        for (std::size_t i = 0; i < numbers.size(); ++i)
            EXPECT_EQ(back[i].intValue(), numbers[i].intValue()) << i;
        EXPECT_EQ(PropertyList::read(writer(deep).value()).value(), deep);
        EXPECT_FALSE(writer(Value(Value::Array{Value(Value::Array{deep})})));
    }
    EXPECT_NE(PropertyList::writeXML(Value::integer(-5)).value().view().find("<integer>-5</"),
              std::string_view::npos);
    const Value dated =
        PropertyList::read(Data::fromString("<plist><date>2001-01-01T00:00:10Z</date></plist>"))
            .value();
    EXPECT_DOUBLE_EQ(dated.doubleValue(), Date::kReferenceDateOffset + 10);
}
