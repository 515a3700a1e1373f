#include "platform/ui/ApplicationMain.h"

#include "platform/foundation/PlatformContext.h"
#include "sim/Simulator.h"
#include "sim/SimulatorOptions.h"

#include <filesystem>
#include <fmt/format.h>

namespace ui {

int ApplicationMain(int argc, char** argv) {
    const std::string program =
        argc > 0 ? std::filesystem::path(argv[0]).filename().string() : "app";
    auto options = sim::SimulatorOptions::parse(
        std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc));
    if (!options) {
        fmt::print(stderr, "{}: {}\n{}", program, options.error().message,
                   sim::SimulatorOptions::usage(program));
        return 2;
    }
    if (options.value().help) {
        fmt::print("{}", sim::SimulatorOptions::usage(program));
        return 0;
    }
    // Everything the run creates is torn down with it, before the process exits.
    foundation::PlatformContext context;
    return sim::Simulator(std::move(options.value())).run();
}

} // namespace ui
