#include "json/JSONScanner.h"
#include "platform/foundation/Dictionary.h"
#include "json/DataScanner.h"
#include "json/JSONDeserializer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

using foundation::Value;
using json::JSONScanner;

namespace {

// Exactly sized heap copies, so the sanitizer catches any read past the end.
std::vector<std::uint8_t> bytes(std::string_view text) { return {text.begin(), text.end()}; }

foundation::Result<Value> parse(std::string_view text) {
    return json::JSONDeserializer().deserialize(bytes(text));
}

Value parsed(std::string_view text) {
    auto result = parse(text);
    EXPECT_TRUE(result.ok()) << text << ": " << (result.ok() ? "" : result.error().message);
    return result.ok() ? result.value() : Value();
}

long failure(std::string_view text) {
    auto result = parse(text);
    EXPECT_FALSE(result.ok()) << text;
    return result.ok() ? 0 : result.error().code;
}

std::string utf16(std::u16string_view text, bool bigEndian) {
    std::string out;
    for (char16_t unit : text) {
        const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
        out += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return out;
}

std::string nested(int depth) { return std::string(depth, '[') + std::string(depth, ']'); }

const std::string kReplacement = "\xEF\xBF\xBD";

} // namespace

TEST(JSONScanner, InnerErrorsBecomeTheEnclosingContainersError) {
    for (const auto& [text, code] : std::initializer_list<std::pair<std::string_view, long>>{
             {R"([{"a":[1 2]}])", JSONScanner::ArrayValueMissing},
             {R"({"a":{1:2}})", JSONScanner::DictionaryValueMissing},
             {R"({"a":'b'})", JSONScanner::DictionaryValueMissing},
             {R"({"\q":1})", JSONScanner::DictionaryKeyMissing},
             {R"({"a":"b")", JSONScanner::DictionaryNotTerminated},
             {R"([[1,])", JSONScanner::ArrayNotTerminated},
             {R"([{"a":1} {"c":3}])", JSONScanner::ArrayCommaMissing},
             {R"({"n":+1})", JSONScanner::DictionaryCommaMissing},
             {"[.5]", JSONScanner::ArrayCommaMissing},
         }) {
        const auto result = parse(text);
        ASSERT_FALSE(result.ok()) << text;
        EXPECT_EQ(result.error(), JSONScanner::error(static_cast<JSONScanner::ErrorCode>(code)))
            << text;
    }
    // Too deep is passed through unchanged from any depth, under dictionaries and arrays alike.
    const auto deep = parse(R"({"a":[{"b":)" + nested(JSONScanner::kMaxDepth));
    ASSERT_FALSE(deep.ok());
    EXPECT_EQ(deep.error().message, "Could not scan JSON. Nesting is deeper than 512 levels.");
}

TEST(JSONScanner, ReuseStartsCleanAfterFailures) {
    const auto tooDeep = bytes(nested(JSONScanner::kMaxDepth + 1)),
               deepest = bytes(nested(JSONScanner::kMaxDepth));
    const auto broken = bytes("[1,2,[3,4,x"), ordinary = bytes("[1 2]"),
               fine = bytes(R"([1,{"a":[2]},3])");
    JSONScanner scanner(tooDeep);
    foundation::Error error;
    EXPECT_FALSE(scanner.scanJSONObject(nullptr, &error));
    // A later failure reports its own code, and no depth has leaked.
    scanner.setData(ordinary);
    EXPECT_FALSE(scanner.scanJSONObject(nullptr, &error));
    EXPECT_EQ(error.code, JSONScanner::ArrayCommaMissing);
    scanner.setData(deepest);
    EXPECT_TRUE(scanner.scanJSONObject(nullptr, &error));
    // No elements are left over from a failed scan.
    scanner.setData(broken);
    EXPECT_FALSE(scanner.scanJSONObject(nullptr, nullptr));
    scanner.setData(fine);
    Value value;
    ASSERT_TRUE(scanner.scanJSONObject(&value, nullptr));
    EXPECT_EQ(value, parsed(R"([1,{"a":[2]},3])"));
    // Short wide documents transcode into the same buffer; the cursor must still start over.
    const auto first = bytes(utf16(u"[1]", false)), second = bytes(utf16(u"[2]", false));
    scanner.setData(first);
    ASSERT_TRUE(scanner.scanJSONObject(&value, nullptr));
    scanner.setData(second);
    ASSERT_TRUE(scanner.scanJSONObject(&value, nullptr));
    EXPECT_EQ(value[0], Value::number(2));
}

TEST(JSONScanner, WideDocumentsWithOddByteCountsAndEdgeUnits) {
    for (bool bigEndian : {false, true}) {
        // A trailing partial unit becomes U+FFFD after the value, where it is ignored.
        EXPECT_EQ(parsed(utf16(u"[1]", bigEndian) + "x"), parsed("[1]"));
        EXPECT_EQ(failure(utf16(u"\"ab", bigEndian) + "c"), JSONScanner::StringNotTerminated);
        // A high surrogate as the last unit has no partner to read.
        EXPECT_EQ(failure(utf16(u"[\"\xD83D", bigEndian)), JSONScanner::ArrayValueMissing);
    }
    EXPECT_EQ(parsed(utf16(u"[\"\xDE00\xD83D\xDE00\"]", true))[0].asString(),
              kReplacement + "\xF0\x9F\x98\x80");
    // The smallest wide documents, and UTF-32 with a unit beyond U+10FFFF and stray bytes.
    EXPECT_EQ(parsed(utf16(u"[]", false)), Value(Value::Array{}));
    EXPECT_EQ(parsed(std::string("7\0\0\0", 4)), Value::number(7));
    EXPECT_EQ(parsed(std::string("[\0\0\0\"\0\0\0\0\0\x11\0\"\0\0\0]\0\0\0!", 21))[0].asString(),
              kReplacement);
    EXPECT_EQ(parsed(std::string("\0\0\0[\0\0\0\x31\0\0\0]\0\0", 14)), parsed("[1]"));
}

TEST(JSONScanner, SurrogateEscapesPairOnlyWhenAdjacent) {
    const std::string grin = "\xF0\x9F\x98\x80";
    EXPECT_EQ(parsed(R"(["\ud83d","\ude00"])"),
              Value(Value::Array{Value(kReplacement), Value(kReplacement)}));
    EXPECT_EQ(parsed(R"("\ud83d\ud83d\ude00")").asString(), kReplacement + grin);
    EXPECT_EQ(parsed(R"("\ud83d\\ude00")").asString(), kReplacement + "\\ude00");
    EXPECT_EQ(parsed(R"("x\uDBFF\uDFFF")").asString(), "x\xF4\x8F\xBF\xBF");
    EXPECT_EQ(failure(R"("\ud83d\u12")"), JSONScanner::StringUndecodable);
}

TEST(JSONScanner, NumbersAtTheEdges) {
    EXPECT_EQ(
        parsed("[1e308,-1e309,1e-320,4.9e-324,2.2250738585072014e-308,9007199254740993,1e23,1-2]"),
        Value(Value::Array{Value::number(1e308), Value::number(-HUGE_VAL), Value::number(1e-320),
                           Value::number(std::numeric_limits<double>::denorm_min()),
                           Value::number(std::numeric_limits<double>::min()),
                           Value::number(9007199254740992.0), Value::number(1e23),
                           Value::number(1)}));
    EXPECT_TRUE(parsed(".5").isNull());
}

TEST(JSONScanner, FailedScansRestoreTheCursorAndToleratesNullOutputs) {
    const std::string text = R"(  {"a":[1,2 3]})";
    JSONScanner scanner(json::DataScanner::bytesOf(text));
    scanner.setScanLocation(2);
    foundation::Error error;
    EXPECT_FALSE(scanner.scanJSONDictionary(nullptr, &error));
    EXPECT_EQ(error.code, JSONScanner::DictionaryValueMissing);
    EXPECT_EQ(scanner.scanLocation(), 2u);
    EXPECT_FALSE(scanner.scanJSONArray(nullptr, nullptr));
    EXPECT_FALSE(scanner.scanJSONNumberConstant(nullptr, &error));
    EXPECT_EQ(error.code, JSONScanner::NumberMissing);
    scanner.setScanLocation(8);
    Value number;
    EXPECT_TRUE(scanner.scanJSONNumberConstant(&number, nullptr));
    EXPECT_EQ(number, Value::number(1));
}
