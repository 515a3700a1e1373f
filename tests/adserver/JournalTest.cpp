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
    // Entries keep their numbers when older ones are dropped, so paging carries on where it was.
    const auto page = journal.toValue(0, 3);
    EXPECT_EQ(page["dropped"].intValue(), static_cast<long long>(extra));
    EXPECT_EQ(page["offset"].intValue(), static_cast<long long>(extra));
    EXPECT_EQ(page["next"].intValue(), static_cast<long long>(extra + 3));
    EXPECT_EQ(page["requests"][0]["path"].asString(), std::to_string(extra));
    EXPECT_EQ(journal.toValue(extra + 10, 1)["requests"][0]["path"].asString(),
              std::to_string(extra + 10));
    journal.clear();
    EXPECT_TRUE(journal.entries().empty());
    EXPECT_EQ(journal.toValue()["dropped"].intValue(), 0);
}

TEST(Journal, EntriesKeepBoundedHeadersAndTargets) {
    Journal journal;
    Journal::Entry many{"GET", std::string(100000, 'p'), std::string(100000, 'q'), {}, "", 0};
    for (int i = 0; i < 20000; ++i)
        many.headers.emplace_back("X-Header-" + std::to_string(i), "value");
    journal.record(std::move(many));
    Journal::Entry large{"GET", "/", "", {}, "", 0};
    for (int i = 0; i < 10; ++i)
        large.headers.emplace_back("X-Large-" + std::to_string(i), std::string(8000, 'v'));
    journal.record(std::move(large));

    const auto entries = journal.entries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].headers.size(), Journal::kMaxHeaders);
    EXPECT_EQ(entries[0].headers.front().first, "X-Header-0");
    EXPECT_EQ(entries[0].path.size(), Journal::kMaxTargetBytes);
    EXPECT_EQ(entries[0].query.size(), Journal::kMaxTargetBytes);
    std::size_t headerBytes = 0;
    for (const auto& [name, value] : entries[1].headers)
        headerBytes += name.size() + value.size();
    EXPECT_LE(headerBytes, Journal::kMaxHeaderBytes);
    EXPECT_GT(headerBytes, Journal::kMaxHeaderBytes - 8100);
}

TEST(Journal, LargeEntriesAreDroppedOldestFirstAndAnsweredInBoundedPages) {
    Journal journal;
    const std::size_t recorded = 2 * Journal::kMaxBytes / Journal::kMaxBodyBytes;
    for (std::size_t i = 0; i < recorded; ++i)
        journal.record(
            {"POST", std::to_string(i), "", {}, std::string(Journal::kMaxBodyBytes, 'b'), 0});
    const auto entries = journal.entries();
    EXPECT_LT(entries.size() * Journal::kMaxBodyBytes, Journal::kMaxBytes);
    EXPECT_EQ(journal.dropped() + entries.size(), recorded);
    EXPECT_EQ(entries.back().path, std::to_string(recorded - 1));

    const auto page = journal.toValue(0, Journal::kMaxPageEntries);
    const auto& requests = page["requests"].asArray();
    EXPECT_LE(requests.size() * Journal::kMaxBodyBytes, Journal::kMaxPageBytes);
    EXPECT_FALSE(requests.empty());
    EXPECT_EQ(page["dropped"].intValue(), static_cast<long long>(journal.dropped()));
    EXPECT_EQ(page["offset"].intValue(), static_cast<long long>(journal.dropped()));
    EXPECT_EQ(page["next"].intValue(),
              page["offset"].intValue() + static_cast<long long>(requests.size()));
    EXPECT_EQ(page["total"].intValue(), static_cast<long long>(recorded));
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
