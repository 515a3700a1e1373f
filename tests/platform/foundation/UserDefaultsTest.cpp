#include "platform/foundation/UserDefaults.h"
#include "platform/foundation/Dictionary.h"
#include "platform/foundation/FileManager.h"
#include "tests/support/SandboxHome.h"
#include "tests/support/ScratchDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

using namespace foundation;
namespace fs = std::filesystem;
using testing_support::SandboxHome;
using testing_support::ScratchDirectory;

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

TEST(UserDefaults, CorruptFileStartsEmptyAndSynchronizeWritesOnlyChanges) {
    const auto dir = ScratchDirectory::create("defaults");
    const auto file = (dir / "prefs.plist").string();
    ASSERT_TRUE(FileManager::writeAtomically(file, Data::fromString("<?xml garbage")));
    auto& defaults = UserDefaults::standard();
    defaults.load(file, Dictionary{{"AppleLocale", "fr_FR"}});
    EXPECT_TRUE(defaults.objectForKey("anything").isNull());
    EXPECT_TRUE(defaults.synchronize());
    EXPECT_EQ(FileManager::contentsAtPath(file)->view(), "<?xml garbage")
        << "nothing changed, nothing written";
    defaults.setObject("AppleLocale", "de_DE");
    defaults.removeObject("AppleLocale");
    EXPECT_EQ(defaults.stringForKey("AppleLocale"), "fr_FR")
        << "removal uncovers the global domain";
    ASSERT_TRUE(defaults.synchronize());
    fs::remove(file);
    EXPECT_TRUE(defaults.synchronize());
    EXPECT_FALSE(fs::exists(file)) << "a clean domain is not written again";
    defaults.load("", {});
    fs::remove_all(dir);
}
