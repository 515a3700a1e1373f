#include "platform/foundation/RunLoop.h"

#include "platform/foundation/Assertions.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/PlatformContext.h"

#include <future>
#include <limits>

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

RunLoop& RunLoop::main() { return PlatformContext::current().mainLoop(); }

struct RunLoop::Signals {
    std::mutex mutex;
    std::condition_variable wake;
    std::atomic<int> outstandingWork{0};
};

RunLoop::RunLoop()
    : clock_(std::make_shared<RealClock>()), signals_(std::make_shared<Signals>()),
      thread_(std::this_thread::get_id()) {}

RunLoop::~RunLoop() {
    for (auto& [key, entry] : timers_)
        if (entry.timer) {
            entry.timer->active_ = false;
            entry.timer->loop_ = nullptr;
        }
}

void RunLoop::setClock(std::shared_ptr<Clock> clock) { clock_ = std::move(clock); }

double RunLoop::now() const { return clock_->now(); }

void RunLoop::schedule(double fireDate, Scheduled entry, std::uint64_t& sequence) {
    VERIFY(isLoopThread());
    sequence = nextSequence_++;
    timers_.emplace(TimerKey{fireDate, sequence}, std::move(entry));
}

void RunLoop::postAfter(Seconds delay, std::weak_ptr<const void> owner, std::function<void()> fn) {
    std::uint64_t sequence = 0;
    schedule(now() + std::max(0.0, delay.count()),
             Scheduled{nullptr, std::move(fn), std::move(owner)}, sequence);
}

void RunLoop::insert(Timer& timer) {
    schedule(timer.fireDate_, Scheduled{&timer, {}, {}}, timer.sequence_);
}

void RunLoop::remove(Timer& timer) {
    VERIFY(isLoopThread());
    auto it = timers_.find(TimerKey{timer.fireDate_, timer.sequence_});
    if (it != timers_.end() && it->second.timer == &timer)
        timers_.erase(it);
}

// Work whose owner died must not hold the virtual clock's next jump.
namespace {
template <typename Entry>
bool isAbandoned(const Entry& item) {
    return !item.second.timer && item.second.owner.expired();
}
} // namespace

void RunLoop::dropAbandonedWork() {
    std::erase_if(timers_, [](const auto& item) { return isAbandoned(item); });
}

// Only the earliest entry decides what fires and where the virtual clock jumps, so the loop's
// every step looks no further than that.
void RunLoop::dropAbandonedWorkAtFront() {
    while (!timers_.empty() && isAbandoned(*timers_.begin()))
        timers_.erase(timers_.begin());
}

bool RunLoop::hasPendingTimers() {
    dropAbandonedWork();
    return !timers_.empty();
}

Timer::Timer(RunLoop& loop) : loop_(&loop) {}

Timer::Timer() : Timer(RunLoop::main()) {}

Timer::~Timer() { stop(); }

void Timer::start(Seconds interval, bool repeats, std::function<void()> callback) {
    stop();
    VERIFY(loop_);
    interval_ = interval.count();
    repeats_ = repeats;
    callback_ = std::move(callback);
    fireDate_ = loop_->now() + std::max(0.0, interval_);
    active_ = true;
    loop_->insert(*this);
}

void Timer::stop() {
    if (!active_)
        return;
    active_ = false;
    loop_->remove(*this);
}

void RunLoop::post(std::weak_ptr<const void> owner, std::function<void()> fn) {
    post([owner = std::move(owner), fn = std::move(fn)] {
        if (auto alive = owner.lock())
            fn();
    });
}

void RunLoop::post(std::function<void()> fn) {
    {
        std::lock_guard lock(signals_->mutex);
        posted_.push_back(std::move(fn));
    }
    signals_->wake.notify_all();
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

RunLoop::WorkToken::WorkToken(RunLoop& loop) : signals_(loop.signals_) {
    ++signals_->outstandingWork;
}

RunLoop::WorkToken::~WorkToken() {
    {
        std::lock_guard lock(signals_->mutex);
        --signals_->outstandingWork;
    }
    signals_->wake.notify_all();
}

bool RunLoop::runPosted() {
    std::function<void()> fn;
    {
        std::lock_guard lock(signals_->mutex);
        if (posted_.empty())
            return false;
        fn = std::move(posted_.front());
        posted_.pop_front();
    }
    fn();
    return true;
}

bool RunLoop::fireDueTimer() {
    dropAbandonedWorkAtFront();
    if (timers_.empty() || timers_.begin()->first.first > now())
        return false;
    auto node = timers_.extract(timers_.begin());
    fire(node.mapped());
    return true;
}

void RunLoop::fire(Scheduled& entry) {
    if (!entry.timer) {
        // Held for the call: the owner may drop its last other reference inside.
        if (auto alive = entry.owner.lock())
            entry.work();
        return;
    }
    Timer& timer = *entry.timer;
    if (timer.repeats_) {
        // Rescheduled before the call so the callback may stop it.
        const double next = timer.fireDate_ + timer.interval_;
        timer.fireDate_ = next > now() ? next : now() + std::max(timer.interval_, 1e-3);
        insert(timer);
    } else {
        timer.active_ = false;
    }
    // A copy, because the callback may destroy the timer together with its owner.
    auto callback = timer.callback_;
    callback();
}

void RunLoop::waitForPost(SteadyClock::time_point until) {
    std::unique_lock lock(signals_->mutex);
    signals_->wake.wait_until(lock, until, [&] { return !posted_.empty() || stopRequested_; });
}

bool RunLoop::step(double loopDeadline, SteadyClock::time_point realDeadline) {
    if (runPosted() || fireDueTimer())
        return true;
    if (SteadyClock::now() >= realDeadline)
        return false;
    dropAbandonedWorkAtFront();
    const double nextTimer = timers_.empty() ? kForever : timers_.begin()->first.first;
    const bool working = signals_->outstandingWork > 0;
    if (clock_->isVirtual()) {
        if (working) {
            std::unique_lock lock(signals_->mutex);
            signals_->wake.wait_until(lock, realDeadline, [&] {
                return !posted_.empty() || signals_->outstandingWork == 0 || stopRequested_;
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
    const auto realDeadline = realDeadlineAfter(clock_->isVirtual() ? Seconds(kBackgroundWorkWait)
                                                                    : duration + Seconds(1));
    while (step(loopDeadline, realDeadline)) {
    }
    clock_->advanceTo(loopDeadline);
}

void RunLoop::runUntilIdle(Seconds limit) {
    adoptCurrentThread();
    const double loopDeadline = now() + limit.count();
    const auto realDeadline =
        realDeadlineAfter(clock_->isVirtual() ? Seconds(kBackgroundWorkWait) : limit + Seconds(1));
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
        std::lock_guard lock(signals_->mutex);
        stopRequested_ = true;
    }
    signals_->wake.notify_all();
}

} // namespace foundation
