#include "platform/foundation/ASCII.h"

#include <gtest/gtest.h>

using foundation::ASCII;

TEST(ASCII, OnlyASCIILettersChangeCaseAndUTF8BytesPassThrough) {
    EXPECT_EQ(ASCII::lowercased("HTTP://Ads.Pennant.TEST/\xC3\x89t\xC3\xA9"),
              "http://ads.pennant.test/\xC3\x89t\xC3\xA9");
    EXPECT_TRUE(ASCII::equalsIgnoringCase("Content-Length", "content-LENGTH"));
    EXPECT_FALSE(ASCII::equalsIgnoringCase("Content-Length", "Content-Lengt"));
    EXPECT_FALSE(ASCII::equalsIgnoringCase("\xC3\x89", "\xC3\xA9"))
        << "no case folding beyond ASCII";
}

TEST(ASCII, TrimmingKeepsInnerSpaceAndEmptiesBlankText) {
    EXPECT_EQ(ASCII::trimmed(" \t a b \r\n"), "a b");
    EXPECT_EQ(ASCII::trimmed(" \t\r\n\v\f"), "");
    EXPECT_EQ(ASCII::trimmed(""), "");
    EXPECT_EQ(ASCII::trimmed("xx-yy-xx", "x"), "-yy-");
}
