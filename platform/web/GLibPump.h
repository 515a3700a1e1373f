#pragma once

#ifndef INSIDE_PLATFORM_WEB
#error "GLibPump.h belongs to the WebKitGTK backend: include it only from platform/web"
#endif

#include "platform/foundation/Forward.h"

#include <poll.h>

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace foundation {
class RunLoop;
}

namespace web {

// Runs GLib's default main context from our run loop, so WebKit's and GTK's callbacks arrive
// on our main thread between our own work. A watcher thread waits on the descriptors and
// time-out GLib asks for and posts a pump to the main loop when one of them is due; the main
// thread alone dispatches.
class GLibPump {
public:
    static GLibPump& shared();
    ~GLibPump();
    GLibPump(const GLibPump&) = delete;
    GLibPump& operator=(const GLibPump&) = delete;

    // Main thread: dispatches what is ready, then watches for what comes next. Call it after
    // handing WebKit work, which may have changed what GLib waits for.
    void pump();
    // Main thread: dispatches GLib until done() holds or the real-time bound passes, for the
    // few calls that must answer synchronously. False on time-out.
    bool pumpUntil(const std::function<bool()>& done, foundation::Seconds bound);

private:
    friend class foundation::Singleton<GLibPump>;
    GLibPump();

    void arm();
    void watch();
    // Blocks until GLib's descriptors or time-out are due, or a new arming or stop arrives.
    bool waitForGLib(std::vector<pollfd> descriptors, int timeoutMilliseconds);
    void kick();

    foundation::RunLoop& loop_;
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
    int kick_ = -1;
    std::mutex mutex_;
    std::condition_variable armed_;
    std::vector<pollfd> descriptors_;
    int timeoutMilliseconds_ = -1;
    std::uint64_t generation_ = 0;
    bool stopping_ = false;
    std::thread thread_;
};

} // namespace web
