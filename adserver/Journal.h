#pragma once

#include "platform/foundation/Value.h"

#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace adserver {

// Every request the server saw, oldest first, for tests and demos to inspect. Bounded: each
// entry keeps the head of large bodies, targets and header lists, and the oldest entries are
// dropped once there are too many or they hold too much.
class Journal {
public:
    static constexpr std::size_t kMaxEntries = 10000;
    static constexpr std::size_t kMaxBytes = 32 * 1024 * 1024;
    static constexpr std::size_t kMaxBodyBytes = 64 * 1024;
    static constexpr std::size_t kMaxTargetBytes = 8 * 1024;
    static constexpr std::size_t kMaxHeaders = 100;
    static constexpr std::size_t kMaxHeaderBytes = 32 * 1024;
    // One answer holds this many entries unless the asker names fewer or more (up to the
    // maximum), and stops early rather than grow past kMaxPageBytes.
    static constexpr std::size_t kDefaultPageEntries = 100;
    static constexpr std::size_t kMaxPageEntries = 1000;
    static constexpr std::size_t kMaxPageBytes = 8 * 1024 * 1024;

    struct Entry {
        std::string method;
        std::string path;
        std::string query;
        std::vector<std::pair<std::string, std::string>> headers;
        std::string body;
        double time = 0;
    };

    void record(Entry entry);
    void clear();
    std::vector<Entry> entries() const;
    // Entries dropped to stay within bounds since the journal was last cleared.
    std::size_t dropped() const;
    // Entries are numbered from 0 since the journal was last cleared, dropped ones included, so
    // a reader pages on with "next" however many are dropped meanwhile:
    // {"requests": [{"method", "path", "query", "headers": {...}, "body", "time"}...],
    //  "offset": number of the first, "next": number after the last, "total", "dropped"}
    foundation::Value toValue(std::size_t offset = 0,
                              std::size_t limit = kDefaultPageEntries) const;

private:
    mutable std::mutex mutex_;
    std::deque<Entry> entries_;
    std::size_t bytes_ = 0;
    std::size_t dropped_ = 0;
};

} // namespace adserver
