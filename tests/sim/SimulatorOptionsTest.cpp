#include "sim/SimulatorOptions.h"

#include <gtest/gtest.h>

using sim::SimulatorOptions;

TEST(SimulatorOptions, ReadsOptionsAndRejectsBadOnes) {
    auto options = SimulatorOptions::parse({"--home", "/tmp/h", "--clock", "real", "--duration",
                                            "12.5", "--orientation", "3", "--keep-home"});
    ASSERT_TRUE(options);
    EXPECT_EQ(options.value().home, "/tmp/h");
    EXPECT_EQ(options.value().virtualClock, false);
    EXPECT_EQ(options.value().duration, 12.5);
    EXPECT_EQ(options.value().orientation, 3);
    EXPECT_TRUE(options.value().keepHome);
    EXPECT_FALSE(SimulatorOptions::parse({"--clock", "fast"}));
    EXPECT_FALSE(SimulatorOptions::parse({"--duration"}));
    EXPECT_FALSE(SimulatorOptions::parse({"--duration", "-1"}));
    EXPECT_FALSE(SimulatorOptions::parse({"--orientation", "2.5"}));
    EXPECT_FALSE(SimulatorOptions::parse({"--orientation", "5"}));
    EXPECT_FALSE(SimulatorOptions::parse({"--bogus", "1"}));
    EXPECT_FALSE(SimulatorOptions::parse({"stray"}));
}

TEST(SimulatorOptions, AdServerNeedsAnAddressAndAPortInRange) {
    const auto given = SimulatorOptions::parse({"--ad-server", "127.0.0.1:8080"});
    ASSERT_TRUE(given);
    ASSERT_TRUE(given.value().adServer);
    EXPECT_EQ(given.value().adServer->address, "127.0.0.1");
    EXPECT_EQ(given.value().adServer->port, 8080);
    EXPECT_FALSE(SimulatorOptions::parse({}).value().adServer);

    for (const char* bad :
         {"127.0.0.1:99999999999", "127.0.0.1:99999", "127.0.0.1:-5", "127.0.0.1:1.5",
          "127.0.0.1:0", "127.0.0.1:", "127.0.0.1: 80", "host:port"}) {
        const auto refused = SimulatorOptions::parse({"--ad-server", bad});
        ASSERT_FALSE(refused) << bad;
        EXPECT_NE(
            refused.error().message.find("--ad-server port must be a whole number from 1 to 65535"),
            std::string::npos)
            << refused.error().message;
    }
    EXPECT_EQ(SimulatorOptions::parse({"--ad-server", "8080"}).error().message,
              "--ad-server takes ADDRESS:PORT, not '8080'");
    // Only the server started inside can be told its first ad.
    EXPECT_EQ(SimulatorOptions::parse({"--first-ad", "kessa-canvas"}).value().firstAd,
              "kessa-canvas");
    EXPECT_FALSE(
        SimulatorOptions::parse({"--ad-server", "127.0.0.1:8080", "--first-ad", "kessa-canvas"}));
}

TEST(SimulatorOptions, RefusesNumbersThatAreNotFinite) {
    for (const char* bad : {"nan", "inf", "-inf"}) {
        EXPECT_FALSE(sim::SimulatorOptions::parse({"--duration", bad})) << bad;
        EXPECT_FALSE(sim::SimulatorOptions::parse({"--orientation", bad})) << bad;
    }
    EXPECT_TRUE(sim::SimulatorOptions::parse({"--duration", "0", "--orientation", "4"}));
}

TEST(SimulatorOptions, AudioRouteWordsBecomeTheSessionsRouteNames) {
    EXPECT_FALSE(SimulatorOptions::parse({}).value().audioRoute);
    const std::pair<const char*, const char*> routes[] = {
        {"speaker", "Speaker"}, {"headphone", "Headphone"}, {"headset", "Headset"}, {"none", ""},
        {"LineOut", "LineOut"}, {"Speaker", "Speaker"},     {"HEADSET", "HEADSET"}};
    for (const auto& [word, route] : routes) {
        const auto options = SimulatorOptions::parse({"--audio-route", word});
        ASSERT_TRUE(options) << word;
        EXPECT_EQ(options.value().audioRoute, route) << word;
    }
    EXPECT_FALSE(SimulatorOptions::parse({"--audio-route"}));
}

TEST(SimulatorOptions, UniqueIdentifierMayBeEmptyButNotUnsendable) {
    EXPECT_FALSE(SimulatorOptions::parse({}).value().uniqueIdentifier);
    EXPECT_EQ(SimulatorOptions::parse({"--udid", "abc123"}).value().uniqueIdentifier, "abc123");
    EXPECT_EQ(SimulatorOptions::parse({"--udid", ""}).value().uniqueIdentifier, "");
    for (const char* bad : {"a\r\nX-Other: 1", "two words", "caf\xc3\xa9", "tab\t"}) {
        const auto refused = SimulatorOptions::parse({"--udid", bad});
        ASSERT_FALSE(refused) << bad;
        EXPECT_EQ(refused.error().message,
                  "--udid takes visible ASCII characters only ('' for none)");
    }
}

TEST(SimulatorOptions, WindowScaleAndMute) {
    const auto defaults = SimulatorOptions::parse({}).value();
    EXPECT_FALSE(defaults.window);
    EXPECT_EQ(defaults.scale, 2);
    EXPECT_FALSE(defaults.mute);
    const auto given = SimulatorOptions::parse({"--window", "--scale", "3", "--mute"});
    ASSERT_TRUE(given);
    EXPECT_TRUE(given.value().window);
    EXPECT_EQ(given.value().scale, 3);
    EXPECT_TRUE(given.value().mute);
    for (const char* bad : {"0", "4", "1.5", "two"})
        EXPECT_FALSE(SimulatorOptions::parse({"--window", "--scale", bad})) << bad;
    EXPECT_FALSE(SimulatorOptions::parse({"--scale"}));
}
