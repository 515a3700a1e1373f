#pragma once

#include <memory>
#include <sys/types.h>

namespace sim {

// A private X server (Xvfb) for the web views of a run without a display: started on the
// first free display number, named in DISPLAY for the process, stopped with this object.
class XServer {
public:
    // nullptr when a display is already set, or when Xvfb cannot be started.
    static std::unique_ptr<XServer> startIfNeeded();
    ~XServer();
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

private:
    explicit XServer(pid_t process) : process_(process) {}

    pid_t process_;
};

} // namespace sim
