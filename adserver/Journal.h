#pragma once

#include "platform/foundation/Value.h"

#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace adserver {

// Every request the server saw, oldest first, for tests and demos to inspect. Bounded: the
// oldest entries and the tail of large bodies are dropped.
class Journal {
public:
    static constexpr std::size_t kMaxEntries = 10000;
    static constexpr std::size_t kMaxBodyBytes = 64 * 1024;

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
    // {"requests": [{"method", "path", "query", "headers": {...}, "body", "time"}...]}
    foundation::Value toValue() const;

private:
    mutable std::mutex mutex_;
    std::deque<Entry> entries_;
};

} // namespace adserver
