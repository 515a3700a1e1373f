#include "WaveFile.h"

#include <fstream>
#include <string_view>

namespace resources {

namespace {

// RIFF is little-endian whatever the host is.
void put(std::ofstream& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.put(char((value >> (8 * i)) & 0xff));
}

void tag(std::ofstream& out, std::string_view fourcc) { out.write(fourcc.data(), 4); }

} // namespace

bool writeWaveFile(const std::string& path, const std::vector<std::int16_t>& samples,
                   int sampleRate) {
    constexpr int kChannels = 1;
    constexpr int kBytesPerSample = 2;
    const auto dataBytes = std::uint32_t(samples.size() * kBytesPerSample);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    tag(out, "RIFF");
    put(out, 36 + dataBytes, 4);
    tag(out, "WAVE");
    tag(out, "fmt ");
    put(out, 16, 4);
    put(out, 1, 2); // integer PCM
    put(out, kChannels, 2);
    put(out, std::uint32_t(sampleRate), 4);
    put(out, std::uint32_t(sampleRate * kChannels * kBytesPerSample), 4);
    put(out, kChannels * kBytesPerSample, 2);
    put(out, 8 * kBytesPerSample, 2);
    tag(out, "data");
    put(out, dataBytes, 4);
    for (std::int16_t sample : samples)
        put(out, std::uint16_t(sample), 2);
    return bool(out.flush());
}

} // namespace resources
