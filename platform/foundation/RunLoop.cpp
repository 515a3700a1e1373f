#include "platform/foundation/RunLoop.h"

#include "platform/foundation/Clock.h"
#include "platform/foundation/Timer.h"

#include <future>
#include <limits>
#include <vector>

namespace foundation {

namespace {
using SteadyClock = std::chrono::steady_clock;
constexpr double kForever = std::numeric_limits<double>::infinity();
// How long a virtual-time run may wait in real time for background work to report back.
constexpr auto kBackgroundWorkWait = std::chrono::seconds(60);

SteadyClock::time_point realDeadlineAfter(Seconds bound) {
    return SteadyClock::now() + std::chrono::duration_cast<SteadyClock::duration>(bound);
}
} // namespace

RunLoop& RunLoop::main() {
    static RunLoop loop;
    return loop;
}

RunLoop::RunLoop() : clock_(std::make_shared<RealClock>()), thread_(std::this_thread::get_id()) {}

RunLoop::~RunLoop() {
    for (auto& [key, timer] : timers_)
        timer->valid_ = false;
}

void RunLoop::setClock(std::shared_ptr<Clock> clock) { clock_ = std::move(clock); }

double RunLoop::now() const { return clock_->now(); }

std::shared_ptr<Timer> RunLoop::scheduleTimer(Seconds interval, bool repeats,
                                              std::function<void(Timer&)> callback) {
    std::shared_ptr<Timer> timer(new Timer(*this, interval.count(), repeats, std::move(callback)));
    timer->fireDate_ = now() + std::max(0.0, interval.count());
    insert(timer);
    return timer;
}

void RunLoop::performAfter(Seconds delay, const void* owner, std::string key,
                           std::function<void()> fn) {
    auto timer = scheduleTimer(delay, false, [fn = std::move(fn)](Timer&) { fn(); });
    timer->owner_ = owner;
    timer->key_ = std::move(key);
}

void RunLoop::cancelPerforms(const void* owner) {
    std::vector<std::shared_ptr<Timer>> matching;
    for (auto& [key, timer] : timers_)
        if (timer->owner_ == owner && owner)
            matching.push_back(timer);
    for (auto& timer : matching)
        timer->invalidate();
}

void RunLoop::cancelPerforms(const void* owner, const std::string& key) {
    std::vector<std::shared_ptr<Timer>> matching;
    for (auto& [mapKey, timer] : timers_)
        if (timer->owner_ == owner && owner && timer->key_ == key)
            matching.push_back(timer);
    for (auto& timer : matching)
        timer->invalidate();
}

void RunLoop::insert(const std::shared_ptr<Timer>& timer) {
    timer->sequence_ = nextSequence_++;
    timers_.emplace(TimerKey{timer->fireDate_, timer->sequence_}, timer);
}

void RunLoop::remove(Timer& timer) {
    auto it = timers_.find(TimerKey{timer.fireDate_, timer.sequence_});
    if (it != timers_.end() && it->second.get() == &timer)
        timers_.erase(it);
}

void Timer::invalidate() {
    if (!valid_)
        return;
    valid_ = false;
    loop_.remove(*this);
}

void RunLoop::post(std::function<void()> fn) {
    {
        std::lock_guard lock(mutex_);
        posted_.push_back(std::move(fn));
    }
    wake_.notify_all();
}

void RunLoop::postAndWait(std::function<void()> fn) {
    if (isLoopThread()) {
        fn();
        return;
    }
    std::promise<void> done;
    auto finished = done.get_future();
    post([&] {
        fn();
        done.set_value();
    });
    finished.wait();
}

RunLoop::WorkToken::WorkToken(RunLoop& loop) : loop_(loop) { ++loop_.outstandingWork_; }

RunLoop::WorkToken::~WorkToken() {
    {
        std::lock_guard lock(loop_.mutex_);
        --loop_.outstandingWork_;
    }
    loop_.wake_.notify_all();
}

bool RunLoop::runPosted() {
    std::function<void()> fn;
    {
        std::lock_guard lock(mutex_);
        if (posted_.empty())
            return false;
        fn = std::move(posted_.front());
        posted_.pop_front();
    }
    fn();
    return true;
}

bool RunLoop::fireDueTimer() {
    if (timers_.empty() || timers_.begin()->first.first > now())
        return false;
    std::shared_ptr<Timer> timer = timers_.begin()->second;
    timers_.erase(timers_.begin());
    if (timer->repeats_) {
        // Rescheduled before the call so the callback may invalidate it.
        double next = timer->fireDate_ + timer->interval_;
        timer->fireDate_ = next > now() ? next : now() + std::max(timer->interval_, 1e-3);
        insert(timer);
    }
    timer->callback_(*timer);
    if (!timer->repeats_)
        timer->valid_ = false;
    return true;
}

void RunLoop::waitForPost(SteadyClock::time_point until) {
    std::unique_lock lock(mutex_);
    wake_.wait_until(lock, until, [&] { return !posted_.empty() || stopRequested_; });
}

bool RunLoop::step(double loopDeadline, SteadyClock::time_point realDeadline) {
    if (runPosted() || fireDueTimer())
        return true;
    if (SteadyClock::now() >= realDeadline)
        return false;
    const double nextTimer = timers_.empty() ? kForever : timers_.begin()->first.first;
    const bool working = outstandingWork_ > 0;
    if (clock_->isVirtual()) {
        if (working) {
            std::unique_lock lock(mutex_);
            wake_.wait_until(lock, realDeadline, [&] {
                return !posted_.empty() || outstandingWork_ == 0 || stopRequested_;
            });
            return true;
        }
        if (timers_.empty() || nextTimer > loopDeadline)
            return false;
        clock_->advanceTo(nextTimer);
        return true;
    }
    const double wakeAt = std::min(nextTimer, loopDeadline);
    if (!working && wakeAt == kForever)
        return false;
    if (now() >= loopDeadline)
        return false;
    auto until = realDeadline;
    if (wakeAt != kForever)
        until = std::min(until, realDeadlineAfter(Seconds(wakeAt - now())));
    waitForPost(until);
    return true;
}

bool RunLoop::runUntil(const std::function<bool()>& predicate, Seconds realTimeBound) {
    adoptCurrentThread();
    const auto realDeadline = realDeadlineAfter(realTimeBound);
    while (!predicate()) {
        if (!step(kForever, realDeadline))
            return predicate();
    }
    return true;
}

void RunLoop::runFor(Seconds duration) {
    adoptCurrentThread();
    const double loopDeadline = now() + duration.count();
    const auto realDeadline = realDeadlineAfter(
        clock_->isVirtual() ? Seconds(kBackgroundWorkWait) : duration + Seconds(1));
    while (step(loopDeadline, realDeadline)) {
    }
    clock_->advanceTo(loopDeadline);
}

void RunLoop::runUntilIdle(Seconds limit) {
    adoptCurrentThread();
    const double loopDeadline = now() + limit.count();
    const auto realDeadline = realDeadlineAfter(
        clock_->isVirtual() ? Seconds(kBackgroundWorkWait) : limit + Seconds(1));
    while (step(loopDeadline, realDeadline)) {
    }
}

void RunLoop::run() {
    adoptCurrentThread();
    stopRequested_ = false;
    while (!stopRequested_) {
        if (!step(kForever, SteadyClock::now() + std::chrono::hours(24)))
            waitForPost(SteadyClock::now() + std::chrono::seconds(1));
    }
    // A stop left standing would end every later wait at once and spin the other run modes.
    stopRequested_ = false;
}

void RunLoop::stop() {
    {
        // Set under the lock so a waiter between its check and its wait cannot miss it.
        std::lock_guard lock(mutex_);
        stopRequested_ = true;
    }
    wake_.notify_all();
}

} // namespace foundation
