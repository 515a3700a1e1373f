#pragma once

namespace sim {

class HTTPTrace;
class Scenario;
struct ScenarioCommand;
class ScenarioRunner;
class Simulator;
struct SimulatorOptions;
class SoundMixer;
class SoundPlayer;
class TemporaryHome;
class Trace;
class ViewTreeDump;
class WindowFrontEnd;

} // namespace sim
