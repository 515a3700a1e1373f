#include "platform/foundation/Log.h"

#include "platform/foundation/Date.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <unistd.h>
#include <vector>

namespace foundation {

namespace {

struct SinkEntry {
    Log::Sink sink;
    // Calls in progress, and whether the token is gone: once it is, no new call starts, and
    // dropping the token waits for calls on other threads so the sink's captures stay alive.
    std::mutex mutex;
    std::condition_variable idle;
    int calls = 0;
    bool removed = false;
};

// The sinks this thread is inside right now; a sink that drops its own token (or logs from
// inside) must not wait for itself.
thread_local std::vector<const SinkEntry*> callingOnThisThread;

// What the token owns: dropping it retires the entry.
struct SinkHandle {
    std::shared_ptr<SinkEntry> entry;
    SinkHandle() = default;
    SinkHandle(const SinkHandle&) = delete;
    SinkHandle& operator=(const SinkHandle&) = delete;
    ~SinkHandle() {
        if (!entry)
            return;
        const auto own = std::ranges::count(callingOnThisThread, entry.get());
        std::unique_lock lock(entry->mutex);
        entry->removed = true;
        entry->idle.wait(lock, [&] { return entry->calls == own; });
    }
};

void call(SinkEntry& entry, const std::string& text) {
    {
        std::lock_guard lock(entry.mutex);
        if (entry.removed)
            return;
        ++entry.calls;
    }
    callingOnThisThread.push_back(&entry);
    entry.sink(text);
    callingOnThisThread.pop_back();
    {
        std::lock_guard lock(entry.mutex);
        --entry.calls;
    }
    entry.idle.notify_all();
}

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
        call(*entry, text);
}

Log::SinkToken Log::addSink(Sink sink) {
    auto entry = std::make_shared<SinkEntry>();
    entry->sink = std::move(sink);
    auto& s = state();
    std::lock_guard lock(s.mutex);
    std::erase_if(s.sinks, [](const auto& weak) { return weak.expired(); });
    s.sinks.push_back(entry);
    auto handle = std::make_shared<SinkHandle>();
    handle->entry = std::move(entry);
    return handle;
}

void Log::setStderrEnabled(bool enabled) { state().stderrEnabled = enabled; }

} // namespace foundation
