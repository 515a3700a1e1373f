#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace sim {

// Sums the sounds that are playing into one stream of interleaved 16-bit samples, so a sound
// started while another one plays is heard over it, as on the phone, not after it.
class SoundMixer {
public:
    // Samples already in the output's rate and channel layout.
    void add(std::vector<std::int16_t> samples);
    // Writes the next count samples, silence where nothing plays; sounds that end are dropped.
    void mix(std::int16_t* out, std::size_t count);
    std::size_t playing() const { return voices_.size(); }

private:
    struct Voice {
        std::vector<std::int16_t> samples;
        std::size_t position = 0;
    };

    std::vector<Voice> voices_;
};

} // namespace sim
