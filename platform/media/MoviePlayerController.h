#pragma once

#include "platform/foundation/Data.h"
#include "platform/foundation/Result.h"
#include "platform/foundation/Timer.h"
#include "platform/foundation/URL.h"
#include "platform/graphics/Color.h"
#include "platform/media/MovieControlMode.h"
#include "platform/media/MovieFinishReason.h"
#include "platform/media/MovieScalingMode.h"
#include "platform/media/VideoFrame.h"

#include <cstddef>
#include <deque>
#include <memory>

namespace foundation {
class WorkerThread;
}
namespace net {
class HTTPTask;
}
namespace ui {
class View;
class Window;
} // namespace ui

namespace media {

class AudioSink;
class MovieBackgroundView;
class MovieDecoder;

// The platform's full-screen movie player. Created with a movie's URL (http(s) or file) it
// loads and opens the movie at once; play() puts its own window over the application and shows
// the movie's pictures at the run loop's time; the end, a stop or a failure finishes playback.
// What happens is posted to the default notification center with the player as the sender.
// Main thread only; one decoding thread per player owns the movie.
class MoviePlayerController : public std::enable_shared_from_this<MoviePlayerController> {
public:
    static constexpr const char* kContentPreloadDidFinishNotification =
        "MPMoviePlayerContentPreloadDidFinishNotification";
    static constexpr const char* kScalingModeDidChangeNotification =
        "MPMoviePlayerScalingModeDidChangeNotification";
    static constexpr const char* kPlaybackDidFinishNotification =
        "MPMoviePlayerPlaybackDidFinishNotification";
    // In the playback-finished user info: the MovieFinishReason as a number.
    static constexpr const char* kPlaybackDidFinishReasonUserInfoKey =
        "MPMoviePlayerPlaybackDidFinishReasonUserInfoKey";
    // Movies may be bigger than anything else the phone downloads.
    static constexpr std::size_t kMaxMovieBytes = 64 * 1024 * 1024;

    // nullptr when the URL is neither an http(s) nor a file URL.
    static std::shared_ptr<MoviePlayerController> create(const foundation::URL& url);
    ~MoviePlayerController();
    MoviePlayerController(const MoviePlayerController&) = delete;
    MoviePlayerController& operator=(const MoviePlayerController&) = delete;

    const foundation::URL& contentURL() const { return url_; }
    MovieScalingMode scalingMode() const { return scalingMode_; }
    void setScalingMode(MovieScalingMode mode);
    MovieControlMode movieControlMode() const { return controlMode_; }
    void setMovieControlMode(MovieControlMode mode);
    graphics::Color backgroundColor() const { return backgroundColor_; }
    void setBackgroundColor(const graphics::Color& color);
    // The movie's length in seconds; 0 until the content has preloaded.
    double duration() const { return duration_; }
    bool isPlaying() const { return state_ == State::Playing; }
    // Seconds into the movie: 0 until playback starts, kept where it finished.
    double currentPlaybackTime() const;

    void play();
    void stop();

    // Decoded sound goes to the sink from the next picture decoded on.
    void setAudioSink(std::shared_ptr<AudioSink> sink);

private:
    enum class State { Loading, Ready, Failed, Playing, Finished };
    using Opened = foundation::Result<std::shared_ptr<MovieDecoder>>;
    using Decoded = foundation::Result<std::optional<VideoFrame>>;

    explicit MoviePlayerController(foundation::URL url);

    void load();
    void download();
    void open(std::function<foundation::Result<foundation::Data>()> source);
    void opened(Opened result);
    void showWindow();
    void updateControls();
    void startPlayback();
    void decodeAhead();
    void decoded(Decoded result);
    void scheduleNext();
    void showFrame();
    void finish(MovieFinishReason reason);

    foundation::URL url_;
    MovieScalingMode scalingMode_ = MovieScalingMode::AspectFit;
    MovieControlMode controlMode_ = MovieControlMode::Default;
    graphics::Color backgroundColor_ = graphics::Color::blackColor();
    double duration_ = 0;
    State state_ = State::Loading;
    bool playRequested_ = false;

    std::shared_ptr<net::HTTPTask> download_;
    foundation::Data downloaded_;
    // Opened and used on the worker only; the main thread just hands it back there.
    std::shared_ptr<MovieDecoder> decoder_;

    std::shared_ptr<AudioSink> audioSink_;

    std::shared_ptr<ui::Window> window_;
    std::shared_ptr<MovieBackgroundView> movieView_;
    std::shared_ptr<ui::View> controls_;

    // Pictures decoded but not yet shown, and the timer for the next one (or for the end).
    std::deque<VideoFrame> ahead_;
    bool decoding_ = false;
    bool endOfStream_ = false;
    double startTime_ = 0;
    double streamEnd_ = 0;
    double finishedAt_ = 0;
    foundation::Timer timer_;

    // Last, so it stops (finishing a running job) before anything it may use goes.
    std::unique_ptr<foundation::WorkerThread> worker_;
};

} // namespace media
