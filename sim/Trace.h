#pragma once

#include "platform/foundation/Dictionary.h"

#include <cstdio>
#include <string>

namespace sim {

// The JSON Lines trace: one object per observable event, each with "t" (seconds of loop time
// since the simulation started) and "type". Lines are flushed as they are written.
class Trace {
public:
    Trace() = default;
    ~Trace();
    Trace(const Trace&) = delete;
    Trace& operator=(const Trace&) = delete;

    // "-" writes to stdout; an empty path records nothing but still counts events.
    bool open(const std::string& path, double startTime);
    void record(const std::string& type, const foundation::Dictionary& fields = {});
    std::size_t count(const std::string& type) const;
    double elapsed() const;

private:
    std::FILE* file_ = nullptr;
    bool ownsFile_ = false;
    double startTime_ = 0;
    foundation::Dictionary counts_;
};

} // namespace sim
