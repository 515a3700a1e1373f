#include "platform/foundation/StringsFormat.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

using namespace foundation;

namespace {

std::string utf16(std::u16string_view text, bool bigEndian) {
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t unit : text) {
        const char hi = static_cast<char>(unit >> 8), lo = static_cast<char>(unit & 0xFF);
        out += bigEndian ? std::string{hi, lo} : std::string{lo, hi};
    }
    return out;
}

Value table(std::string_view text) {
    auto parsed = StringsFormat::parse(text);
    EXPECT_TRUE(parsed) << (parsed ? "" : parsed.error().message);
    return parsed ? Value(parsed.value()) : Value();
}

} // namespace

TEST(StringsFormat, NonBasicCharactersFromUTF16AndFromEscapePairs) {
    for (bool bigEndian : {false, true}) {
        EXPECT_EQ(table(utf16(u"\"k\" = \"a\U0001F600\u00E9\";", bigEndian))["k"].asString(),
                  "a\U0001F600\u00E9");
        EXPECT_EQ(table(utf16(u"\"k\" = \"\xD83D\";", bigEndian))["k"].asString(), "\uFFFD");
    }
    const Value escaped =
        table(R"("pair" = "\UD83D\UDE00!"; "lone" = "\ud83dx"; "misc" = "\t\\\q";)");
    EXPECT_EQ(escaped["pair"].asString(), "\U0001F600!");
    EXPECT_EQ(escaped["lone"].asString(), "\uFFFDx");
    EXPECT_EQ(escaped["misc"].asString(), "\t\\q");
    EXPECT_FALSE(StringsFormat::parse(R"("a" = "\U12";)"));
}
