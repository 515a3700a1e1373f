#pragma once

#include "LoopbackNetwork.h"

#include "platform/foundation/Result.h"

#include <memory>

// The ad client against the ad server on loopback, in a temporary sandbox home on the real
// clock, loading one plain text ad at a time and saying what each cost. Lives inside the
// platform context it was made in.
class LoopbackAdClient {
public:
    // What one ad cost, from request() to the owner's adDidLoad.
    struct Sample {
        double wallSeconds = 0;
        // The main thread's own CPU time: the whole client but for the network and the parse.
        double mainCPUSeconds = 0;
        // The ad's parse worker, which lives as long as the ad; 0 when it cannot be read.
        double parseCPUSeconds = 0;
        // Every thread, the in-process ad server and the transfer thread included.
        double processCPUSeconds = 0;
    };

    LoopbackAdClient();
    ~LoopbackAdClient();
    LoopbackAdClient(const LoopbackAdClient&) = delete;
    LoopbackAdClient& operator=(const LoopbackAdClient&) = delete;

    // Makes the home, starts the server and points the client's host names at it.
    foundation::Status start();
    // Fails when the ad fails or does not load in time.
    foundation::Result<Sample> loadPlainAd();
    // Whether the parse worker's time could be read.
    bool parseTimeIsKnown() const { return parseTimeIsKnown_; }

private:
    struct Host;
    struct Owner;

    LoopbackNetwork network_;
    std::shared_ptr<Host> host_;
    std::shared_ptr<Owner> owner_;
    bool parseTimeIsKnown_ = true;
};
