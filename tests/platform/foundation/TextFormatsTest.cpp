#include "platform/foundation/Date.h"
#include "platform/foundation/Dictionary.h"
#include "platform/foundation/PercentEncoding.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/StringsFormat.h"
#include "platform/foundation/URL.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <filesystem>

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

TEST(Date, FormatPatternsQuotesAndFractions) {
    setenv("TZ", "UTC", 1);
    tzset();
    const Date date(1'234'567'890.5); // 2009-02-13 23:31:30.5 UTC
    EXPECT_EQ(date.format("yy/M/d H:m:s.SSS S"), "09/2/13 23:31:30.500 5");
    EXPECT_EQ(date.format("HH 'o''clock' ''x"), "23 o'clock 'x");
    EXPECT_EQ(date.format("'unterminated HH"), "unterminated HH");
    EXPECT_EQ(Date(-0.25).format("yyyy-MM-dd HH:mm:ss.SSS"), "1969-12-31 23:59:59.750");
}

TEST(URL, FileURLsEscapeTheirPathAndAreAlwaysAbsolute) {
    const std::string path = "/tmp/a b#c?d%e/é.wav";
    const URL file = URL::fileURLWithPath(path);
    EXPECT_EQ(file.absoluteString(), "file:///tmp/a%20b%23c%3Fd%25e/%C3%A9.wav");
    EXPECT_EQ(file.path(), path);
    auto reparsed = URL::create(file.absoluteString());
    ASSERT_TRUE(reparsed);
    EXPECT_EQ(reparsed->host(), "");
    EXPECT_EQ(reparsed->query(), "");
    EXPECT_EQ(PercentEncoding::decode(reparsed->path()), path);
    // Written after "file://", a relative path's first component would read as a host.
    const URL relative = URL::fileURLWithPath("tap.wav");
    EXPECT_EQ(relative.path(), (std::filesystem::current_path() / "tap.wav").string());
    EXPECT_EQ(URL::create(relative.absoluteString())->host(), "");
    EXPECT_EQ(URL::create("http://a@b@[fe80::1]:0#f?x")->user(), "a@b");
    EXPECT_EQ(URL::create("http://a@b@[fe80::1]:0#f?x")->port(), 0);
    EXPECT_EQ(URL::create("http://a@b@[fe80::1]:0#f?x")->fragment(), "f?x");
}
