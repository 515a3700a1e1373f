#include "tools/pennant/Tool.h"

#include "tools/pennant/Console.h"

#include <cerrno>
#include <cstring>
#include <ostream>

namespace tool {

Tool::Tool(std::vector<std::unique_ptr<Command>> commands) : commands_(std::move(commands)) {}

int Tool::run(std::span<const std::string> arguments, Console& console) const {
    const int status = dispatch(arguments, console);
    // Output that never reached its destination (a full disk, a closed pipe) is a failure even
    // when the command itself succeeded; buffered output only fails when flushed.
    errno = 0;
    console.out.flush();
    if (console.out)
        return status;
    const int reason = errno;
    console.err << "pennant: cannot write the output"
                << (reason ? std::string(": ") + std::strerror(reason) : "") << "\n";
    return status == Command::kSuccess ? Command::kFailure : status;
}

int Tool::dispatch(std::span<const std::string> arguments, Console& console) const {
    if (arguments.empty()) {
        printUsage(console.err);
        return Command::kUsageOrInputError;
    }
    if (arguments[0] == "--help" || arguments[0] == "-h") {
        printUsage(console.out);
        return Command::kSuccess;
    }
    for (const auto& command : commands_)
        if (command->name() == arguments[0])
            return command->run(arguments.subspan(1), console);
    console.err << "pennant: unknown command '" << arguments[0] << "'\n";
    printUsage(console.err);
    return Command::kUsageOrInputError;
}

void Tool::printUsage(std::ostream& out) const {
    out << "usage: pennant <command> [arguments]\n"
           "       pennant <command> --help\n\n"
           "commands:\n";
    for (const auto& command : commands_)
        out << "  " << command->name() << "\t" << command->summary() << "\n";
}

} // namespace tool
