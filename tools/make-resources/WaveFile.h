#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace resources {

// Writes a canonical 44-byte-header RIFF WAVE file: 16-bit PCM, mono.
bool writeWaveFile(const std::string& path, const std::vector<std::int16_t>& samples,
                   int sampleRate);

} // namespace resources
