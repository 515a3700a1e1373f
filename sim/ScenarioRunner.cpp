#include "sim/ScenarioRunner.h"

#include "platform/foundation/FileManager.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/graphics/Image.h"
#include "platform/location/LocationService.h"
#include "platform/ui/Accelerometer.h"
#include "platform/ui/Application.h"
#include "platform/ui/Compositor.h"
#include "platform/ui/Device.h"
#include "platform/ui/Touch.h"
#include "platform/web/WebContext.h"
#include "platform/web/WebView.h"
#include "sim/Trace.h"
#include "sim/ViewTreeDump.h"
#include "sim/WebTrace.h"

#include <filesystem>

namespace sim {

ScenarioRunner::ScenarioRunner(Trace& trace, std::string screenshotDirectory)
    : trace_(trace), screenshotDirectory_(std::move(screenshotDirectory)) {}

void ScenarioRunner::schedule(const Scenario& scenario, double startTime) {
    auto& loop = foundation::RunLoop::main();
    for (const auto& command : scenario.commands()) {
        const double delay = startTime + command.time - loop.now();
        loop.postAfter(foundation::Seconds(delay), lifetime_.handle(),
                       [this, command] { execute(command); });
    }
}

void ScenarioRunner::execute(const ScenarioCommand& c) {
    auto& application = ui::Application::shared();
    const auto& n = c.numbers;
    if (c.name == "shake") {
        ui::Accelerometer::shared().deliver({n[0], n[1], n[2], foundation::RunLoop::main().now()});
    } else if (c.name == "tap") {
        touch(int(ui::Touch::Phase::Began), n[0], n[1]);
        touch(int(ui::Touch::Phase::Ended), n[0], n[1]);
    } else if (c.name == "down") {
        touch(int(ui::Touch::Phase::Began), n[0], n[1]);
    } else if (c.name == "move") {
        touch(int(ui::Touch::Phase::Moved), n[0], n[1]);
    } else if (c.name == "up") {
        touch(int(ui::Touch::Phase::Ended), n[0], n[1]);
    } else if (c.name == "screenshot") {
        screenshot(c.text);
    } else if (c.name == "dump") {
        dump();
    } else if (c.name == "rotate") {
        rotate(int(n[0]));
    } else if (c.name == "background") {
        application.resignActive();
    } else if (c.name == "foreground") {
        application.becomeActive();
    } else if (c.name == "location") {
        const double age = n.size() > 3 ? n[3] : 0;
        location::LocationService::shared().deliverFix(location::Location(
            {n[0], n[1]}, n[2], foundation::Date(foundation::RunLoop::main().now() - age)));
    } else if (c.name == "location-denied") {
        location::LocationService::shared().denyAuthorization();
    } else if (c.name == "web-eval") {
        webEval(c.text);
    } else if (c.name == "quit") {
        foundation::RunLoop::main().stop();
    }
}

// Runs in the view that last started loading; with no view the result is empty.
void ScenarioRunner::webEval(const std::string& script) {
    const auto view = web::WebContext::shared().latestView();
    const std::string result = view ? view->stringByEvaluatingJavaScriptFromString(script) : "";
    trace_.record("web", WebTrace::evaluation(script, result));
}

void ScenarioRunner::touch(int phase, double x, double y) {
    ui::Application::shared().sendTouch(phase, {float(x), float(y)},
                                        foundation::RunLoop::main().now());
}

void ScenarioRunner::screenshot(const std::string& name) {
    // Only the file name counts: a scenario cannot write outside the screenshot folder.
    std::string file = std::filesystem::path(name).filename().string();
    if (file.empty() || file == "." || file == "..")
        file = "screenshot.png";
    const std::string path = (std::filesystem::path(screenshotDirectory_) / file).string();
    if (auto made = foundation::FileManager::createDirectory(screenshotDirectory_); !made) {
        foundation::log("screenshot {} failed: {}", path, made.error().message);
        return;
    }
    auto image = ui::Compositor::renderScreen();
    auto written =
        image
            ? foundation::FileManager::writeAtomically(path, image->pngData())
            : foundation::Status(foundation::Error{"SimulatorErrorDomain", -1, "nothing rendered"});
    if (!written) {
        foundation::log("screenshot {} failed: {}", path, written.error().message);
        trace_.record("screenshot-failed", {{"path", path}});
        return;
    }
    trace_.record("screenshot", {{"path", path}});
}

void ScenarioRunner::dump() {
    trace_.record("view-tree", ViewTreeDump::screen(ui::Application::shared()));
}

void ScenarioRunner::rotate(int orientation) {
    ui::Device::current().setOrientation(orientation);
    foundation::log("device orientation changed to {}", orientation);
}

} // namespace sim
