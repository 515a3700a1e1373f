#pragma once

#include "platform/foundation/Forward.h"
#include "platform/foundation/Result.h"
#include "sim/SoundMixer.h"

#include <cstdint>
#include <memory>

namespace audio {
struct Sound;
}

namespace sim {

// Makes the app's system sounds audible on the desktop's audio output: every sound the app
// plays is converted to the output's format and mixed over whatever still plays.
class SoundPlayer {
public:
    // Opens the default output and starts listening to the system sounds.
    static foundation::Result<std::unique_ptr<SoundPlayer>> open();
    ~SoundPlayer();
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    void play(const audio::Sound& sound);
    // Sounds not yet played to their end.
    std::size_t playing() const;

private:
    SoundPlayer() = default;
    // The output's callback, on the audio thread, with the device locked.
    static void fill(void* player, std::uint8_t* stream, int length);

    std::uint32_t device_ = 0;
    int rate_ = 0;
    int channels_ = 0;
    SoundMixer mixer_;
    foundation::Subscription observer_;
};

} // namespace sim
