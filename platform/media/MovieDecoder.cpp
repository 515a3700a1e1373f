#include "platform/media/MovieDecoder.h"

#include "platform/media/AudioSink.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <vector>

namespace media {

namespace {

constexpr int kIOBufferBytes = 64 * 1024;
constexpr double kFallbackFrameDuration = 1.0 / 30;
// Containers only: playlists and concatenation formats would open further files and URLs.
constexpr const char* kContainers = "mov,mp4,m4a,3gp,3g2,mj2,matroska,webm,avi,mpegts,flv,ogg";

foundation::Error decodeError(std::string message) {
    return {"MovieDecoderErrorDomain", -1, std::move(message)};
}

struct IOFree {
    void operator()(AVIOContext* io) const {
        av_freep(&io->buffer);
        avio_context_free(&io);
    }
};
struct FormatClose {
    void operator()(AVFormatContext* format) const { avformat_close_input(&format); }
};
struct CodecFree {
    void operator()(AVCodecContext* codec) const { avcodec_free_context(&codec); }
};
struct PacketFree {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
struct FrameFree {
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct ScalerFree {
    void operator()(SwsContext* scaler) const { sws_freeContext(scaler); }
};

using CodecContext = std::unique_ptr<AVCodecContext, CodecFree>;

bool withinBounds(int width, int height) {
    return width > 0 && height > 0 && width <= MovieDecoder::kMaxWidth &&
           height <= MovieDecoder::kMaxHeight;
}

// One thread decodes: the player's worker is the only thread a movie gets.
CodecContext openCodec(const AVCodec* codec, const AVCodecParameters& parameters) {
    CodecContext context(avcodec_alloc_context3(codec));
    if (!context || avcodec_parameters_to_context(context.get(), &parameters) < 0)
        return nullptr;
    context->thread_count = 1;
    if (avcodec_open2(context.get(), codec, nullptr) < 0)
        return nullptr;
    return context;
}

double durationOf(const AVFormatContext& format, const AVStream& stream) {
    if (stream.duration != AV_NOPTS_VALUE)
        return double(stream.duration) * av_q2d(stream.time_base);
    if (format.duration != AV_NOPTS_VALUE)
        return double(format.duration) / AV_TIME_BASE;
    return 0;
}

// Seconds from the stream's first timestamp; nullopt when the frame carries none.
std::optional<double> timeOf(const AVFrame& frame, const AVStream& stream) {
    if (frame.best_effort_timestamp == AV_NOPTS_VALUE)
        return std::nullopt;
    const std::int64_t start = stream.start_time == AV_NOPTS_VALUE ? 0 : stream.start_time;
    return double(frame.best_effort_timestamp - start) * av_q2d(stream.time_base);
}

double frameDuration(const AVFrame& frame, const AVStream& stream) {
    if (frame.pkt_duration > 0)
        return double(frame.pkt_duration) * av_q2d(stream.time_base);
    if (stream.avg_frame_rate.num > 0 && stream.avg_frame_rate.den > 0)
        return 1 / av_q2d(stream.avg_frame_rate);
    return kFallbackFrameDuration;
}

std::optional<float> sampleAt(const AVFrame& frame, int channel, int index) {
    const int channels = frame.ch_layout.nb_channels;
    const auto planar = [&]<typename T>(T) {
        return reinterpret_cast<const T*>(frame.extended_data[channel])[index];
    };
    const auto packed = [&]<typename T>(T) {
        return reinterpret_cast<const T*>(frame.data[0])[index * channels + channel];
    };
    switch (AVSampleFormat(frame.format)) {
    case AV_SAMPLE_FMT_FLTP:
        return planar(float());
    case AV_SAMPLE_FMT_FLT:
        return packed(float());
    case AV_SAMPLE_FMT_S16P:
        return planar(std::int16_t()) / 32768.0f;
    case AV_SAMPLE_FMT_S16:
        return packed(std::int16_t()) / 32768.0f;
    default:
        return std::nullopt;
    }
}

std::optional<AudioSink::Buffer> interleaved(const AVFrame& frame, double time) {
    const int channels = frame.ch_layout.nb_channels;
    if (channels <= 0 || frame.nb_samples <= 0)
        return std::nullopt;
    AudioSink::Buffer buffer{time, frame.sample_rate, channels, {}};
    buffer.samples.reserve(std::size_t(channels) * std::size_t(frame.nb_samples));
    for (int index = 0; index < frame.nb_samples; ++index)
        for (int channel = 0; channel < channels; ++channel) {
            const auto sample = sampleAt(frame, channel, index);
            if (!sample)
                return std::nullopt;
            buffer.samples.push_back(*sample);
        }
    return buffer;
}

} // namespace

struct MovieDecoder::Streams {
    foundation::Data bytes;
    std::int64_t position = 0;
    std::unique_ptr<AVIOContext, IOFree> io;
    std::unique_ptr<AVFormatContext, FormatClose> format;
    CodecContext video;
    CodecContext audio;
    std::unique_ptr<AVPacket, PacketFree> packet{av_packet_alloc()};
    std::unique_ptr<AVFrame, FrameFree> frame{av_frame_alloc()};
    std::unique_ptr<SwsContext, ScalerFree> scaler;
    int videoIndex = -1;
    int audioIndex = -1;
    double nextTime = 0;

    foundation::Status openInput();
    static int read(void* opaque, std::uint8_t* buffer, int size);
    static std::int64_t seek(void* opaque, std::int64_t offset, int whence);
};

foundation::Status MovieDecoder::Streams::openInput() {
    auto* buffer = static_cast<unsigned char*>(av_malloc(kIOBufferBytes));
    io.reset(avio_alloc_context(buffer, kIOBufferBytes, 0, this, &read, nullptr, &seek));
    AVFormatContext* opened = avformat_alloc_context();
    if (!io || !opened || !packet || !frame) {
        if (!io)
            av_free(buffer);
        avformat_free_context(opened);
        return decodeError("out of memory");
    }
    opened->pb = io.get();
    opened->flags |= AVFMT_FLAG_CUSTOM_IO;
    opened->format_whitelist = av_strdup(kContainers);
    // On failure the library frees the context itself.
    if (avformat_open_input(&opened, nullptr, nullptr, nullptr) < 0)
        return decodeError("not a movie");
    format.reset(opened);
    if (avformat_find_stream_info(format.get(), nullptr) < 0)
        return decodeError("the movie's streams cannot be read");
    return foundation::success();
}

int MovieDecoder::Streams::read(void* opaque, std::uint8_t* buffer, int size) {
    auto& self = *static_cast<Streams*>(opaque);
    const auto left = std::int64_t(self.bytes.size()) - self.position;
    if (left <= 0)
        return AVERROR_EOF;
    const auto count = std::min<std::int64_t>(left, size);
    std::memcpy(buffer, self.bytes.bytes() + self.position, std::size_t(count));
    self.position += count;
    return int(count);
}

std::int64_t MovieDecoder::Streams::seek(void* opaque, std::int64_t offset, int whence) {
    auto& self = *static_cast<Streams*>(opaque);
    const auto size = std::int64_t(self.bytes.size());
    whence &= ~AVSEEK_FORCE;
    if (whence == AVSEEK_SIZE)
        return size;
    const std::int64_t base = whence == SEEK_SET   ? 0
                              : whence == SEEK_CUR ? self.position
                              : whence == SEEK_END ? size
                                                   : -1;
    if (base < 0 || base + offset < 0 || base + offset > size)
        return AVERROR(EINVAL);
    self.position = base + offset;
    return self.position;
}

MovieDecoder::MovieDecoder(std::unique_ptr<Streams> streams) : streams_(std::move(streams)) {}

MovieDecoder::~MovieDecoder() = default;

foundation::Result<std::unique_ptr<MovieDecoder>> MovieDecoder::open(foundation::Data bytes) {
    // A damaged movie is reported as an error value; the library's own chatter is not wanted.
    static std::once_flag quiet;
    std::call_once(quiet, [] { av_log_set_level(AV_LOG_QUIET); });
    auto streams = std::make_unique<Streams>();
    streams->bytes = std::move(bytes);
    if (auto opened = streams->openInput(); !opened)
        return opened.error();
    std::unique_ptr<MovieDecoder> decoder(new MovieDecoder(std::move(streams)));
    if (auto read = decoder->readInfo(); !read)
        return read.error();
    auto first = decoder->decodeNext();
    if (!first)
        return first.error();
    if (!first.value())
        return decodeError("the movie has no picture");
    decoder->first_ = std::move(first.value());
    return decoder;
}

foundation::Status MovieDecoder::readInfo() {
    auto& s = *streams_;
    const AVCodec* codec = nullptr;
    s.videoIndex = av_find_best_stream(s.format.get(), AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0);
    if (s.videoIndex < 0 || !codec)
        return decodeError("the movie has no video that can be decoded");
    const AVStream& stream = *s.format->streams[s.videoIndex];
    const AVCodecParameters& parameters = *stream.codecpar;
    if (!withinBounds(parameters.width, parameters.height))
        return decodeError("the picture size is out of bounds");
    s.video = openCodec(codec, parameters);
    if (!s.video)
        return decodeError("the video decoder cannot be opened");
    info_ = {durationOf(*s.format, stream), parameters.width, parameters.height};
    if (!(info_.duration > 0) || info_.duration > kMaxDuration)
        return decodeError("the movie's length is unknown or out of bounds");
    const AVCodec* soundCodec = nullptr;
    s.audioIndex =
        av_find_best_stream(s.format.get(), AVMEDIA_TYPE_AUDIO, -1, s.videoIndex, &soundCodec, 0);
    if (s.audioIndex >= 0 && soundCodec)
        s.audio = openCodec(soundCodec, *s.format->streams[s.audioIndex]->codecpar);
    return foundation::success();
}

foundation::Result<std::optional<VideoFrame>> MovieDecoder::nextFrame() {
    if (first_)
        return std::exchange(first_, std::nullopt);
    return decodeNext();
}

void MovieDecoder::setAudioSink(std::shared_ptr<AudioSink> sink) { sink_ = std::move(sink); }

foundation::Result<std::optional<VideoFrame>> MovieDecoder::decodeNext() {
    auto& s = *streams_;
    for (;;) {
        const int received = avcodec_receive_frame(s.video.get(), s.frame.get());
        if (received == 0) {
            auto shown = picture();
            av_frame_unref(s.frame.get());
            if (!shown)
                return shown.error();
            return std::optional<VideoFrame>(std::move(shown.value()));
        }
        if (received == AVERROR_EOF)
            return std::optional<VideoFrame>();
        if (received != AVERROR(EAGAIN))
            return decodeError("a picture cannot be decoded");
        if (auto fed = feed(); !fed)
            return fed.error();
    }
}

foundation::Status MovieDecoder::feed() {
    auto& s = *streams_;
    if (av_read_frame(s.format.get(), s.packet.get()) < 0) {
        // A movie cut off early plays what it has.
        avcodec_send_packet(s.video.get(), nullptr);
        return foundation::success();
    }
    int sent = 0;
    if (s.packet->stream_index == s.videoIndex)
        sent = avcodec_send_packet(s.video.get(), s.packet.get());
    else if (s.packet->stream_index == s.audioIndex && s.audio && sink_)
        decodeSound();
    av_packet_unref(s.packet.get());
    if (sent < 0)
        return decodeError("the video data is damaged");
    return foundation::success();
}

foundation::Result<VideoFrame> MovieDecoder::picture() {
    auto& s = *streams_;
    const AVFrame& frame = *s.frame;
    const int width = frame.width;
    const int height = frame.height;
    if (!withinBounds(width, height))
        return decodeError("a picture's size is out of bounds");
    s.scaler.reset(sws_getCachedContext(s.scaler.release(), width, height,
                                        AVPixelFormat(frame.format), width, height,
                                        AV_PIX_FMT_RGB32, SWS_BILINEAR, nullptr, nullptr, nullptr));
    if (!s.scaler)
        return decodeError("a picture's format cannot be converted");
    std::vector<std::uint32_t> pixels(std::size_t(width) * std::size_t(height));
    std::uint8_t* planes[4] = {reinterpret_cast<std::uint8_t*>(pixels.data())};
    int strides[4] = {width * 4};
    sws_scale(s.scaler.get(), frame.data, frame.linesize, 0, height, planes, strides);
    const AVStream& stream = *s.format->streams[s.videoIndex];
    const double time = timeOf(frame, stream).value_or(s.nextTime);
    const double duration = frameDuration(frame, stream);
    s.nextTime = time + duration;
    return VideoFrame{time, duration,
                      graphics::Image::fromPixels(width, height, std::move(pixels))};
}

void MovieDecoder::decodeSound() {
    auto& s = *streams_;
    if (avcodec_send_packet(s.audio.get(), s.packet.get()) < 0)
        return;
    const AVStream& stream = *s.format->streams[s.audioIndex];
    while (avcodec_receive_frame(s.audio.get(), s.frame.get()) == 0) {
        const auto time = timeOf(*s.frame, stream).value_or(0);
        if (auto buffer = interleaved(*s.frame, time))
            sink_->consume(*buffer);
        av_frame_unref(s.frame.get());
    }
}

} // namespace media
