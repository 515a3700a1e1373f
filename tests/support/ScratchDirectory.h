#pragma once

#include <filesystem>
#include <string>
#include <unistd.h>

namespace testing_support {

// An empty folder under the system's temporary directory, unique to this test process.
class ScratchDirectory {
public:
    static std::filesystem::path create(const std::string& name) {
        const auto dir =
            std::filesystem::temp_directory_path() / (name + "-" + std::to_string(::getpid()));
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        return dir;
    }
};

} // namespace testing_support
