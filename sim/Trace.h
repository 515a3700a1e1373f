#pragma once

#include "platform/foundation/Dictionary.h"
#include "platform/foundation/Result.h"

#include <cstdio>
#include <mutex>
#include <string>

namespace sim {

// The JSON Lines trace: one object per observable event, each with "t" (seconds of loop time
// since the simulation started) and "type". Lines are flushed as they are written. Events may
// be recorded from any thread (log lines arrive on whichever thread logs); each line is whole.
class Trace {
public:
    Trace() = default;
    ~Trace();
    Trace(const Trace&) = delete;
    Trace& operator=(const Trace&) = delete;

    // "-" writes to stdout; an empty path records nothing but still counts events.
    bool open(const std::string& path, double startTime);
    void record(const std::string& type, const foundation::Dictionary& fields = {});
    // Flushes and closes the file; fails, naming the file and the reason, if any line was lost.
    foundation::Status close();
    std::size_t count(const std::string& type) const;
    double elapsed() const;

private:
    std::string line(const std::string& type, const foundation::Dictionary& fields) const;
    void write(const std::string& line);

    mutable std::mutex mutex_;
    std::FILE* file_ = nullptr;
    bool ownsFile_ = false;
    std::string path_;
    int writeError_ = 0; // errno of the first write that failed; later lines are not attempted
    double startTime_ = 0;
    foundation::Dictionary counts_;
};

} // namespace sim
