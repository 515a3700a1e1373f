#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/foundation/Timer.h"

namespace foundation {

class Clock;

// The main thread's event loop: timers, delayed calls and functions posted from any thread.
// Time comes from an installable Clock. With a virtual clock an idle loop jumps straight to
// the next timer, unless background work (a network request) is outstanding, in which case
// it waits in real time for that work to post its result.
class RunLoop {
public:
    static RunLoop& main();

    RunLoop();
    ~RunLoop();
    RunLoop(const RunLoop&) = delete;
    RunLoop& operator=(const RunLoop&) = delete;

    void setClock(std::shared_ptr<Clock> clock);
    Clock& clock() const { return *clock_; }
    double now() const;

    // Runs fn after the delay unless the owner is gone by then (loop thread only). Work due
    // at the same loop time runs in the order it was posted, timers included.
    void postAfter(Seconds delay, std::weak_ptr<const void> owner, std::function<void()> fn);
    bool hasPendingTimers();

    // Any thread. postAndWait runs inline when called on the loop's thread.
    void post(std::function<void()> fn);
    // Any thread; fn runs on the loop only if the owner is still alive when its turn comes.
    void post(std::weak_ptr<const void> owner, std::function<void()> fn);
    void postAndWait(std::function<void()> fn);

    // The lock, the wake-up and the count of outstanding background work.
    struct Signals;

    // Background work registered here keeps a virtual clock from jumping while it runs.
    // A token may outlive its loop (a task cancelled after its platform context ended): it
    // shares only the loop's wake-up state, never the loop itself.
    class WorkToken {
    public:
        explicit WorkToken(RunLoop& loop);
        ~WorkToken();
        WorkToken(const WorkToken&) = delete;
        WorkToken& operator=(const WorkToken&) = delete;

    private:
        std::shared_ptr<Signals> signals_;
    };

    // Runs until the predicate holds; false when the real-time bound passed first or the loop
    // ran out of work (nothing posted, no timers, no background work).
    bool runUntil(const std::function<bool()>& predicate, Seconds realTimeBound);
    // Runs for exactly this much loop time (virtual time advances, real time passes).
    void runFor(Seconds duration);
    // Runs until nothing is posted, no work is outstanding and no timer is scheduled, or the
    // loop time passes the limit (repeating timers never end by themselves).
    void runUntilIdle(Seconds limit = Seconds(3600));
    // The app's loop: runs until stop().
    void run();
    void stop();
    bool isLoopThread() const { return std::this_thread::get_id() == thread_.load(); }
    // The thread that calls run* becomes the loop's thread.
    void adoptCurrentThread() { thread_.store(std::this_thread::get_id()); }

private:
    friend class Timer;
    using TimerKey = std::pair<double, std::uint64_t>;
    // A timer member of some owner, or one-shot work guarded by its owner's weak handle.
    struct Scheduled {
        Timer* timer = nullptr;
        std::function<void()> work;
        std::weak_ptr<const void> owner;
    };

    void schedule(double fireDate, Scheduled entry, std::uint64_t& sequence);
    void insert(Timer& timer);
    void remove(Timer& timer);
    void dropAbandonedWork();
    void dropAbandonedWorkAtFront();
    bool runPosted();
    bool fireDueTimer();
    void fire(Scheduled& entry);
    // One step of work; false when nothing could happen before the deadline.
    bool step(double loopDeadline, std::chrono::steady_clock::time_point realDeadline);
    void waitForPost(std::chrono::steady_clock::time_point until);

    std::shared_ptr<Clock> clock_;
    std::map<TimerKey, Scheduled> timers_;
    std::uint64_t nextSequence_ = 0;

    std::shared_ptr<Signals> signals_;
    std::deque<std::function<void()>> posted_;
    std::atomic<bool> stopRequested_{false};
    std::atomic<std::thread::id> thread_;
};

} // namespace foundation
