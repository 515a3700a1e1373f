#pragma once

#include <chrono>
#include <cstdint>
#include <functional>

namespace foundation {

class RunLoop;

using Seconds = std::chrono::duration<double>;

// A one-shot or repeating timer that is a member of its owner: destroying it stops it, so a
// callback can never reach an owner that is gone. Started, stopped and fired on its loop's
// thread only.
class Timer {
public:
    explicit Timer(RunLoop& loop);
    // On the main run loop.
    Timer();
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    // (Re)starts the timer; a running one is stopped first.
    void start(Seconds interval, bool repeats, std::function<void()> callback);
    // Safe from inside the timer's own callback, and when it is not running.
    void stop();

    bool isActive() const { return active_; }
    Seconds interval() const { return Seconds(interval_); }
    bool repeats() const { return repeats_; }
    // Loop time of the next firing; meaningful while active.
    double fireDate() const { return fireDate_; }

private:
    friend class RunLoop;

    RunLoop* loop_;
    double interval_ = 0;
    bool repeats_ = false;
    bool active_ = false;
    double fireDate_ = 0;
    std::uint64_t sequence_ = 0;
    std::function<void()> callback_;
};

} // namespace foundation
