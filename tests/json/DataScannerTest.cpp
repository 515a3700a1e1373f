#include "json/DataScanner.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using json::DataScanner;

namespace {

// An exactly sized heap buffer, so a read past its end is caught by the address sanitizer.
std::vector<std::uint8_t> buffer(std::string_view text) { return {text.begin(), text.end()}; }

} // namespace

TEST(DataScanner, CharacterReadsStopAtTheEnd) {
    const auto bytes = buffer("ab");
    DataScanner scanner(bytes);
    EXPECT_EQ(scanner.scanCharacter(), u'a');
    EXPECT_FALSE(scanner.scanCharacter(u'x'));
    EXPECT_TRUE(scanner.scanCharacter(u'b'));
    EXPECT_TRUE(scanner.isAtEnd());
    EXPECT_EQ(scanner.currentCharacter(), 0);
    EXPECT_EQ(scanner.scanCharacter(), 0);
    EXPECT_FALSE(scanner.scanCharacter(u'\0'));
    EXPECT_EQ(scanner.scanLocation(), 2u);
    scanner.setScanLocation(99);
    EXPECT_EQ(scanner.scanLocation(), 2u);
    scanner.setScanLocation(1);
    EXPECT_EQ(scanner.remainingString(), "b");
}

TEST(DataScanner, StringAndSetScansReportWhatTheyPassed) {
    const auto bytes = buffer(" \t\r\nkey=value;rest");
    DataScanner scanner(bytes);
    scanner.skipWhitespace();
    std::string text;
    EXPECT_FALSE(scanner.scanString("key=value;rest-and-more"));
    EXPECT_TRUE(
        scanner.scanCharactersFromSet(DataScanner::byteSet("abcdefghijklmnopqrstuvwxyz"), &text));
    EXPECT_EQ(text, "key");
    EXPECT_TRUE(scanner.scanString("=", &text));
    EXPECT_EQ(text, "=");
    EXPECT_TRUE(scanner.scanUpToCharactersFromSet(DataScanner::byteSet(";"), &text));
    EXPECT_EQ(text, "value");
    EXPECT_FALSE(scanner.scanUpToCharactersFromSet(DataScanner::byteSet(";")));
    EXPECT_FALSE(scanner.scanUpToString("missing"));
    EXPECT_TRUE(scanner.scanUpToString("st", &text));
    EXPECT_EQ(text, ";re");
    EXPECT_EQ(scanner.remainingString(), "st");
}

TEST(DataScanner, NumbersTakeTheLeadingValueOfTheirCharacterRun) {
    struct Case {
        std::string_view text;
        double value;
        std::size_t consumed;
    };
    for (const Case& c :
         std::initializer_list<Case>{{"1", 1, 1},
                                     {"-0.5,", -0.5, 4},
                                     {"2E3", 2000, 3},
                                     {"1e+5", 1, 2},
                                     {"-", 0, 1},
                                     {"1e", 1, 2},
                                     {"1.2.3", 1.2, 5},
                                     {"0.1", 0.1, 3},
                                     {"12345678901234567890", 12345678901234567890.0, 20},
                                     {"1e-400", 0, 6}}) {
        const auto bytes = buffer(c.text);
        DataScanner scanner(bytes);
        double value = -1;
        ASSERT_TRUE(scanner.scanNumber(&value)) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
        EXPECT_EQ(scanner.scanLocation(), c.consumed) << c.text;
    }
    const auto huge = buffer("-1e999");
    double value = 0;
    EXPECT_TRUE(DataScanner(huge).scanNumber(&value));
    EXPECT_TRUE(std::isinf(value) && value < 0);
    const auto letters = buffer("x1");
    EXPECT_FALSE(DataScanner(letters).scanNumber(&value));
}

TEST(DataScannerBounds, ScansAtTheEndOrWithoutProgressReportFalse) {
    const std::vector<std::uint8_t> bytes{'a', ',', 'b'};
    DataScanner empty, spent(bytes);
    spent.setScanLocation(bytes.size());
    for (DataScanner* scanner : {&empty, &spent}) {
        std::string out = "untouched";
        double number = -1;
        EXPECT_FALSE(scanner->scanString("b", &out));
        EXPECT_FALSE(scanner->scanCharactersFromSet(DataScanner::byteSet("ab,"), &out));
        EXPECT_FALSE(scanner->scanUpToCharactersFromSet(DataScanner::byteSet("x"), &out));
        EXPECT_FALSE(scanner->scanUpToString("x", &out));
        EXPECT_FALSE(scanner->scanNumber(&number));
        EXPECT_EQ(out, "untouched");
        EXPECT_EQ(number, -1);
        EXPECT_EQ(scanner->remainingString(), "");
    }
    // Finding the string right at the cursor is no progress, so a loop over separators ends.
    DataScanner scanner(bytes);
    EXPECT_FALSE(scanner.scanUpToString("a,"));
    std::string out;
    int pieces = 0;
    while (scanner.scanUpToString(",", &out) || scanner.scanString(","))
        ASSERT_LT(++pieces, 10);
    EXPECT_EQ(scanner.remainingString(), "b");
    // Taking the same bytes again starts them over.
    scanner.setData(bytes);
    EXPECT_EQ(scanner.scanLocation(), 0u);
}
