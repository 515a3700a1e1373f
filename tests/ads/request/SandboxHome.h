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
#include <unistd.h>

// A fresh sandbox home and a virtual clock for each test; the client's singletons are created
// anew in each home by the tests that use them.
class SandboxHome : public ::testing::Test {
protected:
    static constexpr double kStart = 1'300'000'000.0;

    void SetUp() override {
        home = std::filesystem::temp_directory_path() /
               ("pennant-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(home);
        ASSERT_TRUE(foundation::Sandbox::current().setHome(home.string()));
        clock = std::make_shared<foundation::VirtualClock>(kStart);
        foundation::RunLoop::main().setClock(clock);
        setLanguage("en");
    }
    void TearDown() override { std::filesystem::remove_all(home); }

    void setLanguage(const std::string& language) {
        foundation::UserDefaults::standard().load(
            (home / "Library/Preferences/defaults.plist").string(),
            foundation::Dictionary{{"AppleLanguages", foundation::Value(foundation::Value::Array{foundation::Value(language)})},
                                   {"AppleLocale", "fr_CA"}});
    }
    std::string path(const std::string& relative) const { return (home / relative).string(); }

    std::filesystem::path home;
    std::shared_ptr<foundation::VirtualClock> clock;
};
