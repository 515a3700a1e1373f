#pragma once

#include "adserver/AdServer.h"
#include "platform/foundation/Result.h"

#include <filesystem>
#include <string>

// What every benchmark against the ad network needs: a fresh sandbox home of its own and the
// ad server on loopback with the client's host names pointed at it. Both go with the object.
class LoopbackNetwork {
public:
    // The home is a temporary folder named after the benchmark and the process.
    explicit LoopbackNetwork(const std::string& name);
    ~LoopbackNetwork();
    LoopbackNetwork(const LoopbackNetwork&) = delete;
    LoopbackNetwork& operator=(const LoopbackNetwork&) = delete;

    foundation::Status start();
    adserver::AdServer& server() { return server_; }

private:
    std::filesystem::path home_;
    adserver::AdServer server_;
};
