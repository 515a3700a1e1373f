#pragma once

#include "platform/foundation/Subscribers.h"

#include <fmt/format.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace foundation {

// The platform's single-line system log. Every line goes to stderr (unless muted) and to each
// installed sink; the simulator's trace and tests install sinks.
class Log {
public:
    using Sink = std::function<void(const std::string& message)>;

    // Any thread.
    static void write(std::string_view message);
    // The sink stays installed while the subscription lives.
    [[nodiscard]] static Subscription addSink(Sink sink);
    static void setStderrEnabled(bool enabled);
};

template <typename... Args>
void log(fmt::format_string<Args...> format, Args&&... args) {
    Log::write(fmt::format(format, std::forward<Args>(args)...));
}

} // namespace foundation
