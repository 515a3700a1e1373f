#pragma once

#include "platform/foundation/Dictionary.h"

namespace pennant {
struct VideoEvent;
}

namespace sim {

// The fields of the trace's "video" events: what happened ("started", "finished", "skipped"
// or "replayed"), the movie's URL and the seconds into the movie.
class VideoTrace {
public:
    static foundation::Dictionary fields(const pennant::VideoEvent& event);
};

} // namespace sim
