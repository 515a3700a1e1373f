#include "platform/foundation/Date.h"
#include "platform/foundation/PercentEncoding.h"
#include "platform/foundation/URL.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

using foundation::PercentEncoding;
using foundation::URL;

TEST(URL, SplitsAbsoluteURLs) {
    auto url = URL::create("http://user@ads.pennant.test:8080/static/phone/img/call.png?a=1&b=%20#top");
    ASSERT_TRUE(url);
    EXPECT_EQ(url->scheme(), "http");
    EXPECT_EQ(url->user(), "user");
    EXPECT_EQ(url->host(), "ads.pennant.test");
    EXPECT_EQ(url->port(), 8080);
    EXPECT_EQ(url->path(), "/static/phone/img/call.png");
    EXPECT_EQ(url->query(), "a=1&b=%20");
    EXPECT_EQ(url->fragment(), "top");
    EXPECT_EQ(url->lastPathComponent(), "call.png");
    EXPECT_EQ(url->pathExtension(), "png");
    EXPECT_EQ(URL::create("http://h/a/b/")->lastPathComponent(), "b");
    EXPECT_EQ(URL::create("http://h/")->lastPathComponent(), "/");
    EXPECT_EQ(URL::create("http://h")->lastPathComponent(), "");
    EXPECT_EQ(URL::create("http://[::1]:99/x")->host(), "::1");
}

TEST(URL, TelephoneURLsWithAndWithoutAuthority) {
    auto bare = URL::create("tel:555-0100");
    ASSERT_TRUE(bare);
    EXPECT_EQ(bare->host(), "");
    EXPECT_EQ(bare->path(), "555-0100");
    auto slashed = URL::create("tel://555-0100");
    ASSERT_TRUE(slashed);
    EXPECT_EQ(slashed->host(), "555-0100");
    EXPECT_TRUE(URL::create("mailto:a@b.test?subject=x"));
}

TEST(URL, RejectsWhatThePlatformRejects) {
    for (const std::string& bad : std::vector<std::string>{"", " http://a", "http://a b", "no-scheme/path", "1http://a",
                            "http://a/\x01", "http://a/é", "http://a/%zz", "http://a/%4",
                            "http://a/{x}", "http://a#b#c", "http://a:99999/", "http://[::1/x",
                            std::string("http://a/\0b", 11), std::string(70000, 'a')})
        EXPECT_FALSE(URL::create(bad)) << bad.substr(0, 30);
    std::mt19937 random(7);
    for (int i = 0; i < 2000; ++i) {
        std::string noise(random() % 40, '\0');
        for (auto& c : noise)
            c = static_cast<char>(random());
        if (auto url = URL::create("http://" + noise)) {
            EXPECT_EQ(url->absoluteString(), "http://" + noise);
        }
    }
}

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
    const std::vector<std::string> pieces{"a", "Z", " ", "%", "é", "→", "😀", "\n", "&", "=", "\x01"};
    for (int i = 0; i < 500; ++i) {
        std::string text;
        for (int k = random() % 12; k > 0; --k)
            text += pieces[random() % pieces.size()];
        EXPECT_EQ(PercentEncoding::decode(PercentEncoding::encode(text)), text);
    }
}

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
