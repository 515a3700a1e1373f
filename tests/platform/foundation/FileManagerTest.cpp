#include "platform/foundation/FileManager.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Sandbox.h"
#include "tests/support/SandboxHome.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <sys/resource.h>

using namespace foundation;
using testing_support::SandboxHome;

namespace {

class SandboxFiles : public SandboxHome {
protected:
    void TearDown() override {
        FileManager::setBeforeRenameHookForTesting(nullptr);
        SandboxHome::TearDown();
    }
    static std::string read(const std::string& p) {
        auto data = FileManager::contentsAtPath(p);
        return data ? std::string(data->view()) : "<missing>";
    }
    std::string readBelow(const std::string& relative) const {
        auto data = FileManager::contentsBelow(home.string(), relative);
        return data ? std::string(data.value().view()) : "<missing>";
    }
};

std::size_t entriesIn(const std::filesystem::path& dir) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir), {}));
}

} // namespace

TEST_F(SandboxFiles, HomeHasThePhoneDirectories) {
    for (auto d : {Sandbox::Directory::Documents, Sandbox::Directory::Caches,
                   Sandbox::Directory::Preferences, Sandbox::Directory::Temporary})
        EXPECT_TRUE(FileManager::isDirectory(Sandbox::current().pathFor(d)));
    EXPECT_EQ(Sandbox::searchPathForDirectory(Sandbox::Directory::Caches).front(),
              path("Library/Caches"));
}

TEST_F(SandboxFiles, AtomicWriteAbandonedBeforeRenameKeepsTheOldFile) {
    const auto file = path("Documents/state.plist");
    ASSERT_TRUE(FileManager::writeAtomically(file, Data::fromString("old")));
    FileManager::setBeforeRenameHookForTesting([](const std::string&) { return false; });
    EXPECT_FALSE(FileManager::writeAtomically(file, Data::fromString("new")));
    EXPECT_EQ(read(file), "old");
    EXPECT_EQ(entriesIn(home / "Documents"), 1u) << "no temporary file is left behind";
    FileManager::setBeforeRenameHookForTesting(nullptr);
    EXPECT_TRUE(FileManager::writeAtomically(file, Data::fromString("new")));
    EXPECT_EQ(read(file), "new");
}

TEST_F(SandboxFiles, AtomicWriteThatFailsMidWriteKeepsTheOldFile) {
    const auto file = path("Documents/big");
    ASSERT_TRUE(FileManager::writeAtomically(file, Data::fromString("old")));
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 1024;
    setrlimit(RLIMIT_FSIZE, &small);
    auto result = FileManager::writeAtomically(file, Data(std::vector<std::uint8_t>(4096, 'x')));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_FALSE(result);
    EXPECT_EQ(read(file), "old");
    EXPECT_EQ(entriesIn(home / "Documents"), 1u);
}

TEST_F(SandboxFiles, WrittenFilesAreDatedByTheLoopClockAndDatesCanBeSet) {
    auto clock = std::make_shared<VirtualClock>(1'000'000.0);
    RunLoop::main().setClock(clock);
    const auto file = path("tmp/dated");
    ASSERT_TRUE(FileManager::writeAtomically(file, Data::fromString("x")));
    EXPECT_NEAR(FileManager::modificationDate(file)->timeIntervalSince1970(), 1'000'000.0, 1e-3);
    ASSERT_TRUE(FileManager::setModificationDate(file, Date(5.5)));
    EXPECT_NEAR(FileManager::modificationDate(file)->timeIntervalSince1970(), 5.5, 1e-3);
    RunLoop::main().setClock(std::make_shared<RealClock>());
    EXPECT_FALSE(FileManager::modificationDate(path("tmp/none")));
}

TEST_F(SandboxFiles, ReadsRefuseDirectoriesAndOversizedFiles) {
    EXPECT_FALSE(FileManager::contentsAtPath(path("Documents")));
    ASSERT_TRUE(FileManager::writeAtomically(path("tmp/f"), Data::fromString("12345")));
    EXPECT_FALSE(FileManager::contentsAtPath(path("tmp/f"), 4));
    EXPECT_TRUE(FileManager::contentsAtPath(path("tmp/f"), 5));
    EXPECT_TRUE(FileManager::removeItem(path("Library")));
    EXPECT_FALSE(FileManager::fileExists(path("Library/Caches")));
}

TEST_F(SandboxFiles, ReadsRefuseFIFOsWithoutWaitingForAWriter) {
    makeFIFO("Library/Preferences/defaults.plist");
    EXPECT_FALSE(FileManager::contentsAtPath(path("Library/Preferences/defaults.plist")));
    auto below = FileManager::contentsBelow(home.string(), "Library/Preferences/defaults.plist");
    ASSERT_FALSE(below);
    EXPECT_EQ(below.error().code, EINVAL);
    EXPECT_FALSE(
        FileManager::modificationDateBelow(home.string(), "Library/Preferences/defaults.plist"));
    EXPECT_EQ(FileManager::contentsBelow(home.string(), "Library/none").error().code, ENOENT);
}

TEST_F(SandboxFiles, WritesBelowTheHomeCreateFoldersAndNeverFollowLinks) {
    const Data bytes = Data::fromString("cached");
    ASSERT_TRUE(FileManager::writeAtomicallyBelow(home.string(), "Library/Caches/a/b/file", bytes));
    EXPECT_EQ(readBelow("Library/Caches/a/b/file"), "cached");
    EXPECT_TRUE(FileManager::modificationDateBelow(home.string(), "Library/Caches/a/b/file"));

    linkOutside("Library/Caches/a");
    EXPECT_FALSE(
        FileManager::writeAtomicallyBelow(home.string(), "Library/Caches/a/b/file", bytes));
    EXPECT_FALSE(FileManager::writeAtomicallyBelow(home.string(), "Library/Caches/a/file", bytes));
    std::filesystem::create_directory(outside / "b");
    ASSERT_TRUE(
        FileManager::writeAtomically((outside / "b/file").string(), Data::fromString("outside")));
    EXPECT_EQ(readBelow("Library/Caches/a/b/file"), "<missing>");
    EXPECT_FALSE(FileManager::modificationDateBelow(home.string(), "Library/Caches/a/b/file"));
    EXPECT_FALSE(FileManager::writeAtomicallyBelow(home.string(), "Library/../../escape", bytes));
    EXPECT_FALSE(FileManager::writeAtomicallyBelow("", "Library/file", bytes))
        << "no home, no write";

    // A link in place of the file itself is replaced, never written through or removed through.
    std::filesystem::create_directories(home / "Library/Caches/c");
    std::filesystem::create_symlink(outside / "b/file", home / "Library/Caches/c/file");
    EXPECT_EQ(readBelow("Library/Caches/c/file"), "<missing>");
    EXPECT_TRUE(FileManager::removeItemBelow(home.string(), "Library/Caches/c/file"));
    EXPECT_FALSE(std::filesystem::is_symlink(home / "Library/Caches/c/file"));
    std::filesystem::create_symlink(outside / "b/file", home / "Library/Caches/c/file");
    ASSERT_TRUE(FileManager::writeAtomicallyBelow(home.string(), "Library/Caches/c/file", bytes));
    EXPECT_EQ(read((outside / "b/file").string()), "outside");
    EXPECT_EQ(readBelow("Library/Caches/c/file"), "cached");
    EXPECT_TRUE(FileManager::removeItemBelow(home.string(), "Library/Caches/c/none"));
}
