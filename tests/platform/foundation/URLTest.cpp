#include "platform/foundation/URL.h"
#include "platform/foundation/PercentEncoding.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

using foundation::PercentEncoding;
using foundation::URL;

TEST(URL, SplitsAbsoluteURLs) {
    auto url =
        URL::create("http://user@ads.pennant.test:8080/static/phone/img/call.png?a=1&b=%20#top");
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
    for (const std::string& bad : std::vector<std::string>{
             "", " http://a", "http://a b", "no-scheme/path", "1http://a", "http://a/\x01",
             "http://a/é", "http://a/%zz", "http://a/%4", "http://a/{x}", "http://a#b#c",
             "http://a:99999/", "http://[::1/x", std::string("http://a/\0b", 11),
             std::string(70000, 'a')})
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
