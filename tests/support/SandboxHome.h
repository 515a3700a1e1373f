#pragma once

#include "platform/foundation/Clock.h"
#include "platform/foundation/Dictionary.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Sandbox.h"
#include "platform/foundation/UserDefaults.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace testing_support {

// A fresh sandbox home and a virtual clock for each test; the client's singletons are created
// anew in each home by the tests that use them. Beside the home is a folder of its own that
// links from inside the home can point to.
class SandboxHome : public ::testing::Test {
protected:
    static constexpr double kStart = 1'300'000'000.0;

    void SetUp() override {
        home = std::filesystem::temp_directory_path() /
               ("pennant-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        outside = home.string() + "-outside";
        std::filesystem::remove_all(home);
        std::filesystem::remove_all(outside);
        std::filesystem::create_directories(outside);
        ASSERT_TRUE(foundation::Sandbox::current().setHome(home.string()));
        clock = std::make_shared<foundation::VirtualClock>(kStart);
        foundation::RunLoop::main().setClock(clock);
        setLanguage("en");
    }
    void TearDown() override {
        std::filesystem::remove_all(home);
        std::filesystem::remove_all(outside);
    }

    void setLanguage(const std::string& language) {
        foundation::UserDefaults::standard().load(
            (home / "Library/Preferences/defaults.plist").string(),
            foundation::Dictionary{{"AppleLanguages", foundation::Value(foundation::Value::Array{
                                                          foundation::Value(language)})},
                                   {"AppleLocale", "fr_CA"}});
    }
    std::string path(const std::string& relative) const { return (home / relative).string(); }

    // Opening a FIFO for reading waits for a writer, forever in a test: a hang is the failure.
    void makeFIFO(const std::string& relative) {
        std::filesystem::create_directories((home / relative).parent_path());
        ASSERT_EQ(::mkfifo(path(relative).c_str(), 0644), 0) << relative;
    }
    // Replaces whatever is at relative with a link to the outside folder.
    void linkOutside(const std::string& relative) {
        std::filesystem::remove_all(home / relative);
        std::filesystem::create_directories((home / relative).parent_path());
        std::filesystem::create_directory_symlink(outside, home / relative);
    }
    bool outsideIsEmpty() const { return std::filesystem::is_empty(outside); }

    std::filesystem::path home;
    std::filesystem::path outside;
    std::shared_ptr<foundation::VirtualClock> clock;
};

} // namespace testing_support
