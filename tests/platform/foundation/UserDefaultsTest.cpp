#include "platform/foundation/Dictionary.h"
#include "platform/foundation/UserDefaults.h"
#include "tests/support/SandboxHome.h"

#include <gtest/gtest.h>

using namespace foundation;

namespace {

class UserDefaultsTest : public SandboxHome {
protected:
    const Dictionary global{{"AppleLanguages", Value(Value::Array{Value("fr"), Value("en")})},
                            {"AppleLocale", "fr_FR"}};
    std::string file() const { return path("Library/Preferences/prefs.plist"); }
};

} // namespace

TEST_F(UserDefaultsTest, PersistentDomainOverridesGlobalAndSurvivesReload) {
    auto& defaults = UserDefaults::standard();
    defaults.load(file(), global);
    EXPECT_EQ(defaults.arrayForKey("AppleLanguages")->front().asString(), "fr");
    EXPECT_EQ(defaults.floatForKey("PN_INT_TO"), 0.0f);
    defaults.setFloat("PN_INT_TO", 7.5f);
    defaults.setObject("AppleLocale", "en_GB");
    ASSERT_TRUE(defaults.synchronize());
    defaults.load(file(), global);
    EXPECT_EQ(defaults.floatForKey("PN_INT_TO"), 7.5f);
    EXPECT_EQ(defaults.stringForKey("AppleLocale"), "en_GB");
    EXPECT_FALSE(defaults.stringForKey("PN_INT_TO"));
}

TEST_F(UserDefaultsTest, AFIFOInPlaceOfThePreferencesReadsAsEmptyWithoutWaiting) {
    makeFIFO("Library/Preferences/prefs.plist");
    auto& defaults = UserDefaults::standard();
    defaults.load(file(), global);
    EXPECT_EQ(defaults.stringForKey("AppleLocale"), "fr_FR");
    defaults.setObject("AppleLocale", "en_GB");
    EXPECT_TRUE(defaults.synchronize()) << "the FIFO is replaced by the file";
    defaults.load(file(), global);
    EXPECT_EQ(defaults.stringForKey("AppleLocale"), "en_GB");
}
