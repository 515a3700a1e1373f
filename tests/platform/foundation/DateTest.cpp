#include "platform/foundation/Date.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <time.h>

using namespace foundation;

TEST(Date, FormatsInTheDeviceTimeZoneAndKnowsTheReferenceDate) {
    setenv("TZ", "America/New_York", 1);
    tzset();
    // 1980-03-05 02:00 UTC is still 4 March in New York.
    foundation::Date date(321062400.0 + 2 * 3600);
    EXPECT_EQ(date.format("yyyyMMdd"), "19800304");
    EXPECT_EQ(date.format("yyyy-MM-dd'T'HH:mm"), "1980-03-04T21:00");
    setenv("TZ", "UTC", 1);
    tzset();
    EXPECT_EQ(date.format("yyyyMMdd"), "19800305");
    EXPECT_DOUBLE_EQ(foundation::Date::fromAbsoluteTime(0).timeIntervalSince1970(), 978307200.0);
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
