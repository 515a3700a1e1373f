#pragma once

namespace media {

// Which controls the player draws over the movie; the values are the platform's.
enum class MovieControlMode : int {
    Default = 0,
    VolumeOnly = 1,
    Hidden = 2,
};

} // namespace media
