#pragma once

namespace media {

// Why playback finished, as the playback-finished notification reports it (the platform's values).
enum class MovieFinishReason : int {
    PlaybackEnded = 0,
    PlaybackError = 1,
    UserExited = 2,
};

} // namespace media
