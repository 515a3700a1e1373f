#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/Window.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using namespace ui;
using graphics::Rect;

namespace {

class Controls : public ::testing::Test {
protected:
    void SetUp() override {
        window = Window::create(Rect(0, 0, 320, 480));
        window->makeKeyAndVisible();
    }
    void touch(Touch::Phase phase, float x, float y) {
        Application::shared().sendTouch(int(phase), {x, y}, 0);
    }
    std::shared_ptr<Window> window;
};

// A button in the window that notes every control event it sends.
class Tracking : public Controls {
protected:
    void SetUp() override {
        Controls::SetUp();
        button = Button::create(Rect(100, 100, 100, 40));
        window->addSubview(button);
        const std::pair<unsigned, const char*> names[] = {
            {ControlEventTouchDown, "down"},
            {ControlEventTouchDragInside, "inside"},
            {ControlEventTouchDragOutside, "outside"},
            {ControlEventTouchDragEnter, "enter"},
            {ControlEventTouchDragExit, "exit"},
            {ControlEventTouchUpInside, "up-inside"},
            {ControlEventTouchUpOutside, "up-outside"},
            {ControlEventTouchCancel, "cancel"},
        };
        for (const auto& [event, name] : names)
            button->addTarget(event, [this, name = std::string(name)] { events.push_back(name); });
    }

    std::shared_ptr<Button> button;
    std::vector<std::string> events;
};

using Events = std::vector<std::string>;

} // namespace

TEST_F(Controls, ButtonFiresOnlyWhenTheTouchEndsInside) {
    auto button = Button::create(Rect(100, 100, 100, 40));
    window->addSubview(button);
    std::vector<std::string> events;
    button->addTarget(ControlEventTouchUpInside, [&] { events.push_back("up-inside"); });
    button->addTarget(ControlEventTouchUpOutside, [&] { events.push_back("up-outside"); });
    button->addTarget(ControlEventTouchDragExit, [&] { events.push_back("exit"); });

    touch(Touch::Phase::Began, 150, 120);
    EXPECT_TRUE(button->isHighlighted());
    touch(Touch::Phase::Ended, 150, 120);
    EXPECT_FALSE(button->isHighlighted());

    touch(Touch::Phase::Began, 150, 120);
    touch(Touch::Phase::Moved, 150, 200);
    EXPECT_FALSE(button->isHighlighted());
    touch(Touch::Phase::Ended, 150, 200);
    EXPECT_EQ(events, (std::vector<std::string>{"up-inside", "exit", "up-outside"}));

    button->setEnabled(false);
    touch(Touch::Phase::Began, 150, 120);
    touch(Touch::Phase::Ended, 150, 120);
    EXPECT_EQ(events.size(), 3u);
}

TEST_F(Controls, ButtonStatesFallBackToNormal) {
    auto button = Button::create();
    button->setTitle("Reset", ControlStateNormal);
    button->setTitle("Pressed", ControlStateHighlighted);
    button->setTitleColor(graphics::Color::redColor(), ControlStateNormal);
    EXPECT_EQ(button->titleForState(ControlStateSelected), "Reset");
    EXPECT_EQ(button->titleColorForState(ControlStateHighlighted), graphics::Color::redColor());
    button->setHighlighted(true);
    EXPECT_EQ(button->currentTitle(), "Pressed");
}

TEST_F(Controls, ActionsMayRemoveTheControlWhileItIsTracking) {
    auto button = Button::create(Rect(0, 0, 50, 50));
    window->addSubview(button);
    std::weak_ptr<Button> weak = button;
    button->addTarget(ControlEventTouchUpInside, [weak] { weak.lock()->removeFromSuperview(); });
    button.reset();
    touch(Touch::Phase::Began, 10, 10);
    touch(Touch::Phase::Ended, 10, 10);
    EXPECT_TRUE(window->subviews().empty());
    EXPECT_TRUE(weak.expired());
}

TEST_F(Controls, SegmentedControlSelectsTheTouchedSegment) {
    auto control = SegmentedControl::create(std::vector<std::string>{"A", "B", "C"});
    control->setFrame(Rect(20, 300, 300, 44));
    window->addSubview(control);
    int changes = 0;
    control->addTarget(ControlEventValueChanged, [&] { ++changes; });
    EXPECT_EQ(control->selectedSegmentIndex(), SegmentedControl::kNoSegment);
    touch(Touch::Phase::Began, 270, 320);
    touch(Touch::Phase::Ended, 270, 320);
    EXPECT_EQ(control->selectedSegmentIndex(), 2);
    touch(Touch::Phase::Began, 260, 320);
    touch(Touch::Phase::Ended, 260, 320); // the same segment again changes nothing
    EXPECT_EQ(changes, 1);
    control->setSelectedSegmentIndex(7);
    EXPECT_EQ(control->selectedSegmentIndex(), SegmentedControl::kNoSegment);
    EXPECT_EQ(changes, 1) << "setting the selection in code sends no action";
}

TEST_F(Tracking, DraggingOutAndBackSendsExitThenEnterAndCancellingSendsNoUp) {
    touch(Touch::Phase::Began, 150, 120);
    touch(Touch::Phase::Moved, 160, 125);
    touch(Touch::Phase::Moved, 150, 200);
    EXPECT_FALSE(button->isHighlighted());
    touch(Touch::Phase::Moved, 150, 210);
    touch(Touch::Phase::Moved, 150, 130);
    EXPECT_TRUE(button->isHighlighted());
    touch(Touch::Phase::Ended, 150, 130);
    EXPECT_EQ(events, (Events{"down", "inside", "exit", "outside", "outside", "enter", "inside",
                              "up-inside"}));
    EXPECT_FALSE(button->isTracking());

    events.clear();
    touch(Touch::Phase::Began, 150, 120);
    touch(Touch::Phase::Cancelled, 150, 120);
    touch(Touch::Phase::Ended, 150, 120); // the touch is gone: nothing more arrives
    EXPECT_EQ(events, (Events{"down", "cancel"}));
    EXPECT_FALSE(button->isTracking() || button->isHighlighted());
}

TEST_F(Tracking, MomentarySegmentsReportTheTouchedSegmentOnlyDuringTheAction) {
    auto control = SegmentedControl::create(std::vector<std::string>{"A", "B", "C"});
    control->setFrame(Rect(0, 300, 300, 44));
    control->setMomentary(true);
    window->addSubview(control);
    std::vector<int> reported;
    control->addTarget(ControlEventValueChanged,
                       [&] { reported.push_back(control->selectedSegmentIndex()); });
    for (int i = 0; i < 2; ++i) { // the same segment twice: momentary controls report both
        touch(Touch::Phase::Began, 150, 320);
        touch(Touch::Phase::Ended, 150, 320);
    }
    EXPECT_EQ(reported, (std::vector<int>{1, 1}));
    EXPECT_EQ(control->selectedSegmentIndex(), SegmentedControl::kNoSegment);

    control->setMomentary(false);
    control->setSelectedSegmentIndex(2);
    control->setItems({"A", "B"});
    EXPECT_EQ(control->selectedSegmentIndex(), SegmentedControl::kNoSegment)
        << "the selected segment went away";
    EXPECT_EQ(control->rectForSegment(1), Rect(150, 0, 150, 44));
}
