#pragma once

#include "platform/foundation/URL.h"

namespace pennant {

// One moment of a video screen's playback, for whoever watches the screens of the current
// platform context (the simulator's trace).
struct VideoEvent {
    enum class Kind { Started, Finished, Skipped, Replayed };

    Kind kind;
    foundation::URL url;
    // Seconds into the movie when it happened.
    double position = 0;
};

} // namespace pennant
