#include "adserver/AdServer.h"
#include "platform/foundation/NumberParser.h"

#include <csignal>
#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>

namespace {

constexpr int kUsageError = 2;

void printUsage(std::ostream& out) {
    out << "usage: pennant-adserver [--host ADDRESS] [--port PORT] [--catalog DIR] [--first-ad "
           "ID]\n\n"
           "Plays the ad network for the simulator and the tests. Binds to 127.0.0.1 and an\n"
           "ephemeral port unless told otherwise, prints 'listening on http://HOST:PORT' as its\n"
           "first line and serves until SIGINT or SIGTERM.\n\n"
           "  --host ADDRESS  address to bind (default 127.0.0.1)\n"
           "  --port PORT     port to bind, 0 for any free one (default 0)\n"
           "  --catalog DIR   catalogue folder (default: the one shipped with the server)\n"
           "  --first-ad ID   the catalogue ad the rotation starts with (default: the first)\n";
}

// Fills the options from the arguments; false on a usage error.
bool parseArguments(int argc, char** argv, adserver::AdServer::Options& options, bool& help) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            help = true;
            return true;
        }
        if (i + 1 >= argc)
            return false;
        const std::string value = argv[++i];
        if (argument == "--host") {
            options.host = value;
        } else if (argument == "--catalog") {
            options.catalogDirectory = value;
        } else if (argument == "--first-ad") {
            options.firstAd = value;
        } else if (argument == "--port") {
            // 0 asks for a free port.
            auto port = foundation::NumberParser::integer(value, "--port", 0, 65535);
            if (!port) {
                std::cerr << "pennant-adserver: " << port.error().message << "\n";
                return false;
            }
            options.port = static_cast<int>(port.value());
        } else {
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    adserver::AdServer::Options options;
    bool help = false;
    if (!parseArguments(argc, argv, options, help)) {
        printUsage(std::cerr);
        return kUsageError;
    }
    if (help) {
        printUsage(std::cout);
        return 0;
    }
    // Blocked before any thread starts, so only sigwait below ever sees them.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    adserver::AdServer server(options);
    if (const auto started = server.start(); !started) {
        std::cerr << "pennant-adserver: " << started.error().message << "\n";
        return 1;
    }
    std::cout << "listening on " << server.baseURL() << std::endl;
    int received = 0;
    sigwait(&signals, &received);
    server.stop();
    return 0;
}
