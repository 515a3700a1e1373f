#include "sim/SoundMixer.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<std::int16_t> mixed(sim::SoundMixer& mixer, std::size_t count) {
    std::vector<std::int16_t> out(count, 123); // anything left unwritten shows
    mixer.mix(out.data(), out.size());
    return out;
}

} // namespace

TEST(SoundMixer, OverlappingSoundsAddUpAndClipInsteadOfWrappingAround) {
    sim::SoundMixer mixer;
    mixer.add({1000, 1000, 1000});
    mixer.add({30000, 30000});
    mixer.add({0, 30000});
    EXPECT_EQ(mixed(mixer, 4), (std::vector<std::int16_t>{31000, 32767, 1000, 0}));

    mixer.add({-30000, -30000});
    mixer.add({-30000, 29000});
    EXPECT_EQ(mixed(mixer, 2), (std::vector<std::int16_t>{-32768, -1000}));
}

TEST(SoundMixer, SoundsGoOnAcrossBuffersAndAreDroppedAtTheirEnd) {
    sim::SoundMixer mixer;
    EXPECT_EQ(mixed(mixer, 2), (std::vector<std::int16_t>{0, 0}));
    mixer.add({});
    EXPECT_EQ(mixer.playing(), 0u) << "an empty sound plays nothing";
    mixer.add({1, 2, 3, 4, 5});
    mixer.add({10, 20});
    EXPECT_EQ(mixed(mixer, 2), (std::vector<std::int16_t>{11, 22}));
    EXPECT_EQ(mixer.playing(), 1u);
    EXPECT_EQ(mixed(mixer, 2), (std::vector<std::int16_t>{3, 4}));
    EXPECT_EQ(mixed(mixer, 3), (std::vector<std::int16_t>{5, 0, 0}));
    EXPECT_EQ(mixer.playing(), 0u);
}
