#include "platform/ui/InterfaceLoader.h"
#include "platform/foundation/Dictionary.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/ClassRegistry.h"
#include "platform/ui/Label.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

#include <gtest/gtest.h>

using namespace ui;
using foundation::Dictionary;
using foundation::Value;

namespace {

Value rect(double x, double y, double w, double h) {
    return Value(
        Value::Array{Value::number(x), Value::number(y), Value::number(w), Value::number(h)});
}

Value description(Value::Array objects) {
    return Value(Dictionary{{"objects", Value(std::move(objects))}});
}

std::string loadError(Value::Array objects, const char* delegate = "") {
    auto loaded = InterfaceLoader::load(
        Value(Dictionary{{"objects", Value(std::move(objects))}, {"delegate", delegate}}));
    return loaded ? std::string() : loaded.error().message;
}

Value object(const char* name, const char* className, Value::Array subviews = {}) {
    return Value(
        Dictionary{{"name", name}, {"class", className}, {"subviews", Value(std::move(subviews))}});
}

struct Counter : ViewController {
    UI_CREATABLE(Counter)
    int presses = 0;
    std::weak_ptr<Label> label;
    bool setOutlet(const std::string& name,
                   const std::shared_ptr<InterfaceObject>& object) override {
        if (name == "label") {
            label = std::dynamic_pointer_cast<Label>(object);
            return !label.expired();
        }
        return ViewController::setOutlet(name, object);
    }
    std::function<void()> action(const std::string& name) override {
        if (name == "press")
            return [this] { ++presses; };
        return {};
    }
};

} // namespace

TEST(InterfaceLoader, CreatesConfiguresAndConnectsObjects) {
    ClassRegistry::shared().registerClass<Counter>("Counter");
    auto loaded = InterfaceLoader::load(description({
        Value(Dictionary{{"name", "root"},
                         {"class", "View"},
                         {"frame", rect(0, 20, 320, 460)},
                         {"subviews", Value(Value::Array{Value("text"), Value("go")})}}),
        Value(Dictionary{
            {"name", "text"}, {"class", "Label"}, {"text", "0"}, {"frame", rect(1, 2, 3, 4)}}),
        Value(Dictionary{{"name", "go"},
                         {"class", "Button"},
                         {"title", "Go"},
                         {"actions", Value(Value::Array{Value(Dictionary{{"event", "touchUpInside"},
                                                                         {"target", "owner"},
                                                                         {"action", "press"}})})}}),
        Value(Dictionary{{"name", "owner"},
                         {"class", "Counter"},
                         {"outlets", Value(Dictionary{{"view", "root"}, {"label", "text"}})}}),
    }));
    ASSERT_TRUE(loaded) << loaded.error().message;
    auto owner = std::dynamic_pointer_cast<Counter>(loaded.value().objects["owner"]);
    auto button = std::dynamic_pointer_cast<Button>(loaded.value().objects["go"]);
    ASSERT_TRUE(owner && button);
    EXPECT_EQ(owner->label.lock()->text(), "0");
    EXPECT_EQ(owner->label.lock()->frame(), graphics::Rect(1, 2, 3, 4));
    EXPECT_EQ(owner->view()->subviews().size(), 2u);
    EXPECT_EQ(button->currentTitle(), "Go");
    button->sendActionsForControlEvents(ControlEventTouchUpInside);
    EXPECT_EQ(owner->presses, 1);
}

TEST(InterfaceLoader, NamesWhatCannotBeLoaded) {
    auto unknownClass =
        InterfaceLoader::load(description({Value(Dictionary{{"name", "x"}, {"class", "Nope"}})}));
    ASSERT_FALSE(unknownClass);
    EXPECT_NE(unknownClass.error().message.find("Nope"), std::string::npos);
    auto badOutlet = InterfaceLoader::load(description({
        Value(Dictionary{{"name", "a"},
                         {"class", "ViewController"},
                         {"outlets", Value(Dictionary{{"view", "missing"}})}}),
    }));
    ASSERT_FALSE(badOutlet);
    EXPECT_NE(badOutlet.error().message.find("missing"), std::string::npos);
    auto badAction = InterfaceLoader::load(description({
        Value(Dictionary{
            {"name", "b"},
            {"class", "Button"},
            {"actions", Value(Value::Array{Value(Dictionary{
                            {"event", "touchUpInside"}, {"target", "b"}, {"action", "x"}})})}}),
    }));
    EXPECT_FALSE(badAction);
    EXPECT_FALSE(InterfaceLoader::load(Value("not a description")));
    EXPECT_FALSE(InterfaceLoader::loadFile("/nonexistent/MainWindow.plist"));
}

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
