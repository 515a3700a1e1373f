#pragma once

#include "platform/foundation/Result.h"

#include <string>
#include <string_view>
#include <vector>

namespace sim {

// One timed input of a scenario: "at <seconds> <command> [args]".
struct ScenarioCommand {
    double time = 0;
    std::string name;
    std::vector<double> numbers;
    std::string text;
    int line = 0;
};

// A scenario script: one command per line, '#' starts a comment. Commands run in time order,
// lines with equal times in file order. Any malformed line fails the whole script.
class Scenario {
public:
    static foundation::Result<Scenario> parse(std::string_view text);
    static foundation::Result<Scenario> load(const std::string& path);

    const std::vector<ScenarioCommand>& commands() const { return commands_; }
    double endTime() const { return commands_.empty() ? 0 : commands_.back().time; }

private:
    std::vector<ScenarioCommand> commands_;
};

} // namespace sim
