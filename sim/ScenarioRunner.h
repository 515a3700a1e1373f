#pragma once

#include "platform/foundation/Lifetime.h"
#include "platform/graphics/Geometry.h"
#include "sim/Scenario.h"

#include <string>

namespace sim {

class Trace;

// Plays a scenario on the main run loop: each command is a delayed call at its time.
class ScenarioRunner {
public:
    ScenarioRunner(Trace& trace, std::string screenshotDirectory);
    ScenarioRunner(const ScenarioRunner&) = delete;
    ScenarioRunner& operator=(const ScenarioRunner&) = delete;

    void schedule(const Scenario& scenario, double startTime);
    void execute(const ScenarioCommand& command);

private:
    void touch(int phase, double x, double y);
    // Taps the button of the alert or action sheet on top.
    void alertButton(int index);
    // A finger down at the start, moving in even steps, lifting at the end after the time.
    void swipe(graphics::Point from, graphics::Point to, double seconds);
    void screenshot(const std::string& name);
    void dump();
    void webEval(const std::string& script);
    // One key at a time into the first responder, each a short pause after the one before.
    void type(const std::string& text);
    void key(const std::string& name);
    void rotate(int orientation);

    Trace& trace_;
    std::string screenshotDirectory_;
    // Commands still pending when the runner goes are dropped with it.
    foundation::Lifetime lifetime_;
};

} // namespace sim
