#pragma once

namespace sim {

class HTTPTrace;
class Scenario;
struct ScenarioCommand;
class ScenarioRunner;
class Simulator;
struct SimulatorOptions;
class TemporaryHome;
class Trace;
class ViewTreeDump;

} // namespace sim
