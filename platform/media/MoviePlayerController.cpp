#include "platform/media/MoviePlayerController.h"

#include "platform/foundation/Assertions.h"
#include "platform/foundation/Dictionary.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/PercentEncoding.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/WorkerThread.h"
#include "platform/media/AudioSink.h"
#include "platform/media/MovieBackgroundView.h"
#include "platform/media/MovieControlsBar.h"
#include "platform/media/MovieDecoder.h"
#include "platform/net/HTTPClient.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"

#include <algorithm>

namespace media {

namespace {

// Enough to ride out one slow picture without decoding far ahead of what is shown.
constexpr std::size_t kFramesAhead = 3;

foundation::Error loadError(std::string message) {
    return {"MoviePlayerErrorDomain", -1, std::move(message)};
}

foundation::RunLoop& loop() { return foundation::RunLoop::main(); }

} // namespace

std::shared_ptr<MoviePlayerController> MoviePlayerController::create(const foundation::URL& url) {
    foundation::assertIsMainThread();
    if (!url.isFileURL() && !net::HTTPClient::isSupportedURL(url.absoluteString()))
        return nullptr;
    std::shared_ptr<MoviePlayerController> player(new MoviePlayerController(url));
    player->load();
    return player;
}

MoviePlayerController::MoviePlayerController(foundation::URL url)
    : url_(std::move(url)), worker_(std::make_unique<foundation::WorkerThread>("movie")) {}

MoviePlayerController::~MoviePlayerController() {
    if (download_)
        download_->cancel();
    if (window_)
        window_->setHidden(true);
}

void MoviePlayerController::setScalingMode(MovieScalingMode mode) {
    if (mode == scalingMode_)
        return;
    scalingMode_ = mode;
    if (movieView_)
        movieView_->setScalingMode(mode);
    foundation::NotificationCenter::defaultCenter().post(kScalingModeDidChangeNotification, this);
}

void MoviePlayerController::setMovieControlMode(MovieControlMode mode) {
    controlMode_ = mode;
    updateControls();
}

void MoviePlayerController::setBackgroundColor(const graphics::Color& color) {
    backgroundColor_ = color;
    if (movieView_)
        movieView_->setBackgroundColor(color);
}

void MoviePlayerController::setAudioSink(std::shared_ptr<AudioSink> sink) {
    audioSink_ = std::move(sink);
}

double MoviePlayerController::currentPlaybackTime() const {
    return state_ == State::Playing ? loop().now() - startTime_ : finishedAt_;
}

void MoviePlayerController::play() {
    foundation::assertIsMainThread();
    if (state_ == State::Playing || state_ == State::Finished)
        return;
    playRequested_ = true;
    if (state_ == State::Failed) {
        // Observers hear of the failure from the loop, not from inside their own call.
        loop().post(weak_from_this(), [this] { finish(MovieFinishReason::PlaybackError); });
        return;
    }
    showWindow();
    if (state_ == State::Ready)
        startPlayback();
}

void MoviePlayerController::stop() {
    foundation::assertIsMainThread();
    finish(MovieFinishReason::UserExited);
}

void MoviePlayerController::load() {
    if (!url_.isFileURL()) {
        download();
        return;
    }
    const auto path = foundation::PercentEncoding::decode(url_.path());
    open([path]() -> foundation::Result<foundation::Data> {
        auto bytes =
            path ? foundation::FileManager::contentsAtPath(*path, kMaxMovieBytes) : std::nullopt;
        if (!bytes)
            return loadError("the movie file cannot be read");
        return std::move(*bytes);
    });
}

void MoviePlayerController::download() {
    net::HTTPRequest request;
    request.url = url_.absoluteString();
    request.maxBodyBytes = kMaxMovieBytes;
    const std::weak_ptr<MoviePlayerController> weak = weak_from_this();
    auto failed = [weak] {
        if (auto self = weak.lock())
            self->opened(loadError("the movie cannot be downloaded"));
    };
    net::HTTPTask::Callbacks callbacks;
    callbacks.response = [weak, failed](const net::HTTPResponse& response) {
        if (auto self = weak.lock(); self && response.statusCode != 200) {
            self->download_->cancel();
            failed();
        }
    };
    callbacks.data = [weak](std::span<const std::uint8_t> chunk) {
        if (auto self = weak.lock())
            self->downloaded_.append(chunk.data(), chunk.size());
    };
    callbacks.finish = [weak] {
        if (auto self = weak.lock())
            self->open([bytes = std::move(self->downloaded_)]() mutable
                       -> foundation::Result<foundation::Data> { return std::move(bytes); });
    };
    callbacks.failure = [failed](const net::HTTPFailure&) { failed(); };
    download_ = net::HTTPClient::shared().start(std::move(request), std::move(callbacks));
}

void MoviePlayerController::open(std::function<foundation::Result<foundation::Data>()> source) {
    worker_->performThenReply<Opened>(
        [source = std::move(source)]() -> Opened {
            auto bytes = source();
            if (!bytes)
                return bytes.error();
            auto decoder = MovieDecoder::open(std::move(bytes.value()));
            if (!decoder)
                return decoder.error();
            return std::shared_ptr<MovieDecoder>(std::move(decoder.value()));
        },
        weak_from_this(), [this](Opened result) { opened(std::move(result)); });
}

void MoviePlayerController::opened(Opened result) {
    download_.reset();
    downloaded_.clear();
    if (state_ != State::Loading)
        return;
    if (!result) {
        state_ = State::Failed;
        if (playRequested_)
            finish(MovieFinishReason::PlaybackError);
        return;
    }
    decoder_ = std::move(result.value());
    duration_ = decoder_->info().duration;
    state_ = State::Ready;
    auto protector = shared_from_this();
    foundation::NotificationCenter::defaultCenter().post(kContentPreloadDidFinishNotification,
                                                         this);
    if (playRequested_ && state_ == State::Ready)
        startPlayback();
}

void MoviePlayerController::showWindow() {
    const auto bounds = ui::Screen::main().bounds();
    window_ = ui::Window::create(bounds);
    window_->setBackgroundColor(graphics::Color::blackColor());
    movieView_ = MovieBackgroundView::create(bounds);
    movieView_->setBackgroundColor(backgroundColor_);
    movieView_->setScalingMode(scalingMode_);
    window_->addSubview(movieView_);
    updateControls();
    window_->makeKeyAndVisible();
}

void MoviePlayerController::updateControls() {
    if (controls_)
        controls_->removeFromSuperview();
    controls_.reset();
    // Headless there is no volume to show, so only the default controls draw anything.
    if (!window_ || controlMode_ != MovieControlMode::Default)
        return;
    // Below the status bar, which stays over every window.
    const float top = ui::Screen::main().applicationFrame().minY();
    const graphics::Rect frame(0, top, window_->bounds().width(), MovieControlsBar::kHeight);
    controls_ = MovieControlsBar::create(frame, [weak = weak_from_this()] {
        if (auto self = weak.lock())
            self->stop();
    });
    window_->addSubview(controls_);
}

void MoviePlayerController::startPlayback() {
    state_ = State::Playing;
    startTime_ = loop().now();
    decodeAhead();
}

// Each picture is decoded before its time comes: a decode in flight holds a work token, so a
// virtual clock cannot pass a picture that is not yet there.
void MoviePlayerController::decodeAhead() {
    if (decoding_ || endOfStream_ || ahead_.size() >= kFramesAhead)
        return;
    decoding_ = true;
    worker_->performThenReply<Decoded>(
        [decoder = decoder_, sink = audioSink_] {
            decoder->setAudioSink(sink);
            return decoder->nextFrame();
        },
        weak_from_this(), [this](Decoded result) { decoded(std::move(result)); });
}

void MoviePlayerController::decoded(Decoded result) {
    decoding_ = false;
    if (state_ != State::Playing)
        return;
    if (!result) {
        finish(MovieFinishReason::PlaybackError);
        return;
    }
    if (auto& frame = result.value()) {
        streamEnd_ = std::max(streamEnd_, frame->time + frame->duration);
        ahead_.push_back(std::move(*frame));
    } else {
        endOfStream_ = true;
    }
    decodeAhead();
    scheduleNext();
}

void MoviePlayerController::scheduleNext() {
    if (timer_.isActive())
        return;
    const auto until = [this](double time) {
        return foundation::Seconds(std::max(0.0, startTime_ + time - loop().now()));
    };
    if (!ahead_.empty())
        timer_.start(until(ahead_.front().time), false, [this] { showFrame(); });
    else if (endOfStream_)
        timer_.start(until(streamEnd_), false,
                     [this] { finish(MovieFinishReason::PlaybackEnded); });
}

void MoviePlayerController::showFrame() {
    movieView_->setPicture(std::move(ahead_.front().image));
    ahead_.pop_front();
    decodeAhead();
    scheduleNext();
}

void MoviePlayerController::finish(MovieFinishReason reason) {
    if (state_ == State::Finished)
        return;
    finishedAt_ = currentPlaybackTime();
    state_ = State::Finished;
    timer_.stop();
    ahead_.clear();
    if (download_)
        download_->cancel();
    if (window_)
        window_->setHidden(true);
    window_.reset();
    movieView_.reset();
    controls_.reset();
    auto protector = shared_from_this();
    foundation::NotificationCenter::defaultCenter().post(
        kPlaybackDidFinishNotification, this,
        foundation::Dictionary{
            {kPlaybackDidFinishReasonUserInfoKey, foundation::Value::integer(int(reason))}});
}

} // namespace media
