#include "ads/video/VideoInfo.h"

#include <utility>

namespace pennant {

VideoInfo::VideoInfo(foundation::URL videoURL, std::optional<std::string> title, int scalingMode,
                     int controlMode)
    : videoURL_(std::move(videoURL)), title_(std::move(title)), scalingMode_(scalingMode),
      controlMode_(controlMode) {}

} // namespace pennant
