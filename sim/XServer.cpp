#include "sim/XServer.h"

#include <fmt/format.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

namespace sim {

namespace {

constexpr int kFirstDisplay = 90;
constexpr int kLastDisplay = 190;
constexpr auto kStartBound = std::chrono::seconds(10);

std::string socketPath(int display) { return fmt::format("/tmp/.X11-unix/X{}", display); }

// X servers take a display by its lock file; a free number has neither lock nor socket.
int freeDisplay() {
    for (int display = kFirstDisplay; display <= kLastDisplay; ++display)
        if (!std::filesystem::exists(fmt::format("/tmp/.X{}-lock", display)) &&
            !std::filesystem::exists(socketPath(display)))
            return display;
    return -1;
}

pid_t spawn(int display) {
    const pid_t parent = ::getpid();
    const pid_t child = ::fork();
    if (child == 0) {
        // The server goes with the run, however the run ends.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent)
            ::_exit(0);
        const std::string name = fmt::format(":{}", display);
        ::execlp("Xvfb", "Xvfb", name.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
                 static_cast<char*>(nullptr));
        ::_exit(127);
    }
    return child;
}

// Ready once its socket appears; false when it died or took too long.
bool waitForSocket(pid_t process, int display) {
    const auto giveUp = std::chrono::steady_clock::now() + kStartBound;
    while (std::chrono::steady_clock::now() < giveUp) {
        if (std::filesystem::exists(socketPath(display)))
            return true;
        int status = 0;
        if (::waitpid(process, &status, WNOHANG) == process)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

} // namespace

std::unique_ptr<XServer> XServer::startIfNeeded() {
    if (const char* display = std::getenv("DISPLAY"); display && *display)
        return nullptr;
    const int display = freeDisplay();
    const pid_t process = display < 0 ? -1 : spawn(display);
    if (process <= 0)
        return nullptr;
    std::unique_ptr<XServer> server(new XServer(process));
    if (!waitForSocket(process, display))
        return nullptr;
    ::setenv("DISPLAY", fmt::format(":{}", display).c_str(), 1);
    return server;
}

XServer::~XServer() {
    ::kill(process_, SIGTERM);
    int status = 0;
    ::waitpid(process_, &status, 0);
}

} // namespace sim
