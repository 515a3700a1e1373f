#include "tools/pennant/FetchCommand.h"

#include "ads/request/URLDownload.h"
#include "platform/foundation/DeviceProfile.h"
#include "platform/foundation/Dictionary.h"
#include "platform/foundation/NumberParser.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Sandbox.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/net/HostMap.h"
#include "tools/pennant/Console.h"

#include <ostream>

namespace tool {

namespace {
// Longer than the download's own time-out, so the download always reports first unless the
// server keeps it alive by trickling bytes.
constexpr foundation::Seconds kDefaultWait{60};
constexpr double kShortestWait = 0.1;
constexpr double kLongestWait = 3600;

foundation::Error usageError(const std::string& message) {
    return foundation::Error{"PennantToolErrorDomain", Command::kUsageOrInputError, message};
}

void printFailure(std::ostream& out, const foundation::Error& error) {
    out << "error " << error.domain << " " << error.code << "\n";
}
} // namespace

int FetchCommand::run(std::span<const std::string> arguments, Console& console) const {
    std::string url, home, postBody;
    bool hasBody = false;
    foundation::Seconds wait = kDefaultWait;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        foundation::Status accepted = foundation::success();
        if (argument == "--help" || argument == "-h") {
            printUsage(console.out);
            return kSuccess;
        } else if (argument == "--post-body" && hasValue) {
            postBody = arguments[++i];
            hasBody = true;
        } else if (argument == "--home" && hasValue) {
            home = arguments[++i];
        } else if (argument == "--map" && hasValue) {
            accepted = applyMapping(arguments[++i]);
        } else if (argument == "--wait" && hasValue) {
            accepted = parseWait(arguments[++i], wait);
        } else if (url.empty() && !argument.starts_with("--")) {
            url = argument;
        } else {
            printUsage(console.err);
            return kUsageOrInputError;
        }
        if (!accepted) {
            console.err << "pennant: " << accepted.error().message << "\n";
            return kUsageOrInputError;
        }
    }
    if (url.empty()) {
        printUsage(console.err);
        return kUsageOrInputError;
    }
    prepareDevice(home);
    return download(url, hasBody ? &postBody : nullptr, wait, console);
}

foundation::Status FetchCommand::applyMapping(const std::string& mapping) {
    const auto equals = mapping.find('=');
    const auto colon = mapping.rfind(':');
    if (equals == std::string::npos || equals == 0 || colon == std::string::npos ||
        colon < equals + 2)
        return usageError("--map takes HOST=ADDRESS:PORT, not '" + mapping + "'");
    const auto port =
        foundation::NumberParser::port(std::string_view(mapping).substr(colon + 1), "--map port");
    if (!port)
        return usageError(port.error().message);
    net::HostMap::shared().map(mapping.substr(0, equals),
                               mapping.substr(equals + 1, colon - equals - 1), port.value());
    return foundation::success();
}

foundation::Status FetchCommand::parseWait(const std::string& text, foundation::Seconds& wait) {
    const auto seconds =
        foundation::NumberParser::finiteNumber(text, "--wait", kShortestWait, kLongestWait);
    if (!seconds)
        return usageError(seconds.error().message);
    wait = foundation::Seconds(seconds.value());
    return foundation::success();
}

// The device facts the user agent is built from: the profile's locale as the global default,
// and the sandbox home when one is given (it decides the jailbreak marker).
void FetchCommand::prepareDevice(const std::string& home) {
    const auto& profile = foundation::DeviceProfile::current();
    std::string preferences;
    if (!home.empty() && foundation::Sandbox::current().setHome(home))
        preferences =
            foundation::Sandbox::current().pathFor(foundation::Sandbox::Directory::Preferences) +
            "/defaults.plist";
    foundation::UserDefaults::standard().load(
        preferences,
        foundation::Dictionary{
            {"AppleLocale", profile.locale},
            {"AppleLanguages", foundation::Value::Array{foundation::Value(profile.language)}},
        });
}

int FetchCommand::download(const std::string& url, const std::string* postBody,
                           foundation::Seconds wait, Console& console) {
    bool done = false;
    auto download = pennant::URLDownload::create();
    download->setSuccessCallback([&](pennant::URLDownload& finished) {
        done = true;
        const auto& reached = finished.redirectFreeURL();
        console.out << "ok " << finished.statusCode() << " " << finished.data().size() << " "
                    << (reached ? reached->absoluteString() : finished.targetURL()) << "\n";
    });
    download->setFailureCallback([&](pennant::URLDownload& failed) {
        done = true;
        printFailure(console.out, *failed.error());
    });
    std::optional<foundation::Data> body;
    if (postBody)
        body = foundation::Data::fromString(*postBody);
    download->loadContentsOfURLAtString(url, std::move(body));
    foundation::RunLoop::main().runUntil([&] { return done; }, wait);
    if (!done) {
        // A server that trickles bytes defeats the download's idle time-out; giving up is a
        // failed connection, as that time-out would have reported it.
        download->cancel();
        printFailure(
            console.out,
            {pennant::URLDownload::kErrorDomain, pennant::URLDownload::kConnectionFailed, {}});
        return kFailure;
    }
    return download->error() ? kFailure : kSuccess;
}

void FetchCommand::printUsage(std::ostream& out) {
    out << "usage: pennant fetch [--post-body TEXT] [--home DIR] [--map HOST=ADDRESS:PORT]...\n"
           "                     [--wait SECONDS] URL\n\n"
           "Downloads URL once, as the ad client does (its user agent and device header, a\n"
           "15-second time-out, redirects followed), and prints one line:\n"
           "  ok <status> <bytes> <redirect-free-url>    or    error <domain> <code>\n\n"
           "  --post-body TEXT  send TEXT as the body of a POST\n"
           "  --home DIR        sandbox home of the simulated device\n"
           "  --map H=A:P       connect to A:P whenever a URL names host H (repeatable)\n"
           "  --wait SECONDS    give up after SECONDS in all (default 60), reporting a failed\n"
           "                    connection; a server trickling bytes never hits the time-out\n\n"
           "exit status: 0 downloaded, 1 failed, 2 usage error.\n";
}

} // namespace tool
