#pragma once

#include "platform/graphics/Image.h"

#include <memory>

namespace media {

// One decoded picture and when it shows, in seconds from the start of the movie.
struct VideoFrame {
    double time = 0;
    double duration = 0;
    std::shared_ptr<const graphics::Image> image;
};

} // namespace media
