#include "platform/web/GLibPump.h"

#include "platform/foundation/Assertions.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Singleton.h"

#include <glib.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>

namespace web {

namespace {

// One pump dispatches at most this many ready sources, so a busy page cannot starve our own
// timers and posted work; what is left is due at once and pumped again.
constexpr int kMaxDispatchesPerPump = 64;

std::vector<pollfd> queryDescriptors(GMainContext* context, int& timeoutMilliseconds) {
    gint priority = 0;
    g_main_context_prepare(context, &priority);
    std::vector<GPollFD> query(16);
    gint count = 0;
    while ((count = g_main_context_query(context, priority, &timeoutMilliseconds, query.data(),
                                         static_cast<gint>(query.size()))) >
           static_cast<gint>(query.size()))
        query.resize(static_cast<std::size_t>(count));
    std::vector<pollfd> descriptors;
    for (gint i = 0; i < count; ++i)
        descriptors.push_back({query[i].fd, static_cast<short>(query[i].events), 0});
    return descriptors;
}

} // namespace

GLibPump& GLibPump::shared() { return foundation::Singleton<GLibPump>::shared(); }

GLibPump::GLibPump()
    : loop_(foundation::RunLoop::main()), kick_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)),
      thread_([this] { watch(); }) {}

GLibPump::~GLibPump() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    armed_.notify_all();
    kick();
    thread_.join();
    ::close(kick_);
}

void GLibPump::kick() {
    const std::uint64_t one = 1;
    (void)!::write(kick_, &one, sizeof one);
}

void GLibPump::pump() {
    foundation::assertIsMainThread();
    for (int i = 0; i < kMaxDispatchesPerPump && g_main_context_iteration(nullptr, FALSE); ++i) {
    }
    arm();
}

bool GLibPump::pumpUntil(const std::function<bool()>& done, foundation::Seconds bound) {
    foundation::assertIsMainThread();
    bool expired = false;
    const auto milliseconds =
        static_cast<guint>(std::chrono::duration_cast<std::chrono::milliseconds>(bound).count());
    const guint deadline = g_timeout_add(
        milliseconds,
        [](gpointer flag) {
            *static_cast<bool*>(flag) = true;
            return G_SOURCE_REMOVE;
        },
        &expired);
    while (!done() && !expired)
        g_main_context_iteration(nullptr, TRUE);
    if (!expired)
        g_source_remove(deadline);
    arm();
    return done();
}

void GLibPump::arm() {
    GMainContext* context = g_main_context_default();
    if (!g_main_context_acquire(context))
        return;
    int timeout = -1;
    auto descriptors = queryDescriptors(context, timeout);
    g_main_context_release(context);
    {
        std::lock_guard lock(mutex_);
        descriptors_ = std::move(descriptors);
        timeoutMilliseconds_ = timeout;
        ++generation_;
    }
    armed_.notify_all();
    kick();
}

void GLibPump::watch() {
    std::uint64_t seen = 0;
    bool again = false;
    for (;;) {
        std::vector<pollfd> descriptors;
        int timeout = -1;
        {
            std::unique_lock lock(mutex_);
            armed_.wait(lock, [&] { return stopping_ || again || generation_ != seen; });
            if (stopping_)
                return;
            seen = generation_;
            descriptors = descriptors_;
            timeout = timeoutMilliseconds_;
        }
        const bool due = waitForGLib(std::move(descriptors), timeout);
        std::lock_guard lock(mutex_);
        // A newer arming replaces this one: watch that instead.
        again = !due && generation_ == seen;
        if (due && generation_ == seen && !stopping_)
            loop_.post(alive_, [this] { pump(); });
    }
}

bool GLibPump::waitForGLib(std::vector<pollfd> descriptors, int timeoutMilliseconds) {
    descriptors.push_back({kick_, POLLIN, 0});
    int ready = 0;
    do
        ready = ::poll(descriptors.data(), descriptors.size(), timeoutMilliseconds);
    while (ready < 0 && errno == EINTR);
    if (descriptors.back().revents != 0) {
        std::uint64_t count = 0;
        (void)!::read(kick_, &count, sizeof count);
        // Only GLib's own descriptors say there is work; a kick alone means "look again".
        return ready > 1;
    }
    return true;
}

} // namespace web
