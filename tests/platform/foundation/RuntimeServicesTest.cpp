#include "platform/foundation/Bundle.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/Dictionary.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Timer.h"
#include "platform/foundation/UserDefaults.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <thread>
#include <time.h>
#include <unistd.h>

using namespace foundation;
namespace fs = std::filesystem;

namespace {

class LoopEdges : public ::testing::Test {
protected:
    LoopEdges() { loop.setClock(clock); }
    std::shared_ptr<VirtualClock> clock = std::make_shared<VirtualClock>(1000.0);
    RunLoop loop;
};

double threadCPUSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

fs::path scratchDirectory(const std::string& name) {
    const auto dir = fs::temp_directory_path() / (name + "-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

} // namespace

TEST_F(LoopEdges, StopFromACallbackEndsRunAndLeavesLaterRunsResponsive) {
    int ticks = 0;
    Timer timer(loop);
    timer.start(Seconds(2), true, [&] {
        if (++ticks == 3) {
            timer.stop();
            loop.stop();
        }
    });
    loop.run();
    EXPECT_EQ(ticks, 3);
    EXPECT_DOUBLE_EQ(loop.now(), 1006.0);
    // A finished run must not leave the loop spinning while it waits for background work.
    RunLoop::WorkToken pending(loop);
    const double cpuBefore = threadCPUSeconds();
    EXPECT_FALSE(loop.runUntil([] { return false; }, Seconds(0.3)));
    EXPECT_LT(threadCPUSeconds() - cpuBefore, 0.15);
}

TEST(RealClockLoop, RunWakesForTimersAndEndsOnStopFromAnotherThread) {
    RunLoop loop;
    std::atomic<bool> fired{false};
    Timer timer(loop);
    timer.start(Seconds(0.05), false, [&] { fired = true; });
    // Stops only once the timer has fired, so a run that never wakes for it never ends.
    std::thread stopper([&] {
        while (!fired)
            std::this_thread::yield();
        loop.stop();
    });
    loop.run();
    stopper.join();
    EXPECT_TRUE(fired);
}

TEST(Log, SinksEndWithTheirTokenAndMayLogFromInside) {
    Log::setStderrEnabled(false);
    std::vector<std::string> lines;
    Subscription token = Log::addSink([&](const std::string& line) {
        lines.push_back(line);
        if (line == "outer")
            log("inner {}", 1); // a sink that logs must not deadlock
    });
    Subscription selfRemoving;
    int selfCalls = 0;
    selfRemoving = Log::addSink([&](const std::string&) {
        ++selfCalls;
        selfRemoving.reset();
    });
    Log::write("outer");
    token.reset();
    Log::write("after");
    EXPECT_EQ(lines, (std::vector<std::string>{"outer", "inner 1"}));
    EXPECT_EQ(selfCalls, 1);

    // Dropping a token waits for a call in progress on another thread: the sink's captures
    // may die right after.
    std::atomic<bool> inside{false}, finished{false};
    token = Log::addSink([&](const std::string&) {
        inside = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        finished = true;
    });
    std::thread writer([] { Log::write("from a worker"); });
    while (!inside)
        std::this_thread::yield();
    token.reset();
    EXPECT_TRUE(finished);
    writer.join();
    Log::setStderrEnabled(true);
}

TEST(UserDefaults, CorruptFileStartsEmptyAndSynchronizeWritesOnlyChanges) {
    const auto dir = scratchDirectory("defaults");
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

TEST(Bundle, ResourcesStayInsideTheBundle) {
    const auto dir = scratchDirectory("bundle");
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
