#include "sim/ViewTreeDump.h"
#include "platform/foundation/Dictionary.h"
#include "platform/graphics/AffineTransform.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"
#include "json/JSONSerializer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

using foundation::Value;
using graphics::Rect;

namespace {

std::string text(const Value& value) {
    return json::JSONSerializer().serializeObject(value).value();
}

// A view of the kind that shows text without being a label or a button.
class Caption : public ui::View {
    UI_CREATABLE(Caption)
    std::string className() const override { return "Caption"; }
    std::optional<std::string> dumpText() const override { return "Tap here"; }

protected:
    using View::View;
};

} // namespace

TEST(ViewTreeDump, GivesFramesInWindowCoordinatesAndWhatControlsShow) {
    auto window = ui::Window::create(Rect(0, 100, 320, 380)); // frames below ignore this offset
    auto parent = ui::View::create(Rect(10, 20, 200, 100));
    parent->setTransform(graphics::AffineTransform::rotation(float(M_PI / 2)));
    parent->setInterfaceName("panel");
    auto label = ui::Label::create(Rect(0, 0, 50, 40));
    label->setText("6");
    label->setAlpha(0.5f);
    parent->addSubview(label);
    auto button = ui::Button::create(Rect(0, 200, 100, 40));
    button->setTitle("Reset", ui::ControlStateNormal);
    auto segments = ui::SegmentedControl::create(std::vector<std::string>{"Firm", "Gentle"});
    segments->setSelectedSegmentIndex(1);
    auto turned = ui::View::create(Rect(0, 300, 60, 60)); // a quarter turn in place
    turned->setTransform(graphics::AffineTransform::rotation(float(M_PI / 2)));
    for (const auto& view :
         std::vector<std::shared_ptr<ui::View>>{parent, button, segments, turned})
        window->addSubview(view);

    const Value root = sim::ViewTreeDump::dump(*window);
    EXPECT_EQ(text(root["frame"]), "[0,100,320,380]");
    EXPECT_EQ(root["class"].stringValue(), "Window");
    const auto& children = root["children"].asArray();
    ASSERT_EQ(children.size(), 4u);
    EXPECT_EQ(children[0]["name"].stringValue(), "panel");
    EXPECT_EQ(text(children[0]["frame"]), "[60,-30,100,200]");
    EXPECT_EQ(text(children[0]["bounds"]), "[0,0,200,100]");
    EXPECT_EQ(text(children[0]["transform"]), "[0,1,-1,0,0,0]");
    // The label's corner (0, 0) is the panel's top-left, turned to the top-right.
    EXPECT_EQ(
        text(children[0]["children"][0]),
        R"({"class":"Label","frame":[120,-30,40,50],"hidden":false,"alpha":0.5,"text":"6","tag":0,)"
        R"("bounds":[0,0,50,40],"children":[]})");
    EXPECT_EQ(children[1]["text"].stringValue(), "Reset");
    EXPECT_EQ(children[2]["selected"].intValue(), 1);
    EXPECT_EQ(text(children[3]["frame"]), "[0,300,60,60]") << "no negative zeros from rounding";
    EXPECT_FALSE(children[3].asDictionary().contains("name"));
}

TEST(ViewTreeDump, ListsTheWindowsWithTheirLevelAndKeyAndTheStatusBar) {
    auto& application = ui::Application::shared();
    application.setStatusBarOrientation(3);
    auto main = ui::Window::create(Rect(0, 0, 320, 480));
    main->makeKeyAndVisible();
    auto caption = Caption::create(Rect(10, 10, 100, 20));
    caption->setTag(7);
    main->addSubview(caption);
    auto alert = ui::Window::create(Rect(20, 100, 280, 200));
    alert->setWindowLevel(ui::Window::kLevelAlert);
    alert->setHidden(false); // shown above, but the key window stays the one below
    auto gone = ui::Window::create(Rect(0, 0, 320, 480));
    gone->setHidden(false);
    gone->setHidden(true);

    Value screen(sim::ViewTreeDump::screen(application));
    EXPECT_EQ(text(screen["statusBar"]),
              R"({"hidden":false,"orientation":3,"frame":[300,0,20,480]})");
    const auto& windows = screen["windows"].asArray();
    ASSERT_EQ(windows.size(), 2u) << "hidden windows and the status bar's are not the app's";
    EXPECT_EQ(windows[0]["level"].intValue(), 0);
    EXPECT_TRUE(windows[0]["key"].boolValue());
    EXPECT_EQ(windows[1]["level"].intValue(), 2000);
    EXPECT_FALSE(windows[1]["key"].boolValue());
    EXPECT_FALSE(windows[0].asDictionary().contains("transform"));
    const Value& shown = windows[0]["children"][0];
    EXPECT_EQ(shown["class"].stringValue(), "Caption");
    EXPECT_EQ(shown["tag"].intValue(), 7);
    EXPECT_EQ(shown["text"].stringValue(), "Tap here");

    application.setStatusBarHidden(true);
    screen = Value(sim::ViewTreeDump::screen(application));
    EXPECT_EQ(text(screen["statusBar"]), R"({"hidden":true,"orientation":3,"frame":[0,0,0,0]})");
}
