#include "platform/foundation/Log.h"

#include "platform/foundation/Date.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <mutex>
#include <unistd.h>
#include <vector>

namespace foundation {

namespace {

struct SinkEntry {
    Log::Sink sink;
};

struct LogState {
    std::mutex mutex;
    std::vector<std::weak_ptr<SinkEntry>> sinks;
    std::atomic<bool> stderrEnabled{true};
};

LogState& state() {
    static LogState instance;
    return instance;
}

} // namespace

void Log::write(std::string_view message) {
    auto& s = state();
    if (s.stderrEnabled) {
        const Date now = Date::now();
        const std::string line = fmt::format("{} {}[{}] {}\n", now.format("yyyy-MM-dd HH:mm:ss.SSS"),
                                             program_invocation_short_name, getpid(), message);
        std::fwrite(line.data(), 1, line.size(), stderr);
    }
    std::vector<std::shared_ptr<SinkEntry>> sinks;
    {
        std::lock_guard lock(s.mutex);
        for (const auto& weak : s.sinks)
            if (auto sink = weak.lock())
                sinks.push_back(std::move(sink));
    }
    const std::string text(message);
    for (const auto& entry : sinks)
        entry->sink(text);
}

Log::SinkToken Log::addSink(Sink sink) {
    auto entry = std::make_shared<SinkEntry>(SinkEntry{std::move(sink)});
    auto& s = state();
    std::lock_guard lock(s.mutex);
    std::erase_if(s.sinks, [](const auto& weak) { return weak.expired(); });
    s.sinks.push_back(entry);
    return entry;
}

void Log::setStderrEnabled(bool enabled) { state().stderrEnabled = enabled; }

} // namespace foundation
