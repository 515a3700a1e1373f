#pragma once

#include "ads/actions/ScreenDispatcher.h"

#include <memory>
#include <vector>

namespace foundation {
class Value;
}

namespace pennant {

class VideoPlayerButton;

// The action screens with the video player: a "movie" action plays full screen with its
// buttons, splash and skip and replay pictures from the opener's fetched images.
class VideoScreenDispatcher : public ScreenDispatcher {
public:
    // The bottom bar keeps room for the skip button beside this many buttons.
    static constexpr std::size_t kMaxButtons = 4;

    // Makes these the screens every opener of the process uses; repeated calls change nothing.
    static void install();

    void displayVideoPlayer(Opener& opener) override;

    // One button per well-formed entry, in order, up to the maximum.
    static std::vector<std::shared_ptr<VideoPlayerButton>> buttonsFor(const Opener& opener);
};

} // namespace pennant
