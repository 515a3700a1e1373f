#include "sim/Trace.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/RunLoop.h"
#include "json/JSONDeserializer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

using foundation::Value;

namespace {

std::vector<Value> readLines(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::vector<Value> events;
    for (std::string line; std::getline(in, line);) {
        auto event = json::JSONDeserializer().deserialize(line);
        EXPECT_TRUE(event) << line;
        events.push_back(event ? event.value() : Value());
    }
    return events;
}

} // namespace

TEST(Trace, WritesOneObjectPerLineWithTimeSinceTheStart) {
    auto clock = std::make_shared<foundation::VirtualClock>(5000);
    foundation::RunLoop::main().setClock(clock);
    const auto path =
        std::filesystem::temp_directory_path() / ("trace-" + std::to_string(::getpid()) + ".jsonl");
    {
        sim::Trace trace;
        ASSERT_TRUE(trace.open(path.string(), clock->now()));
        trace.record("log", {{"message", "two\nlines and a \"quote\""}});
        clock->advanceBy(1.25);
        trace.record("sound", {{"name", "zeee"}, {"t", "forged"}, {"type", "forged"}});
        trace.record("log", {{"message", std::string("\xff\xfe not text")}});
        EXPECT_EQ(trace.count("log"), 2u);
        EXPECT_EQ(trace.count("sound"), 1u);
        EXPECT_EQ(trace.count("screenshot"), 0u);
    }
    const auto events = readLines(path);
    ASSERT_EQ(events.size(), 3u) << "a message with a newline still takes one line";
    EXPECT_EQ(events[0]["t"].doubleValue(), 0);
    EXPECT_EQ(events[0]["type"].stringValue(), "log");
    EXPECT_EQ(events[0]["message"].stringValue(), "two\nlines and a \"quote\"");
    EXPECT_EQ(events[1]["t"].doubleValue(), 1.25);
    EXPECT_EQ(events[1]["name"].stringValue(), "zeee");
    EXPECT_EQ(events[1]["type"].stringValue(), "sound") << "fields cannot replace the time or type";
    EXPECT_EQ(events[2]["type"].stringValue(), "trace-error")
        << "an event that cannot be written is reported, not lost";
    std::filesystem::remove(path);

    sim::Trace nowhere;
    EXPECT_FALSE(nowhere.open("/nonexistent/dir/trace.jsonl", clock->now()));
}

// Log lines arrive on whichever thread logs, so the trace takes events from any thread at once.
TEST(Trace, EventsFromManyThreadsEachTakeOneWholeLine) {
    foundation::RunLoop::main().setClock(std::make_shared<foundation::VirtualClock>(0));
    const auto path = std::filesystem::temp_directory_path() /
                      ("trace-threads-" + std::to_string(::getpid()) + ".jsonl");
    constexpr int kThreads = 8;
    constexpr int kEvents = 200;
    {
        sim::Trace trace;
        ASSERT_TRUE(trace.open(path.string(), 0));
        std::vector<std::thread> threads;
        for (int t = 0; t < kThreads; ++t)
            threads.emplace_back([&trace, t] {
                const std::string filler(300, char('a' + t));
                for (int i = 0; i < kEvents; ++i)
                    trace.record("log", {{"message", filler},
                                         {"thread", foundation::Value::integer(t)},
                                         {"i", foundation::Value::integer(i)}});
            });
        for (auto& thread : threads)
            thread.join();
        EXPECT_EQ(trace.count("log"), std::size_t(kThreads * kEvents));
        EXPECT_TRUE(trace.close().ok());
    }
    const auto events = readLines(path);
    ASSERT_EQ(events.size(), std::size_t(kThreads * kEvents));
    std::vector<int> next(kThreads, 0);
    for (const auto& event : events) {
        const auto thread = event["thread"].intValue();
        ASSERT_TRUE(thread >= 0 && thread < kThreads);
        EXPECT_EQ(event["i"].intValue(), next[thread]++) << "each thread's events keep their order";
        EXPECT_EQ(event["message"].stringValue(), std::string(300, char('a' + thread)));
    }
    std::filesystem::remove(path);
}

TEST(Trace, ClosingReportsLinesThatWereNotWritten) {
    sim::Trace full;
    ASSERT_TRUE(full.open("/dev/full", 0));
    full.record("log", {{"message", "lost"}});
    const auto closed = full.close();
    ASSERT_FALSE(closed.ok());
    EXPECT_EQ(closed.error().message,
              "cannot write the trace to /dev/full: No space left on device");
    EXPECT_EQ(full.count("log"), 1u) << "events still count";

    sim::Trace fine;
    ASSERT_TRUE(fine.open("", 0));
    fine.record("log");
    EXPECT_TRUE(fine.close().ok());
}
