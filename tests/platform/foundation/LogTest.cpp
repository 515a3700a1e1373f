#include "platform/foundation/Log.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

using namespace foundation;

TEST(Log, SinksEndWithTheirTokenAndMayLogFromInside) {
    Log::setStderrEnabled(false);
    std::vector<std::string> lines;
    Subscription token = Log::addSink([&](const std::string& line) {
        lines.push_back(line);
        if (line == "outer")
            log("inner {}", 1); // a sink that logs must not deadlock
    });
    Subscription selfRemoving;
    int selfCalls = 0;
    selfRemoving = Log::addSink([&](const std::string&) {
        ++selfCalls;
        selfRemoving.reset();
    });
    Log::write("outer");
    token.reset();
    Log::write("after");
    EXPECT_EQ(lines, (std::vector<std::string>{"outer", "inner 1"}));
    EXPECT_EQ(selfCalls, 1);

    // Dropping a token waits for a call in progress on another thread: the sink's captures
    // may die right after.
    std::atomic<bool> inside{false}, finished{false};
    token = Log::addSink([&](const std::string&) {
        inside = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        finished = true;
    });
    std::thread writer([] { Log::write("from a worker"); });
    while (!inside)
        std::this_thread::yield();
    token.reset();
    EXPECT_TRUE(finished);
    writer.join();
    Log::setStderrEnabled(true);
}
