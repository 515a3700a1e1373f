#pragma once

namespace sim {

class Scenario;
struct ScenarioCommand;
class ScenarioRunner;
class Simulator;
struct SimulatorOptions;
class Trace;
class ViewTreeDump;

} // namespace sim
