#pragma once

#include "platform/foundation/Result.h"

#include <string>
#include <sys/types.h>

// The ad server program (pennant-adserver, beside this one) in a process of its own, so that
// what the server allocates never counts in the measured process's memory. Stopped with
// SIGTERM when this object goes.
class AdServerProcess {
public:
    AdServerProcess() = default;
    ~AdServerProcess();
    AdServerProcess(const AdServerProcess&) = delete;
    AdServerProcess& operator=(const AdServerProcess&) = delete;

    // Starts the server on the catalogue and waits for the port it listens on.
    foundation::Status start(const std::string& catalogDirectory);
    int port() const { return port_; }

private:
    foundation::Status readPort(int output);

    pid_t pid_ = -1;
    int port_ = 0;
};
