#include "sim/AlertTrace.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/RunLoop.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/AlertViewDelegate.h"
#include "platform/ui/Application.h"
#include "platform/ui/Toolbar.h"
#include "platform/ui/Window.h"
#include "sim/ScenarioRunner.h"
#include "sim/Trace.h"
#include "tests/support/ScratchDirectory.h"
#include "json/JSONDeserializer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using foundation::Value;
namespace fs = std::filesystem;

namespace {

// The trace of alerts and the scenario's alert-button command, which taps them.
class AlertTraceTest : public ::testing::Test {
protected:
    void SetUp() override {
        clock = std::make_shared<foundation::VirtualClock>(1000);
        foundation::RunLoop::main().setClock(clock);
        folder = testing_support::ScratchDirectory::create("alert-trace");
        ASSERT_TRUE(trace.open((folder / "trace.jsonl").string(), clock->now()));
        window = ui::Window::create(graphics::Rect(0, 0, 320, 480));
        window->makeKeyAndVisible();
    }
    void TearDown() override { fs::remove_all(folder); }
    std::vector<Value> events() {
        EXPECT_TRUE(trace.close());
        std::ifstream in(folder / "trace.jsonl");
        std::vector<Value> out;
        for (std::string line; std::getline(in, line);)
            if (auto event = json::JSONDeserializer().deserialize(line))
                out.push_back(event.value());
        return out;
    }
    void play(const char* text) {
        auto scenario = sim::Scenario::parse(text);
        ASSERT_TRUE(scenario);
        runner.schedule(scenario.value(), clock->now());
        foundation::RunLoop::main().runUntilIdle();
    }

    std::shared_ptr<foundation::VirtualClock> clock;
    fs::path folder;
    sim::Trace trace;
    sim::ScenarioRunner runner{trace, "."};
    std::shared_ptr<ui::Window> window;
};

struct Clicked : ui::AlertViewDelegate {
    std::vector<int> indexes;
    void clickedButtonAtIndex(ui::AlertView&, int index) override { indexes.push_back(index); }
};

} // namespace

TEST_F(AlertTraceTest, AlertButtonTapsTheAlertOnTopAndBothEndsAreTraced) {
    sim::AlertTrace alerts(trace);
    auto clicked = std::make_shared<Clicked>();
    ui::AlertView::create("Call 555-0100?", "", clicked, std::optional<std::string>("Cancel"),
                          std::vector<std::string>{"Call"})
        ->show();
    play("at 1 alert-button 1\nat 2 alert-button 0\n");
    EXPECT_EQ(clicked->indexes, std::vector<int>{1});
    const auto all = events();
    std::vector<Value> alertEvents;
    for (const auto& e : all)
        if (e["type"].stringValue() == "alert")
            alertEvents.push_back(e);
    ASSERT_EQ(alertEvents.size(), 2u);
    EXPECT_EQ(alertEvents[0]["event"].stringValue(), "shown");
    EXPECT_EQ(alertEvents[0]["title"].stringValue(), "Call 555-0100?");
    EXPECT_EQ(alertEvents[0]["message"].stringValue(), "");
    ASSERT_EQ(alertEvents[0]["buttons"].asArray().size(), 2u);
    EXPECT_EQ(alertEvents[0]["buttons"].asArray()[1].stringValue(), "Call");
    EXPECT_EQ(alertEvents[1]["event"].stringValue(), "dismissed");
    EXPECT_EQ(alertEvents[1]["button"].intValue(), 1);
}

TEST_F(AlertTraceTest, ActionSheetsAreTracedUnderTheirOwnType) {
    sim::AlertTrace alerts(trace);
    auto toolbar = ui::Toolbar::create(graphics::Rect(0, 436, 320, 44));
    ui::ActionSheet::create(std::nullopt, std::weak_ptr<ui::ActionSheetDelegate>(),
                            std::optional<std::string>("Cancel"), std::nullopt,
                            std::vector<std::string>{"Launch Safari", "Email link"})
        ->showFromToolbar(*toolbar);
    play("at 1 alert-button 2\n");
    const auto all = events();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0]["type"].stringValue(), "action-sheet");
    EXPECT_FALSE(all[0]["message"].isString());
    EXPECT_EQ(all[1]["button"].intValue(), 2);
}
