#include "sim/ScenarioRunner.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/RunLoop.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/SearchBar.h"
#include "platform/ui/SearchBarDelegate.h"
#include "platform/ui/Window.h"
#include "sim/Trace.h"
#include "tests/support/ScratchDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fmt/format.h>
#include <fstream>

using graphics::Rect;
namespace fs = std::filesystem;

namespace {

class Runner : public ::testing::Test {
protected:
    void SetUp() override {
        ui::Application::shared().setStatusBarHidden(true);
        clock = std::make_shared<foundation::VirtualClock>(1000);
        foundation::RunLoop::main().setClock(clock);
        folder = testing_support::ScratchDirectory::create("runner");
        trace.open("", clock->now()); // counts only
        window = ui::Window::create(Rect(0, 0, 320, 480));
        window->makeKeyAndVisible();
    }
    void TearDown() override { fs::remove_all(folder); }
    sim::Scenario parse(const char* text) {
        auto scenario = sim::Scenario::parse(text);
        EXPECT_TRUE(scenario) << scenario.error().message;
        return scenario ? scenario.value() : sim::Scenario();
    }

    std::shared_ptr<foundation::VirtualClock> clock;
    fs::path folder;
    sim::Trace trace;
    std::shared_ptr<ui::Window> window;
};

} // namespace

TEST_F(Runner, PlaysTouchCommandsAtTheirTimesInOrder) {
    auto button = ui::Button::create(Rect(100, 100, 100, 40));
    window->addSubview(button);
    std::vector<std::string> seen;
    for (auto [event, name] : {std::pair{ui::ControlEventTouchDown, "down"},
                               {ui::ControlEventTouchDragExit, "exit"},
                               {ui::ControlEventTouchUpOutside, "up-outside"},
                               {ui::ControlEventTouchUpInside, "up-inside"}})
        button->addTarget(event, [&seen, clock = clock, name] {
            seen.push_back(fmt::format("{} {}", name, clock->now() - 1000));
        });
    sim::ScenarioRunner runner(trace, (folder / "shots").string());
    runner.schedule(
        parse("at 2 up 150 300\nat 1 down 150 120\nat 1 move 150 300\nat 3 tap 150 120\n"),
        clock->now());
    foundation::RunLoop::main().runUntilIdle();
    EXPECT_EQ(seen, (std::vector<std::string>{"down 1", "exit 1", "up-outside 2", "down 3",
                                              "up-inside 3"}));
}

namespace {
// Notes each touch it gets: phase, loop time and where the finger was.
class TouchTimes : public ui::View {
    UI_CREATABLE(TouchTimes)
    void touchesBegan(const ui::TouchSet& t, const ui::Event&) override { note("began", t); }
    void touchesMoved(const ui::TouchSet& t, const ui::Event&) override { note("moved", t); }
    void touchesEnded(const ui::TouchSet& t, const ui::Event&) override { note("ended", t); }
    std::vector<std::string> seen;

protected:
    explicit TouchTimes(const Rect& frame) : View(frame) {}

private:
    void note(const char* phase, const ui::TouchSet& touches) {
        const auto at = touches.front()->locationInView(nullptr);
        seen.push_back(fmt::format("{} {:.3f} {:.0f},{:.0f}", phase,
                                   foundation::RunLoop::main().now() - 1000, at.x, at.y));
    }
};
} // namespace

TEST_F(Runner, TypingSendsOneKeyAtATimeIntoTheFieldBeingEdited) {
    struct Heard : ui::SearchBarDelegate {
        explicit Heard(std::shared_ptr<foundation::VirtualClock> clock) : clock(std::move(clock)) {}
        void textDidChange(ui::SearchBar&, const std::string& text) override {
            seen.push_back(fmt::format("'{}' {:.1f}", text, clock->now() - 1000));
        }
        void searchBarSearchButtonClicked(ui::SearchBar&) override {
            seen.push_back(fmt::format("search {:.1f}", clock->now() - 1000));
        }
        std::shared_ptr<foundation::VirtualClock> clock;
        std::vector<std::string> seen;
    };
    auto heard = std::make_shared<Heard>(clock);
    auto bar = ui::SearchBar::create(Rect(0, 0, 320, 44));
    bar->setDelegate(heard);
    window->addSubview(bar);
    sim::ScenarioRunner runner(trace, (folder / "shots").string());
    runner.schedule(parse("at 1 tap 100 22\nat 1 type a\xC3\xA9 b\nat 2 key backspace\n"
                          "at 2 key return\n"),
                    clock->now());
    foundation::RunLoop::main().runFor(foundation::Seconds(3));
    EXPECT_EQ(heard->seen,
              (std::vector<std::string>{"'a' 1.0", "'a\xC3\xA9' 1.1", "'a\xC3\xA9 ' 1.2",
                                        "'a\xC3\xA9 b' 1.3", "'a\xC3\xA9 ' 2.0", "search 2.0"}));
}

TEST_F(Runner, SwipesMoveTheFingerInEvenStepsAndLiftAtTheEnd) {
    auto view = TouchTimes::create(Rect(0, 0, 320, 480));
    window->addSubview(view);
    sim::ScenarioRunner runner(trace, (folder / "shots").string());
    runner.schedule(parse("at 1 swipe 300 100 0 160 0.05\nat 2 swipe 10 10 20 20 0\n"),
                    clock->now());
    foundation::RunLoop::main().runUntilIdle();
    EXPECT_EQ(view->seen, (std::vector<std::string>{"began 1.000 300,100", "moved 1.017 200,120",
                                                    "moved 1.033 100,140", "moved 1.050 0,160",
                                                    "ended 1.050 0,160", "began 2.000 10,10",
                                                    "moved 2.000 20,20", "ended 2.000 20,20"}));
}

TEST_F(Runner, ScreenshotsStayInsideTheirFolder) {
    const fs::path shots = folder / "shots";
    sim::ScenarioRunner runner(trace, shots.string());
    for (const char* name : {"../escape.png", "nested/inner.png", "..", "/tmp/"})
        runner.execute(sim::ScenarioCommand{0, "screenshot", {}, name, 1});
    EXPECT_FALSE(fs::exists(folder / "escape.png"));
    EXPECT_TRUE(fs::exists(shots / "escape.png"));
    EXPECT_TRUE(fs::exists(shots / "inner.png"));
    EXPECT_TRUE(fs::exists(shots / "screenshot.png"));
    EXPECT_EQ(trace.count("screenshot"), 4u);
}
