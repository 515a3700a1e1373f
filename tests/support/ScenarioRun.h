#pragma once

#include "adserver/AdServer.h"
#include "app/InterfaceClasses.h"
#include "platform/foundation/Value.h"
#include "sim/Simulator.h"
#include "tests/support/ScratchDirectory.h"
#include "json/JSONDeserializer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace testing_support {

// One headless run of a bundled scenario (sim/scenarios), as `kessa --first-ad AD --scenario
// ...` runs it, but against an ad server of the test's own, so that what the network was asked
// can be read. The trace and the screenshots go into a scratch folder that goes with the object.
class ScenarioRun {
public:
    ScenarioRun(const std::string& scenario, const std::string& firstAd)
        : folder_(ScratchDirectory::create(scenario + "-run")), server_(serverOptions(firstAd)) {
        const auto started = server_.start();
        EXPECT_TRUE(started.ok()) << (started.ok() ? "" : started.error().message);
        kessa::registerInterfaceClasses();
        options_.scenario = std::string(PROJECT_SOURCE_DIR) + "/sim/scenarios/" + scenario + ".scn";
        options_.trace = (folder_ / (scenario + ".jsonl")).string();
        options_.screenshots = (folder_ / scenario).string();
        options_.bundle = std::string(PROJECT_SOURCE_DIR) + "/app/Resources";
        options_.adServer = sim::SimulatorOptions::Endpoint{"127.0.0.1", server_.port()};
        options_.home = home();
    }
    ~ScenarioRun() {
        server_.stop();
        std::filesystem::remove_all(folder_);
    }
    ScenarioRun(const ScenarioRun&) = delete;
    ScenarioRun& operator=(const ScenarioRun&) = delete;

    // The simulator's exit status.
    int run() { return sim::Simulator(options_).run(); }

    // The whole trace as written.
    std::string trace() const {
        std::ifstream in(options_.trace);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    // The trace's events of one type, in order.
    std::vector<foundation::Value> events(const std::string& type) const {
        std::vector<foundation::Value> found;
        std::istringstream lines(trace());
        for (std::string line; std::getline(lines, line);) {
            auto event = json::JSONDeserializer().deserializeAsDictionary(line);
            if (event.ok() && event.value()["type"].stringValue() == type)
                found.push_back(event.value());
        }
        return found;
    }
    // The run's sandbox home, kept for reading after the run.
    std::string home() const { return (folder_ / "home").string(); }
    bool hasScreenshot(const std::string& name) const {
        return std::filesystem::exists(std::filesystem::path(options_.screenshots) / name);
    }
    // What the ad server was asked, in the order it was asked.
    std::vector<adserver::Journal::Entry> requests() { return server_.journal().entries(); }

private:
    static adserver::AdServer::Options serverOptions(const std::string& firstAd) {
        adserver::AdServer::Options options;
        options.firstAd = firstAd;
        return options;
    }

    std::filesystem::path folder_;
    adserver::AdServer server_;
    sim::SimulatorOptions options_;
};

} // namespace testing_support
