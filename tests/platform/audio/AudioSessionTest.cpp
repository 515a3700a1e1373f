#include "platform/audio/AudioSession.h"
#include "platform/foundation/DeviceProfile.h"

#include <gtest/gtest.h>

using audio::AudioSession;

TEST(AudioSession, RouteIsReadableOnlyOnceInitialized) {
    auto& session = AudioSession::shared();
    EXPECT_EQ(session.currentRoute().status, AudioSession::kNotInitialized);
    EXPECT_EQ(session.currentRoute().route, "");
    EXPECT_EQ(session.initialize(), AudioSession::kNoError);
    EXPECT_EQ(session.initialize(), AudioSession::kAlreadyInitialized);
    EXPECT_EQ(session.currentRoute().status, AudioSession::kNoError);
}

TEST(AudioSession, RouteIsTheDeviceProfilesAsItIsNow) {
    auto& session = AudioSession::shared();
    ASSERT_EQ(session.initialize(), AudioSession::kNoError);
    EXPECT_EQ(session.currentRoute().route, "Speaker") << "a phone playing through its speaker";
    auto& profile = foundation::DeviceProfile::current();
    for (const char* route : {"Headphone", "Headset", "LineOut", ""}) {
        profile.audioRoute = route;
        const auto reading = session.currentRoute();
        EXPECT_EQ(reading.status, AudioSession::kNoError) << route;
        EXPECT_EQ(reading.route, route);
    }
}
