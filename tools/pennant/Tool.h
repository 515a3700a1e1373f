#pragma once

#include "tools/pennant/Command.h"

#include <memory>
#include <span>
#include <string>
#include <vector>

namespace tool {

// Dispatches `pennant <command> ...` to the command of that name.
class Tool {
public:
    explicit Tool(std::vector<std::unique_ptr<Command>> commands);

    // The command's exit status, or a failure when its output could not be written.
    int run(std::span<const std::string> arguments, Console& console) const;

private:
    int dispatch(std::span<const std::string> arguments, Console& console) const;
    void printUsage(std::ostream& out) const;

    std::vector<std::unique_ptr<Command>> commands_;
};

} // namespace tool
