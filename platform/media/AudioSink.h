#pragma once

#include <vector>

namespace media {

// Where a player's decoded sound goes. Headless runs have none, so sound is not even decoded;
// the window front end plugs a device in here. Called on the player's decoding thread.
class AudioSink {
public:
    // Interleaved samples between -1 and 1, starting at time (seconds from the movie's start).
    struct Buffer {
        double time = 0;
        int sampleRate = 0;
        int channels = 0;
        std::vector<float> samples;
    };

    virtual ~AudioSink() = default;
    virtual void consume(const Buffer& buffer) = 0;
};

} // namespace media
