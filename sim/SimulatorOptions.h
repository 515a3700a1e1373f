#pragma once

#include "platform/foundation/Result.h"

#include <optional>
#include <string>
#include <vector>

namespace sim {

// The simulator's command line.
struct SimulatorOptions {
    std::string home; // empty: a fresh temporary directory
    bool keepHome = false;
    std::string scenario;
    std::string trace; // "-" for stdout
    std::string screenshots;
    std::optional<bool> virtualClock; // default: virtual when headless, real in a window
    std::optional<double> duration;
    std::string bundle; // the application bundle folder; default beside the executable
    struct Endpoint {
        std::string address;
        int port = 0;
    };
    std::optional<Endpoint> adServer; // an ad server to use; none: start one inside
    std::string firstAd;              // the inside server's first ad; empty: the catalogue's
    std::string language = "en";
    std::string locale = "en_US";
    std::string systemVersion = "3.1.2";
    int orientation = 1;
    // Unset options leave the device profile's defaults (the speaker, an identifier).
    std::optional<std::string> audioRoute;       // empty: sound goes nowhere
    std::optional<std::string> uniqueIdentifier; // empty: the device gives none
    // The screen in a desktop window instead of headless.
    bool window = false;
    int scale = 2; // window pixels per screen point
    bool mute = false;
    bool help = false;

    static foundation::Result<SimulatorOptions> parse(const std::vector<std::string>& arguments);
    static std::string usage(const std::string& program);
};

} // namespace sim
