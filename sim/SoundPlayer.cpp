#include "sim/SoundPlayer.h"

#include "platform/audio/Sound.h"
#include "platform/audio/SystemSounds.h"

#include <SDL.h>

namespace sim {

namespace {

constexpr int kOutputRate = 44100;
constexpr int kOutputChannels = 2;
constexpr int kBufferFrames = 1024;

foundation::Error soundError(const std::string& what) {
    return foundation::Error{"SoundPlayerErrorDomain", -1, what + ": " + SDL_GetError()};
}

// The sound's samples in the output's rate and channel layout; empty when SDL cannot convert.
std::vector<std::int16_t> converted(const audio::Sound& sound, int rate, int channels) {
    SDL_AudioStream* stream = SDL_NewAudioStream(
        AUDIO_S16SYS, Uint8(sound.channels), sound.sampleRate, AUDIO_S16SYS, Uint8(channels), rate);
    if (!stream)
        return {};
    std::vector<std::int16_t> samples;
    const int bytes = int(sound.samples.size() * sizeof(std::int16_t));
    if (SDL_AudioStreamPut(stream, sound.samples.data(), bytes) == 0 &&
        SDL_AudioStreamFlush(stream) == 0) {
        samples.resize(std::size_t(SDL_AudioStreamAvailable(stream)) / sizeof(std::int16_t));
        const int got =
            SDL_AudioStreamGet(stream, samples.data(), int(samples.size() * sizeof(std::int16_t)));
        samples.resize(got > 0 ? std::size_t(got) / sizeof(std::int16_t) : 0);
    }
    SDL_FreeAudioStream(stream);
    return samples;
}

} // namespace

foundation::Result<std::unique_ptr<SoundPlayer>> SoundPlayer::open() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return soundError("no audio output");
    std::unique_ptr<SoundPlayer> player(new SoundPlayer());
    SDL_AudioSpec wanted{};
    wanted.freq = kOutputRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = kOutputChannels;
    wanted.samples = kBufferFrames;
    wanted.callback = &SoundPlayer::fill;
    wanted.userdata = player.get();
    // No changes allowed: SDL converts to whatever the hardware takes.
    player->device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
    if (player->device_ == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return soundError("cannot open the audio output");
    }
    player->rate_ = kOutputRate;
    player->channels_ = kOutputChannels;
    player->observer_ = audio::SystemSounds::shared().addObserver(
        [raw = player.get()](const std::shared_ptr<const audio::Sound>& sound) {
            raw->play(*sound);
        });
    SDL_PauseAudioDevice(player->device_, 0);
    return player;
}

SoundPlayer::~SoundPlayer() {
    observer_.reset();
    if (device_ != 0) {
        SDL_CloseAudioDevice(device_);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
}

void SoundPlayer::play(const audio::Sound& sound) {
    auto samples = converted(sound, rate_, channels_);
    SDL_LockAudioDevice(device_);
    mixer_.add(std::move(samples));
    SDL_UnlockAudioDevice(device_);
}

std::size_t SoundPlayer::playing() const {
    SDL_LockAudioDevice(device_);
    const std::size_t count = mixer_.playing();
    SDL_UnlockAudioDevice(device_);
    return count;
}

void SoundPlayer::fill(void* player, std::uint8_t* stream, int length) {
    static_cast<SoundPlayer*>(player)->mixer_.mix(reinterpret_cast<std::int16_t*>(stream),
                                                  std::size_t(length) / sizeof(std::int16_t));
}

} // namespace sim
