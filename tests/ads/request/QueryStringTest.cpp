#include "ads/request/URLDownload.h"
#include "platform/foundation/Dictionary.h"

#include <gtest/gtest.h>

using foundation::Dictionary;
using foundation::Value;
using pennant::URLDownload;

TEST(EncodeURL, EscapesEverythingButUnreservedCharacters) {
    EXPECT_EQ(URLDownload::encodeURL("a b&c"), "a%20b%26c");
    EXPECT_EQ(URLDownload::encodeURL("\xC3\xA9"), "%C3%A9");
    EXPECT_EQ(URLDownload::encodeURL("AZaz09-_.~"), "AZaz09-_.~");
    EXPECT_EQ(URLDownload::encodeURL("!*'();:@&=+$,/?%#[]"),
              "%21%2A%27%28%29%3B%3A%40%26%3D%2B%24%2C%2F%3F%25%23%5B%5D");
}

TEST(QueryString, PairsFollowTheDictionaryOrderWithEncodedKeysAndValues) {
    const Dictionary params{{"s", "abc"}, {"pub_data[sc]", "t,12.50"}, {"n", Value::integer(7)}};
    EXPECT_EQ(URLDownload::queryStringFromDictionary(params),
              "s=abc&pub_data%5Bsc%5D=t%2C12.50&n=7");
    EXPECT_EQ(URLDownload::queryStringFromDictionary(Dictionary{}), "");
}

TEST(QueryString, ParsingKeepsOnlyExactPairsAndLowerCasesKeys) {
    const auto parsed = URLDownload::dictionaryFromQueryString("A=1&b=2;c&d=x=y");
    EXPECT_EQ(parsed, (Dictionary{{"a", "1"}, {"b", "2"}}));
}

TEST(QueryString, ParsingDecodesAndLetsLaterKeysWin) {
    const auto parsed = URLDownload::dictionaryFromQueryString("q=a%20b&&;Q=%C3%A9;;=empty-key");
    EXPECT_EQ(parsed, (Dictionary{{"q", "\xC3\xA9"}, {"", "empty-key"}}));
    EXPECT_TRUE(URLDownload::dictionaryFromQueryString(std::nullopt).empty());
}

TEST(QueryString, PairsWithBrokenEscapesAreDropped) {
    const auto parsed = URLDownload::dictionaryFromQueryString("bad=%zz&worse%=1&lone=%FF&ok=1");
    EXPECT_EQ(parsed, (Dictionary{{"ok", "1"}}));
}

TEST(QueryString, RoundTripsThroughEncoding) {
    const Dictionary params{{"query", "pizza & beer"}, {"d[coord]", "37.3,-122.0"}};
    EXPECT_EQ(URLDownload::dictionaryFromQueryString(URLDownload::queryStringFromDictionary(params)),
              params);
}
