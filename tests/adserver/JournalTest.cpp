#include "adserver/Journal.h"
#include "json/JSONDeserializer.h"
#include "json/JSONSerializer.h"

#include <gtest/gtest.h>

using adserver::Journal;

TEST(Journal, KeepsOnlyTheNewestEntries) {
    Journal journal;
    const std::size_t extra = 5;
    for (std::size_t i = 0; i < Journal::kMaxEntries + extra; ++i)
        journal.record({"GET", std::to_string(i), "", {}, "", 0});
    const auto entries = journal.entries();
    ASSERT_EQ(entries.size(), Journal::kMaxEntries);
    EXPECT_EQ(entries.front().path, std::to_string(extra));
    EXPECT_EQ(entries.back().path, std::to_string(Journal::kMaxEntries + extra - 1));
    journal.clear();
    EXPECT_TRUE(journal.entries().empty());
}

TEST(Journal, StoresOnlyBoundedUTF8ThatSerializesAsJSON) {
    Journal journal;
    // The cut falls inside a two-byte character, which must not survive as half a sequence.
    std::string body(Journal::kMaxBodyBytes - 1, 'b');
    body += "\xC3\xA9 and more after the limit";
    journal.record(
        {"POST", "/p\xFF", "q=\xC3(", {{"X-A", "1"}, {"X-A", "2\xFE"}, {"X\x80", "v"}}, body, 1.5});
    journal.record({"GET", "/ok", "", {}, "caf\xC3\xA9 \xF0\x9F\x98\x80", 2});
    const auto entries = journal.entries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].body.size(), Journal::kMaxBodyBytes);
    EXPECT_EQ(entries[0].body.back(), '?');
    EXPECT_EQ(entries[0].path, "/p?");
    EXPECT_EQ(entries[0].query, "q=?(");
    EXPECT_EQ(entries[1].body, "caf\xC3\xA9 \xF0\x9F\x98\x80");

    const auto text = json::JSONSerializer().serializeObject(journal.toValue());
    ASSERT_TRUE(text.ok()) << text.error().message;
    const auto value = json::JSONDeserializer().deserializeAsDictionary(text.value());
    ASSERT_TRUE(value.ok());
    const auto& first = value.value()["requests"][0];
    EXPECT_EQ(first["headers"]["X-A"].asString(), "1, 2?");
    EXPECT_EQ(first["headers"]["X?"].asString(), "v");
    EXPECT_EQ(first["time"].doubleValue(), 1.5);
    EXPECT_EQ(value.value()["requests"][1]["body"].asString(), entries[1].body);
}
