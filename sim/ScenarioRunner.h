#pragma once

#include "sim/Scenario.h"

#include <string>

namespace sim {

class Trace;

// Plays a scenario on the main run loop: each command is a delayed call at its time.
class ScenarioRunner {
public:
    ScenarioRunner(Trace& trace, std::string screenshotDirectory);
    // Commands still pending are cancelled: they refer to this runner.
    ~ScenarioRunner();
    ScenarioRunner(const ScenarioRunner&) = delete;
    ScenarioRunner& operator=(const ScenarioRunner&) = delete;

    void schedule(const Scenario& scenario, double startTime);
    void execute(const ScenarioCommand& command);

private:
    void touch(int phase, double x, double y);
    void screenshot(const std::string& name);
    void dump();
    void rotate(int orientation);

    Trace& trace_;
    std::string screenshotDirectory_;
};

} // namespace sim
