#include "sim/ScenarioRunner.h"

#include "platform/foundation/FileManager.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/graphics/Image.h"
#include "platform/location/LocationService.h"
#include "platform/ui/Accelerometer.h"
#include "platform/ui/AlertStack.h"
#include "platform/ui/Application.h"
#include "platform/ui/Compositor.h"
#include "platform/ui/Device.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/ModalView.h"
#include "platform/ui/Touch.h"
#include "platform/web/WebContext.h"
#include "platform/web/WebView.h"
#include "sim/Trace.h"
#include "sim/ViewTreeDump.h"
#include "sim/WebTrace.h"

#include <algorithm>
#include <cmath>
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
    } else if (c.name == "swipe") {
        swipe({float(n[0]), float(n[1])}, {float(n[2]), float(n[3])}, n[4]);
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
    } else if (c.name == "alert-button") {
        alertButton(int(n[0]));
    } else if (c.name == "web-eval") {
        webEval(c.text);
    } else if (c.name == "type") {
        type(c.text);
    } else if (c.name == "key") {
        key(c.text);
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

namespace {
// The UTF-8 text split into its characters.
std::vector<std::string> characters(const std::string& text) {
    std::vector<std::string> out;
    for (unsigned char byte : text) {
        if (out.empty() || (byte & 0xC0) != 0x80)
            out.emplace_back();
        out.back() += char(byte);
    }
    return out;
}

void typeKey(const std::string& character) {
    if (!ui::Keyboard::shared().typeText(character))
        foundation::log("type '{}': no text field is taking keys", character);
}
} // namespace

void ScenarioRunner::type(const std::string& text) {
    // About as fast as a quick thumb.
    constexpr double kKeyPauseSeconds = 0.1;
    const auto keys = characters(text);
    auto& loop = foundation::RunLoop::main();
    for (std::size_t i = 0; i < keys.size(); ++i)
        loop.postAfter(foundation::Seconds(kKeyPauseSeconds * double(i)), lifetime_.handle(),
                       [character = keys[i]] { typeKey(character); });
}

void ScenarioRunner::key(const std::string& name) {
    const auto pressed = name == "return"      ? ui::KeyboardKey::Return
                         : name == "backspace" ? ui::KeyboardKey::Backspace
                                               : ui::KeyboardKey::Cancel;
    if (!ui::Keyboard::shared().pressKey(pressed))
        foundation::log("key {}: no text field is taking keys", name);
}

void ScenarioRunner::touch(int phase, double x, double y) {
    ui::Application::shared().sendTouch(phase, {float(x), float(y)},
                                        foundation::RunLoop::main().now());
}

void ScenarioRunner::alertButton(int index) {
    auto top = ui::AlertStack::shared().top();
    if (!top || index >= top->numberOfButtons()) {
        foundation::log("alert-button {}: no such button on screen", index);
        return;
    }
    // A real tap, so the alert hears it as it would a finger.
    const graphics::Rect button = top->rectForButton(index);
    const graphics::Point point = top->convertPointToView({button.midX(), button.midY()}, nullptr);
    touch(int(ui::Touch::Phase::Began), point.x, point.y);
    touch(int(ui::Touch::Phase::Ended), point.x, point.y);
}

void ScenarioRunner::swipe(graphics::Point from, graphics::Point to, double seconds) {
    // About sixty moves a second, as a finger reports them, but never more than a few hundred
    // however long the swipe.
    constexpr double kStepSeconds = 1.0 / 60;
    constexpr int kMostSteps = 600;
    const int steps = std::clamp(int(std::ceil(seconds / kStepSeconds)), 1, kMostSteps);
    touch(int(ui::Touch::Phase::Began), from.x, from.y);
    auto& loop = foundation::RunLoop::main();
    for (int step = 1; step <= steps; ++step) {
        const double fraction = double(step) / steps;
        const double x = from.x + (to.x - from.x) * fraction;
        const double y = from.y + (to.y - from.y) * fraction;
        loop.postAfter(foundation::Seconds(seconds * fraction), lifetime_.handle(),
                       [this, x, y, last = step == steps] {
                           touch(int(ui::Touch::Phase::Moved), x, y);
                           if (last)
                               touch(int(ui::Touch::Phase::Ended), x, y);
                       });
    }
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
    ui::Application::shared().deviceOrientationDidChange(orientation);
}

} // namespace sim
