#include "platform/foundation/NumberParser.h"

#include <gtest/gtest.h>

using foundation::NumberParser;

TEST(NumberParser, IntegersMustBeWholeAndInRange) {
    EXPECT_EQ(NumberParser::integer("42", "count", 0, 100).value(), 42);
    EXPECT_EQ(NumberParser::integer("-7", "offset", -10, 10).value(), -7);
    for (const char* bad :
         {"", " 1", "1 ", "+1", "1.0", "1e2", "0x10", "12abc", "101", "-1", "99999999999999999999"})
        EXPECT_FALSE(NumberParser::integer(bad, "count", 0, 100)) << bad;
    const auto refused = NumberParser::integer("101", "count", 0, 100);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().domain, NumberParser::kErrorDomain);
    EXPECT_EQ(refused.error().message, "count must be a whole number from 0 to 100, not '101'");
}

TEST(NumberParser, NumbersMustBeFiniteAndWhole) {
    EXPECT_EQ(NumberParser::finiteNumber("2.5", "speed").value(), 2.5);
    EXPECT_EQ(NumberParser::finiteNumber("-1e3", "speed").value(), -1000);
    for (const char* bad : {"", "nan", "inf", "-infinity", "1e999", "1.5s", " 1", "+1", "."})
        EXPECT_FALSE(NumberParser::finiteNumber(bad, "speed")) << bad;
    EXPECT_EQ(NumberParser::finiteNumber("nan", "speed").error().message,
              "speed must be a finite number, not 'nan'");
    EXPECT_EQ(NumberParser::finiteNumber("-0.5", "delay", 0).error().message,
              "delay must be a number of at least 0, not '-0.5'");
    EXPECT_EQ(NumberParser::finiteNumber("3", "ratio", 0, 1).error().message,
              "ratio must be a number from 0 to 1, not '3'");
    EXPECT_EQ(NumberParser::finiteNumber("1", "ratio", 0, 1).value(), 1);
}

TEST(NumberParser, PortsAreDecimalDigitsFromOneTo65535) {
    EXPECT_EQ(NumberParser::port("1").value(), 1);
    EXPECT_EQ(NumberParser::port("65535").value(), 65535);
    for (const char* bad :
         {"0", "65536", "99999", "99999999999", "-5", "1.5", "+80", "", "80 ", "0x50", "http"})
        EXPECT_FALSE(NumberParser::port(bad)) << bad;
    EXPECT_EQ(NumberParser::port("-5", "ad server port").error().message,
              "ad server port must be a whole number from 1 to 65535, not '-5'");
}
