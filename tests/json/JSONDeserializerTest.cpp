#include "json/JSONDeserializer.h"
#include "platform/foundation/Dictionary.h"
#include "json/JSONScanner.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using foundation::Dictionary;
using foundation::Value;
using json::JSONDeserializer;
using json::JSONScanner;

namespace {

// Parses from an exactly sized heap buffer, so a read past the end is caught by the sanitizer.
foundation::Result<Value> parse(std::string_view text, bool any = true) {
    const std::vector<std::uint8_t> bytes(text.begin(), text.end());
    const JSONDeserializer deserializer;
    return any ? deserializer.deserialize(bytes) : deserializer.deserializeAsDictionary(bytes);
}

Value parsed(std::string_view text) {
    auto result = parse(text);
    EXPECT_TRUE(result.ok()) << text << ": " << (result.ok() ? "" : result.error().message);
    return result.ok() ? result.value() : Value();
}

long errorCode(std::string_view text, bool any = true) {
    const auto result = parse(text, any);
    if (result.ok())
        return 0;
    EXPECT_EQ(result.error().domain, JSONScanner::kErrorDomain) << text;
    return result.error().code;
}

Value array(std::initializer_list<Value> elements) { return Value(Value::Array(elements)); }

// A dictionary value that keeps null entries, which Dictionary's own initialiser drops.
Value object(std::initializer_list<Dictionary::Entry> entries) {
    Dictionary dictionary;
    for (const auto& [key, value] : entries)
        dictionary.setIncludingNull(key, value);
    return Value(std::move(dictionary));
}

std::string repeat(std::string_view piece, int count) {
    std::string out;
    for (int i = 0; i < count; ++i)
        out += piece;
    return out;
}

} // namespace

TEST(JSONDeserializer, AcceptsTrailingCommasAndDropsBareWords) {
    EXPECT_EQ(parsed(R"({"a":1,})"), Value(Dictionary{{"a", Value::number(1)}}));
    EXPECT_EQ(parsed("[1,2,]"), array({Value::number(1), Value::number(2)}));
    EXPECT_EQ(parsed(R"({"a":tru})"), Value(Dictionary{}));
    EXPECT_EQ(parsed(R"({"a":1,"a":tru})"), Value(Dictionary{}));
    EXPECT_EQ(parsed(R"({"a":null,"a":tru,"b":nul,"c":nullx})"), Value(Dictionary{}));
    EXPECT_EQ(parsed(R"({"a":tru,"a":null})"), object({{"a", Value()}}));
    EXPECT_EQ(parsed("[1, tru, True1, 2]"), array({Value::number(1), Value::number(2)}));
    EXPECT_EQ(parsed(R"({"a":1,"b":2,"a":3})"),
              Value(Dictionary{{"a", Value::number(3)}, {"b", Value::number(2)}}));
    EXPECT_EQ(parsed("[true,false,null]"),
              array({Value::boolean(true), Value::boolean(false), Value()}));
    EXPECT_EQ(parsed(R"({"k" : [ ] , "d" : { } })")["k"], array({}));
    EXPECT_TRUE(parsed("  nonsense").isNull());
    EXPECT_EQ(parsed(R"({"a":1} trailing bytes)"), Value(Dictionary{{"a", Value::number(1)}}));
}

// A null value keeps its key; only an unrecognised word leaves the key out. (Null used to drop
// the key too, which lost the difference between "absent" and "null"; that was changed on
// purpose.)
TEST(JSONDeserializer, NullInADictionaryIsStoredUnderItsKey) {
    const Value expected = object({{"t", Value::boolean(true)}, {"n", Value()}});
    EXPECT_EQ(parsed(R"({"t":true,"n":null})"), expected);
    EXPECT_EQ(parse(R"({"t":true,"n":null})", false).value(), expected);
    EXPECT_EQ(parsed(R"({"t":true,"n":null})").asDictionary().keys(),
              (std::vector<std::string>{"t", "n"}));
    EXPECT_EQ(parsed(R"({"o":{"a":null},"l":[{"b":null},null]})"),
              object({{"o", object({{"a", Value()}})},
                      {"l", array({object({{"b", Value()}}), Value()})}}));
    EXPECT_EQ(parsed(R"({"a":1,"a":null})"), object({{"a", Value()}}));
    EXPECT_EQ(parsed(R"({"a":null,"a":2})"), object({{"a", Value::number(2)}}));
}

TEST(JSONDeserializer, ReportsTheOutermostErrorCode) {
    EXPECT_EQ(errorCode(R"( {"a":1})", false), -1);
    EXPECT_EQ(errorCode("[1]", false), -1);
    EXPECT_EQ(errorCode("{'a':1}"), -2);
    EXPECT_EQ(errorCode(R"({"a" 1})"), -3);
    EXPECT_EQ(errorCode(R"({"a":"\x"})"), -4);
    EXPECT_EQ(errorCode(R"({"a":1 "b":2})"), -5);
    EXPECT_EQ(errorCode(R"({"a":1e+5})"), -5);
    EXPECT_EQ(errorCode(R"([1,"\x"])"), -8);
    EXPECT_EQ(errorCode("[1 2]"), -9);
    EXPECT_EQ(errorCode("[1e+5]"), -9);
    EXPECT_EQ(errorCode("'a'"), -11);
    EXPECT_EQ(errorCode(R"("\u12G4")"), -12);
    EXPECT_EQ(errorCode(R"("\x")"), -13);
    EXPECT_EQ(parse("[1 2]").error().message,
              "Could not scan array. Array not terminated by a ']' character.");
    const auto empty = JSONDeserializer().deserializeAsDictionary(std::string_view());
    ASSERT_FALSE(empty.ok());
    EXPECT_EQ(empty.error(), (foundation::Error{JSONDeserializer::kErrorDomain, -1, ""}));
}

TEST(JSONDeserializer, NumbersAreDoublesReadFromTheirLeadingText) {
    EXPECT_EQ(parsed("[1,-0.5,2E3,-,1e,0.1]"),
              array({Value::number(1), Value::number(-0.5), Value::number(2000), Value::number(0),
                     Value::number(1), Value::number(0.1)}));
    EXPECT_EQ(parsed("1e+5"), Value::number(1));
    EXPECT_TRUE(std::isinf(parsed("1e999").doubleValue()));
    EXPECT_TRUE(std::signbit(parsed("-0").doubleValue()));
}

TEST(JSONDeserializer, DecodesEscapesAndRejectsMalformedText) {
    EXPECT_EQ(parsed(R"("\"\\\/\b\f\n\r\t")"), Value("\"\\/\b\f\n\r\t"));
    EXPECT_EQ(parsed(R"("caf\u00e9 \u00E9")"), Value("caf\xC3\xA9 \xC3\xA9"));
    EXPECT_EQ(parsed(R"("\ud83d\ude00")"), Value("\xF0\x9F\x98\x80"));
    EXPECT_EQ(parsed(R"("a\u0000b")").asString(), std::string("a\0b", 3));
    // Unpaired surrogates must not leak into the text as ill-formed UTF-8.
    EXPECT_EQ(parsed(R"("\ud83dx")"), Value("\xEF\xBF\xBDx"));
    EXPECT_EQ(parsed(R"("\ude00\ud83d")"), Value("\xEF\xBF\xBD\xEF\xBF\xBD"));
    EXPECT_EQ(parsed(R"("\ud83d\u0041")"), Value("\xEF\xBF\xBD"
                                                 "A"));
    EXPECT_EQ(parsed("\"raw \xE2\x82\xAC \xF0\x9F\x98\x80\""),
              Value("raw \xE2\x82\xAC \xF0\x9F\x98\x80"));
    for (std::string_view bad : {"\"\xC3(\"", "\"\xC0\x80\"", "\"\xED\xA0\x80\"",
                                 "\"\xF5\x80\x80\x80\"", "\"\xFF\"", "\"abc\xE2\x82\""})
        EXPECT_EQ(errorCode(bad), -12) << bad;
    EXPECT_EQ(errorCode("{\"a\":\"\xC3(\"}"), -4);
}

TEST(JSONDeserializer, DetectsUTF16AndUTF32ByTheirZeroBytes) {
    const std::u32string text = U"{\"k\":[\"\u00e9\U0001F600\",1]}";
    const Value expected = parsed("{\"k\":[\"\xC3\xA9\xF0\x9F\x98\x80\",1]}");
    std::string utf16le, utf16be, utf32le, utf32be;
    for (char32_t c : text) {
        std::vector<char16_t> units;
        if (c > 0xFFFF)
            units = {static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)),
                     static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF))};
        else
            units = {static_cast<char16_t>(c)};
        for (char16_t u : units) {
            utf16le += {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
            utf16be += {static_cast<char>(u >> 8), static_cast<char>(u & 0xFF)};
        }
        for (int i = 0; i < 4; ++i) {
            utf32le += static_cast<char>((c >> (8 * i)) & 0xFF);
            utf32be += static_cast<char>((c >> (8 * (3 - i))) & 0xFF);
        }
    }
    for (const auto& document : {utf16le, utf16be, utf32le, utf32be}) {
        const auto result = parse(document, false);
        ASSERT_TRUE(result.ok()) << result.error().message;
        EXPECT_EQ(result.value(), expected);
    }
    // A lone surrogate unit becomes U+FFFD rather than failing the document.
    const std::string loneSurrogate("[\0\"\0\x00\xD8\"\0]\0", 10);
    EXPECT_EQ(parsed(loneSurrogate), array({Value("\xEF\xBF\xBD")}));
}

TEST(JSONDeserializer, EveryTruncationOfAValidDocumentFails) {
    const std::string document =
        R"({"text":"Caf\u00e9 \"x\"","6":[1,-2.5e3,true,null,{"$":"\ud83d\ude00"}],"n":{"v":[]}})";
    ASSERT_TRUE(parse(document, false).ok());
    for (std::size_t length = 1; length < document.size(); ++length) {
        const auto result = parse(std::string_view(document).substr(0, length), false);
        EXPECT_FALSE(result.ok()) << length;
    }
    EXPECT_EQ(errorCode(R"({"a":1)"), -6);
    EXPECT_EQ(errorCode(R"({"a")"), -6);
    EXPECT_EQ(errorCode(R"({"a":)"), -6);
    EXPECT_EQ(errorCode("[1,"), -10);
    EXPECT_EQ(errorCode("["), -10);
    EXPECT_EQ(errorCode(R"("abc)"), -15);
    EXPECT_EQ(errorCode(R"("abc\)"), -15);
    EXPECT_EQ(errorCode(R"("\u00)"), -15);
}

TEST(JSONDeserializer, BoundsNestingDepthWithItsOwnError) {
    const int limit = JSONScanner::kMaxDepth;
    EXPECT_TRUE(parse(repeat("[", limit) + repeat("]", limit)).ok());
    EXPECT_TRUE(parse(repeat(R"({"a":)", limit) + repeat("}", limit)).ok());
    for (const std::string& deep :
         {repeat("[", limit + 1) + repeat("]", limit + 1),
          R"({"a":)" + repeat("[{\"b\":", limit) + "1", repeat("[", 200000)})
        EXPECT_EQ(errorCode(deep), JSONScanner::NestingTooDeep);
}

TEST(JSONDeserializer, HugeStringsSurviveIntact) {
    const std::string chunk = "plain text \\\"quoted\\\" \xC3\xA9\\u00e9\\n";
    const std::string decoded = "plain text \"quoted\" \xC3\xA9\xC3\xA9\n";
    const int count = 200000;
    const Value value = parsed("[\"" + repeat(chunk, count) + "\"]");
    EXPECT_EQ(value[0].asString(), repeat(decoded, count));
    const std::string plain(8 << 20, 'x');
    EXPECT_EQ(parsed("\"" + plain + "\"").asString().size(), plain.size());
}

// Keys and values both decoded from escapes must not share the decoding buffer.
TEST(JSONDeserializer, EscapedKeyKeepsItsTextWhenTheValueIsEscapedToo) {
    auto parsed = json::JSONDeserializer().deserializeAsDictionary(
        std::string_view(R"({"k\u000by":"v\"\\w","\tz":"\n"})"));
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed.value()["k\vy"].asString(), "v\"\\w");
    EXPECT_EQ(parsed.value()["\tz"].asString(), "\n");
}
