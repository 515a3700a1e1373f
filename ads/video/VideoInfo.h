#pragma once

#include "platform/foundation/URL.h"

#include <optional>
#include <string>

namespace pennant {

// The video one screen plays: the movie, how the platform player scales it, which of the
// player's controls show (2 hides them and gives the screen its own), and the title bar's text.
class VideoInfo {
public:
    static constexpr int kHiddenControls = 2;

    VideoInfo(foundation::URL videoURL, std::optional<std::string> title, int scalingMode,
              int controlMode);

    const foundation::URL& videoURL() const { return videoURL_; }
    const std::optional<std::string>& title() const { return title_; }
    int scalingMode() const { return scalingMode_; }
    int controlMode() const { return controlMode_; }
    bool hasOwnControls() const { return controlMode_ == kHiddenControls; }

private:
    foundation::URL videoURL_;
    std::optional<std::string> title_;
    int scalingMode_;
    int controlMode_;
};

} // namespace pennant
