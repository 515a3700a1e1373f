#include "platform/foundation/Log.h"

#include "platform/foundation/Date.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <unistd.h>

namespace foundation {

namespace {

struct LogState {
    Subscribers<std::string> sinks;
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
        const std::string line =
            fmt::format("{} {}[{}] {}\n", now.format("yyyy-MM-dd HH:mm:ss.SSS"),
                        program_invocation_short_name, getpid(), message);
        std::fwrite(line.data(), 1, line.size(), stderr);
    }
    s.sinks.notify(std::string(message));
}

Subscription Log::addSink(Sink sink) { return state().sinks.subscribe(std::move(sink)); }

void Log::setStderrEnabled(bool enabled) { state().stderrEnabled = enabled; }

} // namespace foundation
