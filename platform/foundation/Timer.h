#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace foundation {

class RunLoop;

// A one-shot or repeating timer owned by the run loop until it is invalidated or, for one-shot
// timers, has fired. Callers keep a shared_ptr only to invalidate it later.
class Timer {
public:
    using Callback = std::function<void(Timer&)>;

    double interval() const { return interval_; }
    bool repeats() const { return repeats_; }
    double fireDate() const { return fireDate_; }
    bool isValid() const { return valid_; }
    // Safe from inside the timer's own callback.
    void invalidate();

private:
    friend class RunLoop;
    Timer(RunLoop& loop, double interval, bool repeats, Callback callback)
        : loop_(loop), interval_(interval), repeats_(repeats), callback_(std::move(callback)) {}

    RunLoop& loop_;
    double interval_;
    bool repeats_;
    Callback callback_;
    double fireDate_ = 0;
    std::uint64_t sequence_ = 0;
    bool valid_ = true;
    // Delayed calls are timers tagged with the owner and key they can be cancelled by.
    const void* owner_ = nullptr;
    std::string key_;
};

} // namespace foundation
