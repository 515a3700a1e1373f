#pragma once

#include <cstdint>
#include <vector>

namespace resources {

constexpr int kSoundSampleRate = 22050;

// A falling "whoop": a voiced tone gliding down two octaves with a little vibrato.
std::vector<std::int16_t> synthesizeWhoop();
// A buzzy "zeee": a band-limited sawtooth sweeping up, with a fast tremolo for the buzz.
std::vector<std::int16_t> synthesizeZeee();

} // namespace resources
