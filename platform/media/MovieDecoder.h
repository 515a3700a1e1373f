#pragma once

#include "platform/foundation/Data.h"
#include "platform/foundation/Result.h"
#include "platform/media/VideoFrame.h"

#include <memory>
#include <optional>

namespace media {

class AudioSink;

// FFmpeg's demuxer, decoders and scaler over a movie held in memory. It belongs to one thread
// (a player's decoding worker) and is not safe to share.
class MovieDecoder {
public:
    // Bounds on what a movie may ask of the phone.
    static constexpr int kMaxWidth = 1920;
    static constexpr int kMaxHeight = 1080;
    static constexpr double kMaxDuration = 3600;

    struct Info {
        double duration = 0;
        int width = 0;
        int height = 0;
    };

    // Opens the movie and decodes its first picture, so a movie that cannot play fails here.
    static foundation::Result<std::unique_ptr<MovieDecoder>> open(foundation::Data bytes);
    ~MovieDecoder();
    MovieDecoder(const MovieDecoder&) = delete;
    MovieDecoder& operator=(const MovieDecoder&) = delete;

    // Fixed once opened, so other threads may read it after the decoder was handed over.
    const Info& info() const { return info_; }
    // The next picture in presentation order; nullopt at the end of the stream.
    foundation::Result<std::optional<VideoFrame>> nextFrame();
    // Sound decoded from now on goes to the sink; without one, sound packets are skipped.
    void setAudioSink(std::shared_ptr<AudioSink> sink);

private:
    struct Streams; // the FFmpeg objects, kept out of this header

    explicit MovieDecoder(std::unique_ptr<Streams> streams);
    foundation::Status readInfo();
    foundation::Result<std::optional<VideoFrame>> decodeNext();
    // Feeds the decoders one more packet, or tells the video decoder the input has ended.
    foundation::Status feed();
    foundation::Result<VideoFrame> picture();
    void decodeSound();

    std::unique_ptr<Streams> streams_;
    Info info_;
    std::optional<VideoFrame> first_;
    std::shared_ptr<AudioSink> sink_;
};

} // namespace media
