#pragma once

namespace media {

// How the movie's picture fills the player's view; the values are the platform's.
enum class MovieScalingMode : int {
    None = 0,       // natural size, centred
    AspectFit = 1,  // the whole picture, letterboxed
    AspectFill = 2, // the whole view, the picture cropped
    Fill = 3,       // the whole view, the picture stretched
};

} // namespace media
