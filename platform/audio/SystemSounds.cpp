#include "platform/audio/SystemSounds.h"

#include "platform/audio/Sound.h"
#include "platform/foundation/Singleton.h"
#include "platform/foundation/URL.h"

#include <sndfile.h>

#include <filesystem>
#include <memory>

namespace audio {

namespace {

struct Decoded {
    int status = SystemSounds::kNoError;
    std::shared_ptr<Sound> sound;
};

using SoundFile = std::unique_ptr<SNDFILE, decltype(&sf_close)>;

bool isWave(const SF_INFO& info) {
    const int container = info.format & SF_FORMAT_TYPEMASK;
    return container == SF_FORMAT_WAV || container == SF_FORMAT_WAVEX;
}

int checkInfo(const SF_INFO& info) {
    if (!isWave(info) || info.channels < 1 || info.channels > 2 || info.samplerate <= 0)
        return SystemSounds::kUnsupportedFormat;
    if (info.frames <= 0)
        return SystemSounds::kUnsupportedFormat;
    if (double(info.frames) > SystemSounds::kMaxDurationSeconds * info.samplerate)
        return SystemSounds::kSoundTooLong;
    return SystemSounds::kNoError;
}

// The size check comes before libsndfile sees the file, so a huge file is never read.
int checkFile(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return SystemSounds::kFileUnreadable;
    const auto size = std::filesystem::file_size(path, error);
    if (error)
        return SystemSounds::kFileUnreadable;
    return size > SystemSounds::kMaxFileBytes ? SystemSounds::kSoundTooLong
                                              : SystemSounds::kNoError;
}

Decoded decode(const std::filesystem::path& path) {
    if (int status = checkFile(path); status != SystemSounds::kNoError)
        return {status, nullptr};
    SF_INFO info{};
    SoundFile file(sf_open(path.c_str(), SFM_READ, &info), &sf_close);
    if (!file)
        return {SystemSounds::kUnsupportedFormat, nullptr};
    if (int status = checkInfo(info); status != SystemSounds::kNoError)
        return {status, nullptr};
    auto sound = std::make_shared<Sound>();
    sound->name = path.stem().string();
    sound->sampleRate = info.samplerate;
    sound->channels = info.channels;
    sound->samples.resize(std::size_t(info.frames) * std::size_t(info.channels));
    // A truncated data chunk yields fewer frames than the header promised; keep what is there.
    const sf_count_t read = sf_readf_short(file.get(), sound->samples.data(), info.frames);
    if (read <= 0)
        return {SystemSounds::kUnsupportedFormat, nullptr};
    sound->samples.resize(std::size_t(read) * std::size_t(info.channels));
    return {SystemSounds::kNoError, std::move(sound)};
}

} // namespace

SystemSounds& SystemSounds::shared() { return foundation::Singleton<SystemSounds>::shared(); }

SystemSounds::Registration SystemSounds::createSystemSoundID(const foundation::URL& fileURL) {
    if (!fileURL.isFileURL() || fileURL.path().empty())
        return {kFileUnreadable, 0};
    Decoded decoded = decode(fileURL.path());
    if (!decoded.sound)
        return {decoded.status, 0};
    std::lock_guard lock(mutex_);
    const SoundID id = nextID_++;
    sounds_.emplace(id, std::move(decoded.sound));
    return {kNoError, id};
}

void SystemSounds::playSystemSound(SoundID id) {
    std::shared_ptr<const Sound> sound;
    {
        std::lock_guard lock(mutex_);
        auto found = sounds_.find(id);
        if (found == sounds_.end())
            return;
        sound = found->second;
    }
    observers_.notify(sound);
}

foundation::Subscription SystemSounds::addObserver(Observer observer) {
    return observers_.subscribe(std::move(observer));
}

} // namespace audio
