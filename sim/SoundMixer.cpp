#include "sim/SoundMixer.h"

#include <algorithm>
#include <limits>

namespace sim {

void SoundMixer::add(std::vector<std::int16_t> samples) {
    if (!samples.empty())
        voices_.push_back({std::move(samples), 0});
}

void SoundMixer::mix(std::int16_t* out, std::size_t count) {
    constexpr int kLowest = std::numeric_limits<std::int16_t>::min();
    constexpr int kHighest = std::numeric_limits<std::int16_t>::max();
    for (std::size_t i = 0; i < count; ++i) {
        // Summed wide and clipped once: loud overlaps saturate instead of wrapping around.
        int sum = 0;
        for (const auto& voice : voices_)
            if (voice.position + i < voice.samples.size())
                sum += voice.samples[voice.position + i];
        out[i] = static_cast<std::int16_t>(std::clamp(sum, kLowest, kHighest));
    }
    for (auto& voice : voices_)
        voice.position += count;
    std::erase_if(voices_,
                  [](const Voice& voice) { return voice.position >= voice.samples.size(); });
}

} // namespace sim
