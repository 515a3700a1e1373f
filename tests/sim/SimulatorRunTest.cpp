#include "app/InterfaceClasses.h"
#include "sim/Simulator.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

std::string slurp(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::size_t occurrences(const std::string& text, const std::string& needle) {
    std::size_t count = 0;
    for (auto at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1))
        ++count;
    return count;
}

} // namespace

// The whole headless run, as `make run` does it, on the bundled demo scenario.
TEST(SimulatorRun, DemoScenarioProducesTraceAndScreenshots) {
    const std::filesystem::path source = PROJECT_SOURCE_DIR;
    const auto out = std::filesystem::temp_directory_path() / ("sim-run-" + std::to_string(::getpid()));
    std::filesystem::remove_all(out);
    kessa::registerInterfaceClasses();
    sim::SimulatorOptions options;
    options.scenario = (source / "sim/scenarios/demo.scn").string();
    options.trace = (out / "trace.jsonl").string();
    options.screenshots = (out / "shots").string();
    options.bundle = (source / "app/Resources").string();
    std::filesystem::create_directories(out);
    EXPECT_EQ(sim::Simulator(options).run(), 0);

    const std::string trace = slurp(out / "trace.jsonl");
    EXPECT_EQ(occurrences(trace, "\"type\":\"screenshot\""), 5u);
    EXPECT_EQ(occurrences(trace, "\"type\":\"view-tree\""), 2u);
    EXPECT_EQ(occurrences(trace, "\"type\":\"sound\""), 7u);
    EXPECT_NE(trace.find("\"name\":\"countLabel\",\"frame\":[20,90,280,110],\"hidden\":false,\"alpha\":1,\"text\":\"6\""),
              std::string::npos);
    EXPECT_NE(trace.find("\"text\":\"1\""), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(out / "shots/05-after-reset.png"));
    EXPECT_NE(trace.find("\"message\":\"ad network at http:\\/\\/127.0.0.1:"), std::string::npos)
        << "each run starts its own ad server unless told to use another";
    std::filesystem::remove_all(out);
}

TEST(SimulatorRun, BundleWhoseDelegateIsNotAnApplicationDelegateFailsToLaunch) {
    const auto bundle = std::filesystem::temp_directory_path() / ("bundle-" + std::to_string(::getpid()));
    std::filesystem::create_directories(bundle);
    std::ofstream(bundle / "Info.plist") << "<plist><dict><key>CFBundleIdentifier</key><string>t.t</string>"
                                            "<key>NSMainNibFile</key><string>Main</string></dict></plist>";
    std::ofstream(bundle / "Main.plist") << "<plist><dict><key>delegate</key><string>v</string><key>objects</key>"
                                            "<array><dict><key>name</key><string>v</string><key>class</key>"
                                            "<string>View</string></dict></array></dict></plist>";
    sim::SimulatorOptions options;
    options.bundle = bundle.string();
    EXPECT_EQ(sim::Simulator(options).run(), 1);
    std::filesystem::remove_all(bundle);
}

TEST(SimulatorRun, BadScenarioRunsNothing) {
    const auto file = std::filesystem::temp_directory_path() / ("bad-" + std::to_string(::getpid()) + ".scn");
    std::ofstream(file) << "at 1 shake 1 2 3\nat 2 jump\n";
    sim::SimulatorOptions options;
    options.scenario = file.string();
    options.bundle = "/nonexistent";
    EXPECT_EQ(sim::Simulator(options).run(), 2);
    std::filesystem::remove(file);
}
