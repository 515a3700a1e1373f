#include "platform/foundation/PercentEncoding.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using foundation::PercentEncoding;

TEST(PercentEncoding, EscapesEverythingButUnreservedWithUpperCaseHex) {
    EXPECT_EQ(PercentEncoding::encode("a b&c"), "a%20b%26c");
    EXPECT_EQ(PercentEncoding::encode("é"), "%C3%A9");
    EXPECT_EQ(PercentEncoding::encode("-_.~!*'();:@&=+$,/?%#[]"),
              "-_.~%21%2A%27%28%29%3B%3A%40%26%3D%2B%24%2C%2F%3F%25%23%5B%5D");
    EXPECT_EQ(PercentEncoding::encode("a/b c", "/"), "a/b%20c");
    EXPECT_FALSE(PercentEncoding::decode("%E"));
    EXPECT_FALSE(PercentEncoding::decode("%C3"));
    EXPECT_EQ(PercentEncoding::decode("a%2fb+c"), "a/b+c");
}

TEST(PercentEncoding, ArbitraryUTF8RoundTrips) {
    std::mt19937 random(11);
    const std::vector<std::string> pieces{"a", "Z",  " ", "%", "é",   "→",
                                          "😀", "\n", "&", "=", "\x01"};
    for (int i = 0; i < 500; ++i) {
        std::string text;
        for (int k = random() % 12; k > 0; --k)
            text += pieces[random() % pieces.size()];
        EXPECT_EQ(PercentEncoding::decode(PercentEncoding::encode(text)), text);
    }
}
