#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace audio {

// A registered system sound, decoded once: what a player needs to make it audible.
struct Sound {
    // The file name without its extension ("mywhy" for ".../mywhy.wav").
    std::string name;
    int sampleRate = 0;
    int channels = 0;
    // Interleaved signed 16-bit samples.
    std::vector<std::int16_t> samples;
};

} // namespace audio
