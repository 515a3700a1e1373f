#include "sim/SimulatorOptions.h"

#include "platform/foundation/NumberParser.h"

#include <algorithm>
#include <fmt/format.h>
#include <map>

namespace sim {

namespace {

foundation::Error optionError(const std::string& message) {
    return foundation::Error{"SimulatorOptionsErrorDomain", -1, message};
}

foundation::Result<SimulatorOptions::Endpoint> parseEndpoint(const std::string& text) {
    const auto colon = text.rfind(':');
    if (colon == std::string::npos || colon == 0)
        return optionError("--ad-server takes ADDRESS:PORT, not '" + text + "'");
    auto port = foundation::NumberParser::port(std::string_view(text).substr(colon + 1),
                                               "--ad-server port");
    if (!port)
        return optionError(port.error().message);
    return SimulatorOptions::Endpoint{text.substr(0, colon), port.value()};
}

// The route names the audio session reports; any other word is taken as a route name itself.
std::string audioRouteNamed(const std::string& text) {
    static const std::map<std::string, std::string> kRoutes{
        {"speaker", "Speaker"}, {"headphone", "Headphone"}, {"headset", "Headset"}, {"none", ""}};
    const auto found = kRoutes.find(text);
    return found == kRoutes.end() ? text : found->second;
}

// The identifier travels in a request header: what a header cannot carry is refused here
// rather than silently left out of every request.
foundation::Result<std::string> parseUniqueIdentifier(const std::string& text) {
    const bool visible =
        std::ranges::all_of(text, [](unsigned char c) { return c > ' ' && c < 0x7f; });
    if (!visible)
        return optionError("--udid takes visible ASCII characters only ('' for none)");
    return text;
}

} // namespace

std::string SimulatorOptions::usage(const std::string& program) {
    return fmt::format(
        "usage: {} [options]\n"
        "Runs the application on the simulated phone, headless or in a window.\n\n"
        "  --home DIR            sandbox home (default: a fresh temporary folder, removed at "
        "exit)\n"
        "  --keep-home           keep the temporary sandbox home at exit\n"
        "  --scenario FILE       timed input script, one 'at <seconds> <command> [args]' per line\n"
        "  --trace FILE          JSON Lines trace of what the app does ('-' for stdout)\n"
        "  --screenshots DIR     where 'screenshot' commands write PNG files (default: .)\n"
        "  --clock virtual|real  time source (default: virtual, real in a window)\n"
        "  --duration SECONDS    stop after this much simulated time (default: end of scenario)\n"
        "  --bundle DIR          the application bundle (default: Kessa.app beside the program)\n"
        "  --ad-server ADDR:PORT the ad network to talk to (default: one started inside, on\n"
        "                        a free loopback port, with the bundled catalogue)\n"
        "  --first-ad ID         the catalogue ad the inside ad server starts its rotation with\n"
        "  --language CODE       device language (default: en)\n"
        "  --locale ID           device locale (default: en_US)\n"
        "  --system-version V    device system version (default: 3.1.2)\n"
        "  --orientation 1-4     device orientation (1 portrait, 2 upside down, 3/4 landscape)\n"
        "  --audio-route ROUTE   where sound goes: speaker (default), headphone, headset, none,\n"
        "                        or any other name, reported as given\n"
        "  --udid ID             the device's unique identifier ('' for a device that gives none)\n"
        "  --window              show the screen in a window (needs a display); mouse touches,\n"
        "                        arrows/space shake (shift: gently), R rotates, S screenshots,\n"
        "                        Q quits; runs until quit unless --duration is given\n"
        "  --scale 1|2|3         window pixels per screen point (default: 2)\n"
        "  --mute                no sound from the window\n"
        "  --help                this text\n\n"
        "Scenario commands: shake X Y Z | tap X Y | down X Y | move X Y | up X Y |\n"
        "  screenshot NAME.png | dump | rotate 1-4 | background | foreground | quit |\n"
        "  location LAT LON ACCURACY [AGE-SECONDS] | location-denied |\n"
        "  alert-button N (taps button N of the alert or action sheet on top) |\n"
        "  web-eval SCRIPT (rest of the line, run in the web view that last started loading) |\n"
        "  type TEXT (rest of the line, typed into the text field being edited one key at a\n"
        "  time, 0.1 s apart) | key return|backspace|cancel\n",
        program);
}

foundation::Result<SimulatorOptions> SimulatorOptions::parse(const std::vector<std::string>& args) {
    SimulatorOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        auto value = [&]() -> std::optional<std::string> {
            if (i + 1 >= args.size())
                return std::nullopt;
            return args[++i];
        };
        if (option == "--help" || option == "-h") {
            options.help = true;
            continue;
        }
        bool* const flag = option == "--keep-home" ? &options.keepHome
                           : option == "--window"  ? &options.window
                           : option == "--mute"    ? &options.mute
                                                   : nullptr;
        if (flag) {
            *flag = true;
            continue;
        }
        auto text = value();
        if (!text)
            return optionError(option.starts_with("--") ? "option " + option + " needs a value"
                                                        : "unexpected argument '" + option + "'");
        if (option == "--home")
            options.home = *text;
        else if (option == "--scenario")
            options.scenario = *text;
        else if (option == "--trace")
            options.trace = *text;
        else if (option == "--screenshots")
            options.screenshots = *text;
        else if (option == "--bundle")
            options.bundle = *text;
        else if (option == "--ad-server") {
            auto endpoint = parseEndpoint(*text);
            if (!endpoint)
                return endpoint.error();
            options.adServer = endpoint.value();
        } else if (option == "--first-ad")
            options.firstAd = *text;
        else if (option == "--language")
            options.language = *text;
        else if (option == "--locale")
            options.locale = *text;
        else if (option == "--system-version")
            options.systemVersion = *text;
        else if (option == "--clock") {
            if (*text != "virtual" && *text != "real")
                return optionError("--clock takes 'virtual' or 'real'");
            options.virtualClock = *text == "virtual";
        } else if (option == "--duration") {
            auto seconds = foundation::NumberParser::finiteNumber(*text, "--duration", 0);
            if (!seconds)
                return optionError(seconds.error().message);
            options.duration = seconds.value();
        } else if (option == "--orientation") {
            auto number = foundation::NumberParser::integer(*text, "--orientation", 1, 4);
            if (!number)
                return optionError(number.error().message);
            options.orientation = static_cast<int>(number.value());
        } else if (option == "--scale") {
            auto number = foundation::NumberParser::integer(*text, "--scale", 1, 3);
            if (!number)
                return optionError(number.error().message);
            options.scale = static_cast<int>(number.value());
        } else if (option == "--audio-route") {
            options.audioRoute = audioRouteNamed(*text);
        } else if (option == "--udid") {
            auto identifier = parseUniqueIdentifier(*text);
            if (!identifier)
                return identifier.error();
            options.uniqueIdentifier = identifier.value();
        } else {
            return optionError("unknown option '" + option + "'");
        }
    }
    if (options.adServer && !options.firstAd.empty())
        return optionError("--first-ad chooses for the ad server started inside; with "
                           "--ad-server, start that one with --first-ad instead");
    return options;
}

} // namespace sim
