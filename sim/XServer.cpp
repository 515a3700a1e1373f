#include "sim/XServer.h"

#include <fmt/format.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <string>

namespace sim {

namespace {

constexpr auto kStartBound = std::chrono::seconds(10);

// The server picks a free display itself and writes its number to the pipe once it is
// ready: choosing one here would race with other runs starting at the same moment.
pid_t spawn(int displayWriteEnd) {
    const pid_t parent = ::getpid();
    const pid_t child = ::fork();
    if (child == 0) {
        // The server goes with the run, however the run ends.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent)
            ::_exit(0);
        const std::string fd = std::to_string(displayWriteEnd);
        ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24",
                 "-nolisten", "tcp", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    return child;
}

// The display number the server wrote; nullopt when it died, wrote nothing or took too long.
std::optional<int> readDisplay(int readEnd) {
    std::string text;
    const auto giveUp = std::chrono::steady_clock::now() + kStartBound;
    while (text.find('\n') == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            giveUp - std::chrono::steady_clock::now());
        pollfd ready{readEnd, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&ready, 1, static_cast<int>(left.count())) <= 0)
            return std::nullopt;
        char buffer[32];
        const auto got = ::read(readEnd, buffer, sizeof buffer);
        if (got <= 0)
            return std::nullopt;
        text.append(buffer, static_cast<std::size_t>(got));
    }
    const int display = std::atoi(text.c_str());
    return text[0] >= '0' && text[0] <= '9' ? std::optional(display) : std::nullopt;
}

} // namespace

std::unique_ptr<XServer> XServer::startIfNeeded() {
    if (const char* display = std::getenv("DISPLAY"); display && *display)
        return nullptr;
    int ends[2];
    if (::pipe(ends) != 0)
        return nullptr;
    const pid_t process = spawn(ends[1]);
    ::close(ends[1]);
    if (process <= 0) {
        ::close(ends[0]);
        return nullptr;
    }
    std::unique_ptr<XServer> server(new XServer(process));
    const auto display = readDisplay(ends[0]);
    ::close(ends[0]);
    if (!display)
        return nullptr;
    ::setenv("DISPLAY", fmt::format(":{}", *display).c_str(), 1);
    return server;
}

XServer::~XServer() {
    ::kill(process_, SIGTERM);
    int status = 0;
    ::waitpid(process_, &status, 0);
}

} // namespace sim
