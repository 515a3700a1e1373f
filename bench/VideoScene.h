#pragma once

#include "LoopbackNetwork.h"
#include "platform/foundation/Result.h"

#include <memory>

namespace media {
class MovieBackgroundView;
}
namespace pennant {
class VideoViewController;
}
namespace ui {
class Window;
}

// The catalogue's video ad opened as a tap opens it, in a temporary sandbox home on the
// virtual clock with the ad server on loopback: the clock clip playing with the phone turned
// to landscape and the screen's overlay (title bar, buttons, Done) showing over the movie.
// Lives inside the platform context it was made in.
class VideoScene {
public:
    VideoScene();
    ~VideoScene();
    VideoScene(const VideoScene&) = delete;
    VideoScene& operator=(const VideoScene&) = delete;

    // Opens the ad and waits until its movie plays, turned, under the showing overlay.
    foundation::Status start();

    media::MovieBackgroundView& movieView() const;

private:
    foundation::Status open();
    foundation::Status turnToLandscape();

    LoopbackNetwork network_;
    std::shared_ptr<ui::Window> hostWindow_;
    std::shared_ptr<pennant::VideoViewController> controller_;
    std::shared_ptr<media::MovieBackgroundView> movieView_;
};
