#include "platform/foundation/Bundle.h"
#include "platform/foundation/FileManager.h"
#include "tests/support/ScratchDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

using namespace foundation;
using testing_support::ScratchDirectory;
namespace fs = std::filesystem;

TEST(Bundle, ResourcesStayInsideTheBundle) {
    const auto dir = ScratchDirectory::create("bundle");
    fs::create_directories(dir / "res");
    for (const char* name : {"res/icon.png", "secret.png"})
        ASSERT_TRUE(FileManager::writeAtomically((dir / name).string(), Data::fromString("x")));
    Bundle bundle;
    bundle.load((dir / "res").string());
    EXPECT_EQ(bundle.pathForResource("icon", "png"), (dir / "res/icon.png").string());
    for (const auto& [name, type] : std::vector<std::pair<std::string, std::string>>{
             {"../secret", "png"}, {"", "png"}, {"..", ""}, {".", ""}, {"missing", "png"}})
        EXPECT_FALSE(bundle.pathForResource(name, type)) << name;
    fs::remove_all(dir);
}
