#include "sim/Scenario.h"

#include <gtest/gtest.h>

using sim::Scenario;

TEST(Scenario, ParsesCommandsInTimeOrderWithComments) {
    auto scenario = Scenario::parse(
        "# demo\n\nat 2 tap 10 20\nat 0.5 shake 2.5 -1 0 # x\nat 2 screenshot a.png\n"
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

TEST(Scenario, WebEvalTakesTheRestOfTheLineAsItsScript) {
    auto scenario = Scenario::parse("at 1 web-eval document.title = 'a  b' + 1 # note\n");
    ASSERT_TRUE(scenario) << scenario.error().message;
    EXPECT_EQ(scenario.value().commands().at(0).text, "document.title = 'a b' + 1");
}

TEST(Scenario, TypeTakesTheRestOfTheLineAndKeyOneOfItsKeys) {
    auto scenario = Scenario::parse("at 1 type new  york pizza\nat 2 key backspace\n"
                                    "at 2 key return\nat 3 key cancel\n");
    ASSERT_TRUE(scenario) << scenario.error().message;
    const auto& c = scenario.value().commands();
    ASSERT_EQ(c.size(), 4u);
    EXPECT_EQ(c[0].name, "type");
    EXPECT_EQ(c[0].text, "new york pizza");
    EXPECT_EQ(c[1].name, "key");
    EXPECT_EQ(c[1].text, "backspace");
    EXPECT_EQ(c[2].text, "return");
    EXPECT_EQ(c[3].text, "cancel");
}

TEST(Scenario, MalformedLinesNameTheLine) {
    const std::pair<const char*, const char*> bad[] = {
        {"at 1 wiggle", "line 1: unknown command 'wiggle'"},
        {"\nat x tap 1 2", "line 2: the time in seconds must be a number of at least 0, not 'x'"},
        {"at 1 tap 1", "line 1: 'tap' takes 2 argument(s)"},
        {"at 1 shake 1 2 nan", "line 1: argument 3 of 'shake' must be a finite number, not 'nan'"},
        {"at 1 tap 1e999 2", "line 1: argument 1 of 'tap' must be a finite number, not '1e999'"},
        {"at 1 tap 10px 2", "line 1: argument 1 of 'tap' must be a finite number, not '10px'"},
        {"at -1 dump", "line 1: the time in seconds must be a number of at least 0, not '-1'"},
        {"tap 1 2", "line 1: expected 'at <seconds> <command> [args]'"},
        {"at 1 rotate 5",
         "line 1: argument 1 of 'rotate' must be a whole number from 1 to 4, not '5'"},
        {"at 1 rotate 2.5",
         "line 1: argument 1 of 'rotate' must be a whole number from 1 to 4, not '2.5'"},
        {"at 1 alert-button -1",
         "line 1: argument 1 of 'alert-button' must be a whole number from 0 to 99, not '-1'"},
        {"at 1 alert-button", "line 1: 'alert-button' takes 1 argument(s)"},
        {"at 1 location 1 2", "line 1: 'location' takes 3 to 4 arguments"},
        {"at 1 screenshot", "line 1: 'screenshot' takes 1 argument(s)"},
        {"at 1 swipe 1 2 3 4", "line 1: 'swipe' takes 5 argument(s)"},
        {"at 1 swipe 1 2 3 4 -1",
         "line 1: argument 5 of 'swipe' must be a number of at least 0, not '-1'"},
        {"at 1 web-eval", "line 1: 'web-eval' takes a script"},
        {"at 1 type", "line 1: 'type' takes text"},
        {"at 1 type # just a note", "line 1: 'type' takes text"},
        {"at 1 key", "line 1: 'key' takes 1 argument(s)"},
        {"at 1 key return now", "line 1: 'key' takes 1 argument(s)"},
        {"at 1 key enter", "line 1: 'key' takes return, backspace or cancel, not 'enter'"},
    };
    for (const auto& [text, message] : bad) {
        auto scenario = Scenario::parse(text);
        ASSERT_FALSE(scenario) << text;
        EXPECT_EQ(scenario.error().message, message);
    }
}
