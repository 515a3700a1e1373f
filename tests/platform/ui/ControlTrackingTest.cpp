#include "platform/foundation/Dictionary.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/InterfaceLoader.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/Window.h"

#include <gtest/gtest.h>

using namespace ui;
using graphics::Rect;

namespace {

class Tracking : public ::testing::Test {
protected:
    void SetUp() override {
        window = Window::create(Rect(0, 0, 320, 480));
        window->makeKeyAndVisible();
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
    void touch(Touch::Phase phase, float x, float y) {
        Application::shared().sendTouch(int(phase), {x, y}, 0);
    }

    std::shared_ptr<Window> window;
    std::shared_ptr<Button> button;
    std::vector<std::string> events;
};

using Events = std::vector<std::string>;

} // namespace

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

namespace {

using foundation::Dictionary;
using foundation::Value;

std::string loadError(Value::Array objects, const char* delegate = "") {
    auto loaded = InterfaceLoader::load(
        Value(Dictionary{{"objects", Value(std::move(objects))}, {"delegate", delegate}}));
    return loaded ? std::string() : loaded.error().message;
}

Value object(const char* name, const char* className, Value::Array subviews = {}) {
    return Value(
        Dictionary{{"name", name}, {"class", className}, {"subviews", Value(std::move(subviews))}});
}

} // namespace

TEST(InterfaceLoaderChecks, RefusesAmbiguousOrMisplacedObjectsNamingThem) {
    EXPECT_EQ(loadError({object("a", "View", {Value("b")}), object("b", "Label")}, "").size(), 0u);
    EXPECT_NE(loadError({object("a", "View"), object("a", "Label")}).find("unique"),
              std::string::npos);
    EXPECT_NE(loadError({object("", "View")}).find("unique"), std::string::npos);
    EXPECT_NE(loadError({object("owner", "ViewController", {Value("v")}), object("v", "View")})
                  .find("owner: subview \"v\""),
              std::string::npos);
    EXPECT_NE(loadError({object("v", "View", {Value("ghost")})}).find("ghost"), std::string::npos);
    EXPECT_NE(loadError({object("v", "View")}, "appDelegate").find("appDelegate"),
              std::string::npos);
}
