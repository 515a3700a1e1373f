#pragma once

#include "tools/pennant/Command.h"

namespace tool {

// `pennant browse [--server http://ADDRESS:PORT] URL [--screenshot FILE]`: one page in a bare
// web view with the client's user agent and host mapping; prints each load event and the
// page's title as its scripts left it, and writes what the view shows.
class BrowseCommand : public Command {
public:
    std::string_view name() const override { return "browse"; }
    std::string_view summary() const override {
        return "show one page in a web view as the client would";
    }
    int run(std::span<const std::string> arguments, Console& console) const override;
};

} // namespace tool
