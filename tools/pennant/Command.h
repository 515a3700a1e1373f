#pragma once

#include <span>
#include <string>
#include <string_view>

namespace tool {

struct Console;

// One subcommand: `pennant <name> ...`.
class Command {
public:
    // Exit statuses shared by every subcommand.
    static constexpr int kSuccess = 0;
    static constexpr int kFailure = 1;
    static constexpr int kUsageOrInputError = 2;

    virtual ~Command() = default;
    virtual std::string_view name() const = 0;
    virtual std::string_view summary() const = 0;
    // `arguments` are those after the subcommand's name; returns the exit status.
    virtual int run(std::span<const std::string> arguments, Console& console) const = 0;
};

} // namespace tool
