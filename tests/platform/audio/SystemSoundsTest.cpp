#include "platform/audio/SystemSounds.h"
#include "platform/audio/Sound.h"
#include "platform/foundation/Singleton.h"
#include "platform/foundation/URL.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <filesystem>
#include <fstream>
#include <vector>

using audio::Sound;
using audio::SystemSounds;
using foundation::URL;
namespace fs = std::filesystem;

namespace {

SystemSounds& freshSounds() { return SystemSounds::shared(); }

class SystemSoundsTest : public ::testing::Test {
protected:
    SystemSoundsTest() { fs::create_directories(dir); }
    ~SystemSoundsTest() override { fs::remove_all(dir); }

    // Writes `frames` frames of a ramp so decoded samples can be checked exactly.
    std::string writeSound(const std::string& name, int format, int rate, int channels,
                           sf_count_t frames) {
        const std::string path = (dir / name).string();
        SF_INFO info{};
        info.samplerate = rate;
        info.channels = channels;
        info.format = format;
        SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
        EXPECT_NE(file, nullptr) << sf_strerror(nullptr);
        std::vector<short> samples(std::size_t(frames * channels));
        for (std::size_t i = 0; i < samples.size(); ++i)
            samples[i] = short(i * 7 - 3000);
        sf_writef_short(file, samples.data(), frames);
        sf_close(file);
        return path;
    }

    std::string writeBytes(const std::string& name, const std::string& bytes) {
        const std::string path = (dir / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    SystemSounds::Registration registerPath(const std::string& path) {
        return sounds.createSystemSoundID(URL::fileURLWithPath(path));
    }

    fs::path dir = fs::temp_directory_path() / ("system-sounds-" + std::to_string(getpid()));
    SystemSounds& sounds = freshSounds();
    std::vector<std::shared_ptr<const Sound>> played;
    foundation::Subscription observer =
        sounds.addObserver([this](const auto& sound) { played.push_back(sound); });
};

constexpr int kPCM16Wave = SF_FORMAT_WAV | SF_FORMAT_PCM_16;

} // namespace

TEST_F(SystemSoundsTest, RegisteredWaveIsDecodedOnceAndPlayedByName) {
    const std::string path = writeSound("mywhy.wav", kPCM16Wave, 22050, 2, 300);
    const auto first = registerPath(path);
    const auto again = registerPath(path);
    ASSERT_EQ(first.status, SystemSounds::kNoError);
    ASSERT_NE(first.id, 0u);
    EXPECT_NE(again.id, first.id);

    fs::remove(path);
    sounds.playSystemSound(first.id);
    sounds.playSystemSound(again.id);
    ASSERT_EQ(played.size(), 2u);
    const Sound& sound = *played[0];
    EXPECT_EQ(sound.name, "mywhy");
    EXPECT_EQ(sound.sampleRate, 22050);
    EXPECT_EQ(sound.channels, 2);
    ASSERT_EQ(sound.samples.size(), 600u);
    EXPECT_EQ(sound.samples[0], -3000);
    EXPECT_EQ(sound.samples[599], 599 * 7 - 3000);
}

TEST_F(SystemSoundsTest, RefusedFilesGetIdZeroAndAStatus) {
    std::string oversized = writeBytes("huge.wav", "");
    fs::resize_file(oversized, SystemSounds::kMaxFileBytes + 1);
    const struct {
        std::string path;
        int status;
    } cases[] = {
        {(dir / "missing.wav").string(), SystemSounds::kFileUnreadable},
        {dir.string(), SystemSounds::kFileUnreadable},
        {writeBytes("text.wav", "RIFF but not really a wave file"),
         SystemSounds::kUnsupportedFormat},
        {writeSound("beep.aiff", SF_FORMAT_AIFF | SF_FORMAT_PCM_16, 22050, 1, 100),
         SystemSounds::kUnsupportedFormat},
        {writeSound("empty.wav", kPCM16Wave, 22050, 1, 0), SystemSounds::kUnsupportedFormat},
        {writeSound("long.wav", kPCM16Wave, 8000, 1, 8000 * 30 + 1), SystemSounds::kSoundTooLong},
        {oversized, SystemSounds::kSoundTooLong},
    };
    for (const auto& refused : cases) {
        const auto registration = registerPath(refused.path);
        EXPECT_EQ(registration.status, refused.status) << refused.path;
        EXPECT_EQ(registration.id, 0u) << refused.path;
    }
    const auto remote = sounds.createSystemSoundID(*URL::create("http://example.test/a.wav"));
    EXPECT_EQ(remote.id, 0u);
    EXPECT_NE(remote.status, SystemSounds::kNoError);

    EXPECT_EQ(registerPath(writeSound("limit.wav", kPCM16Wave, 8000, 1, 8000 * 30)).status,
              SystemSounds::kNoError);
}

TEST_F(SystemSoundsTest, UnknownIdsAndDroppedObserversHearNothing) {
    const auto registration = registerPath(writeSound("zeee.wav", kPCM16Wave, 22050, 1, 50));
    sounds.playSystemSound(0);
    sounds.playSystemSound(registration.id + 1);
    EXPECT_TRUE(played.empty());

    int second = 0;
    auto token = sounds.addObserver([&](const auto&) { ++second; });
    sounds.playSystemSound(registration.id);
    observer.reset();
    sounds.playSystemSound(registration.id);
    EXPECT_EQ(played.size(), 1u);
    EXPECT_EQ(second, 2);
}
