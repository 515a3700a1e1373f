#pragma once

#include <mutex>

namespace foundation {

// Where the run loop reads time: seconds since 1970. The real clock follows the system; the
// virtual clock only moves when the run loop advances it, so runs are repeatable.
class Clock {
public:
    virtual ~Clock() = default;
    virtual double now() const = 0;
    virtual bool isVirtual() const = 0;
    // Virtual clocks move to the given time; real clocks ignore it.
    virtual void advanceTo(double) {}
};

class RealClock final : public Clock {
public:
    double now() const override;
    bool isVirtual() const override { return false; }
};

class VirtualClock final : public Clock {
public:
    // Starts at the given time, or at the system's current whole second.
    explicit VirtualClock(double start = -1);
    double now() const override;
    bool isVirtual() const override { return true; }
    // Time never goes backwards: earlier targets are ignored.
    void advanceTo(double time) override;
    void advanceBy(double seconds) { advanceTo(now() + seconds); }

private:
    mutable std::mutex mutex_;
    double now_;
};

} // namespace foundation
