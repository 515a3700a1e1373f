#include "sim/Scenario.h"
#include "sim/SimulatorOptions.h"

#include <gtest/gtest.h>

using sim::Scenario;
using sim::SimulatorOptions;

TEST(Scenario, ParsesCommandsInTimeOrderWithComments) {
    auto scenario = Scenario::parse("# demo\n\nat 2 tap 10 20\nat 0.5 shake 2.5 -1 0 # x\nat 2 screenshot a.png\n"
                                    "at 3 location 45.5 -73.6 50 7200\nat 3 location-denied\n");
    ASSERT_TRUE(scenario) << scenario.error().message;
    const auto& c = scenario.value().commands();
    ASSERT_EQ(c.size(), 5u);
    EXPECT_EQ(c[3].numbers.size(), 4u);
    EXPECT_EQ(c[4].name, "location-denied");
    EXPECT_EQ(c[0].name, "shake");
    EXPECT_EQ(c[0].numbers, (std::vector<double>{2.5, -1, 0}));
    EXPECT_EQ(c[1].name, "tap");
    EXPECT_EQ(c[2].text, "a.png");
    EXPECT_EQ(c[2].line, 5);
    EXPECT_DOUBLE_EQ(scenario.value().endTime(), 3);
}

TEST(Scenario, MalformedLinesNameTheLine) {
    const std::pair<const char*, const char*> bad[] = {
        {"at 1 wiggle", "line 1: unknown command 'wiggle'"},
        {"\nat x tap 1 2", "line 2: 'x' is not a time in seconds"},
        {"at 1 tap 1", "line 1: 'tap' takes 2 argument(s)"},
        {"at 1 shake 1 2 nan", "line 1: 'nan' is not a number"},
        {"at -1 dump", "line 1: '-1' is not a time in seconds"},
        {"tap 1 2", "line 1: expected 'at <seconds> <command> [args]'"},
        {"at 1 rotate 5", "line 1: rotate takes 1, 2, 3 or 4"},
        {"at 1 location 1 2", "line 1: 'location' takes 3 to 4 arguments"},
        {"at 1 screenshot", "line 1: 'screenshot' takes 1 argument(s)"},
    };
    for (const auto& [text, message] : bad) {
        auto scenario = Scenario::parse(text);
        ASSERT_FALSE(scenario) << text;
        EXPECT_EQ(scenario.error().message, message);
    }
}

TEST(SimulatorOptions, ReadsOptionsAndRejectsBadOnes) {
    auto options = SimulatorOptions::parse({"--home", "/tmp/h", "--clock", "real", "--duration", "12.5",
                                            "--orientation", "3", "--keep-home"});
    ASSERT_TRUE(options);
    EXPECT_EQ(options.value().home, "/tmp/h");
    EXPECT_EQ(options.value().virtualClock, false);
    EXPECT_EQ(options.value().duration, 12.5);
    EXPECT_EQ(options.value().orientation, 3);
    EXPECT_TRUE(options.value().keepHome);
    EXPECT_FALSE(SimulatorOptions::parse({"--clock", "fast"}));
    EXPECT_FALSE(SimulatorOptions::parse({"--duration"}));
    EXPECT_FALSE(SimulatorOptions::parse({"--orientation", "2.5"}));
    EXPECT_FALSE(SimulatorOptions::parse({"--bogus", "1"}));
    EXPECT_EQ(SimulatorOptions::parse({"--ad-server", "127.0.0.1:8080"}).value().adServer, "127.0.0.1:8080");
    EXPECT_FALSE(SimulatorOptions::parse({"--ad-server", "8080"}));
    EXPECT_FALSE(SimulatorOptions::parse({"--ad-server", "host:port"}));
    EXPECT_FALSE(SimulatorOptions::parse({"stray"}));
}
