#include "ads/request/UserAgent.h"
#include "ads/request/URLDownload.h"
#include "platform/foundation/DeviceProfile.h"
#include "platform/foundation/Dictionary.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/Sandbox.h"
#include "platform/foundation/UserDefaults.h"

#include <gtest/gtest.h>

#include <filesystem>

using pennant::UserAgent;

namespace {
const UserAgent::Facts kPhone{"iPhone", "iPhone OS", "3.1.2", "iPhone1,2", "en_US", false};
}

TEST(UserAgent, FormatsTheDeviceFacts) {
    EXPECT_EQ(UserAgent::format(kPhone),
              "Mozilla/5.0 (iPhone; U; CPU iPhone OS 3_1_2 like Mac OS X; HW iPhone1,2; en_us) "
              "AppleWebKit/525.18.1 (KHTML, like Gecko) (Pennant-iSDK-20091119)");
}

TEST(UserAgent, JailbrokenDevicesCarryTheMarkerInTheLastParenthesis) {
    auto facts = kPhone;
    facts.jailbroken = true;
    EXPECT_TRUE(UserAgent::format(facts).ends_with("(Pennant-iSDK-20091119; j)"));
    facts.locale.reset();
    EXPECT_NE(UserAgent::format(facts).find("; HW iPhone1,2; (null))"), std::string::npos);
}

TEST(UserAgent, CurrentFactsComeFromProfileDefaultsAndSandbox) {
    const auto home =
        std::filesystem::temp_directory_path() / ("ua-home-" + std::to_string(::getpid()));
    ASSERT_TRUE(foundation::Sandbox::current().setHome(home.string()));
    foundation::UserDefaults::standard().load("", foundation::Dictionary{{"AppleLocale", "fr_CA"}});
    foundation::DeviceProfile::current().systemVersion = "3.1.2";

    auto facts = UserAgent::current();
    EXPECT_EQ(facts.systemVersion, "3.1.2");
    EXPECT_EQ(facts.locale, "fr_CA");
    EXPECT_FALSE(facts.jailbroken);

    const auto app = foundation::Sandbox::current().devicePath("/Applications/Cydia.app");
    ASSERT_TRUE(foundation::FileManager::createDirectory(app));
    EXPECT_TRUE(UserAgent::current().jailbroken);
    EXPECT_TRUE(pennant::URLDownload::isJailbroken());
    std::filesystem::remove_all(home);
}
