#pragma once

#include "platform/foundation/Log.h"
#include "platform/foundation/Timer.h"
#include "platform/ui/InterfaceLoader.h"
#include "sim/AlertTrace.h"
#include "sim/Scenario.h"
#include "sim/ScenarioRunner.h"
#include "sim/SimulatorOptions.h"
#include "sim/Trace.h"

#include <memory>
#include <optional>
#include <string>

namespace adserver {
class AdServer;
}

namespace sim {

class TemporaryHome;
class WindowFrontEnd;
class XServer;

// One simulated run: prepares the sandbox, device, bundle and trace, launches the application
// from its interface description, plays the scenario and cleans up.
class Simulator {
public:
    explicit Simulator(SimulatorOptions options);
    ~Simulator();

    // The process exit status: 0 when the run completed, 2 for bad input, 1 for failures.
    int run();

private:
    bool prepare();
    bool prepareHome();
    bool connectAdNetwork();
    void configureDevice();
    bool loadBundle();
    void observePlatform();
    bool launch();
    bool openWindow();
    void printSummary() const;

    SimulatorOptions options_;
    Scenario scenario_;
    Trace trace_;
    ScenarioRunner runner_;
    ui::InterfaceLoader::Loaded interface_;
    std::string home_;
    std::unique_ptr<TemporaryHome> temporaryHome_;
    foundation::Subscription logSink_;
    foundation::Subscription soundObserver_;
    foundation::Subscription httpObserver_;
    std::optional<AlertTrace> alertTrace_;
    foundation::Subscription webObserver_;
    foundation::Subscription windowObserver_;
    foundation::Subscription contactObserver_;
    foundation::Subscription videoObserver_;
    std::unique_ptr<adserver::AdServer> adServer_;
    std::unique_ptr<XServer> xServer_;
    foundation::Timer endOfRun_;
    std::unique_ptr<WindowFrontEnd> window_;
};

} // namespace sim
