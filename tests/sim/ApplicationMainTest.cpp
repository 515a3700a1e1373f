#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct Exit {
    int status = -1; // -1: the program did not exit by itself (a signal, an abort)
    std::string firstErrorLine;
};

// `environment` is given to env(1): "-u NAME" leaves a variable out, "NAME=VALUE" sets one.
Exit runKessa(const std::string& arguments, const std::string& environment = "") {
    const auto errors =
        std::filesystem::temp_directory_path() / ("kessa-err-" + std::to_string(::getpid()));
    const std::string command = "env " + environment + " " + std::string(KESSA_PATH) + " " +
                                arguments + " >/dev/null 2>" + errors.string();
    const int raw = std::system(command.c_str());
    Exit exit;
    if (WIFEXITED(raw) && WEXITSTATUS(raw) < 128)
        exit.status = WEXITSTATUS(raw);
    std::ifstream in(errors);
    std::getline(in, exit.firstErrorLine);
    std::filesystem::remove(errors);
    return exit;
}

} // namespace

// A bad option value ends the program before anything starts, like any other option error.
TEST(ApplicationMain, RefusesAdServerPortsOutOfRangeWithOneLineAndStatusTwo) {
    for (const char* port : {"99999999999", "99999", "-5", "1.5"}) {
        const auto exit = runKessa(std::string("--ad-server 127.0.0.1:") + port);
        EXPECT_EQ(exit.status, 2) << port;
        EXPECT_EQ(
            exit.firstErrorLine,
            std::string("kessa: --ad-server port must be a whole number from 1 to 65535, not '") +
                port + "'");
    }
    const auto duration = runKessa("--duration nan");
    EXPECT_EQ(duration.status, 2);
    EXPECT_EQ(duration.firstErrorLine,
              "kessa: --duration must be a number of at least 0, not 'nan'");
}

// With nothing to show a window on, --window ends the run at once rather than running blind.
TEST(ApplicationMain, WindowWithoutADisplaySaysSoAndExitsWithStatusTwo) {
    const auto exit = runKessa("--window", "-u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER");
    EXPECT_EQ(exit.status, 2);
    EXPECT_EQ(exit.firstErrorLine,
              "--window needs a display: neither DISPLAY nor WAYLAND_DISPLAY is set");
}
