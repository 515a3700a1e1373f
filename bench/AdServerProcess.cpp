#include "AdServerProcess.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <spawn.h>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>

namespace {

foundation::Error failure(std::string message) {
    return foundation::Error{"AdServerProcess", 0, std::move(message)};
}

std::string serverProgram() {
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    return (error ? std::filesystem::path(".") : self.parent_path()) / "pennant-adserver";
}

} // namespace

AdServerProcess::~AdServerProcess() {
    if (pid_ <= 0)
        return;
    ::kill(pid_, SIGTERM);
    int status = 0;
    ::waitpid(pid_, &status, 0);
}

foundation::Status AdServerProcess::start(const std::string& catalogDirectory) {
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        return failure(std::string("pipe: ") + std::strerror(errno));
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    const std::string program = serverProgram();
    std::string catalog = catalogDirectory;
    char catalogOption[] = "--catalog";
    char* arguments[] = {const_cast<char*>(program.c_str()), catalogOption, catalog.data(),
                         nullptr};
    const int spawned =
        ::posix_spawn(&pid_, program.c_str(), &actions, nullptr, arguments, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[1]);
    if (spawned != 0) {
        pid_ = -1;
        ::close(pipeEnds[0]);
        return failure("cannot run " + program + ": " + std::strerror(spawned));
    }
    return readPort(pipeEnds[0]);
}

// The server's first line is "listening on http://HOST:PORT".
foundation::Status AdServerProcess::readPort(int output) {
    std::FILE* stream = ::fdopen(output, "r");
    char line[256] = "";
    const bool read = stream && std::fgets(line, sizeof line, stream);
    if (stream)
        std::fclose(stream);
    else
        ::close(output);
    const std::string_view text(line);
    const auto colon = text.rfind(':');
    if (!read || !text.starts_with("listening on ") || colon == std::string_view::npos)
        return failure("the ad server did not start");
    port_ = std::atoi(line + colon + 1);
    return port_ > 0 ? foundation::success() : failure("the ad server gave no port");
}
