#include "app/Classes/ViewController.h"
#include "app/Classes/AppDelegate.h"
#include "app/InterfaceClasses.h"
#include "platform/audio/Sound.h"
#include "platform/audio/SystemSounds.h"
#include "platform/foundation/Bundle.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Accelerometer.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/InterfaceLoader.h"
#include "platform/ui/Label.h"
#include "platform/ui/SegmentedControl.h"

#include "tests/support/KessaLaunch.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace ui;

namespace {

class ViewControllerTest : public testing_support::KessaLaunch {
protected:
    void SetUp() override {
        KessaLaunch::SetUp();
        controller = object<kessa::ViewController>("shakerController");
        label = object<Label>("countLabel");
        sensitivity = object<SegmentedControl>("sensitivity");
        observer = audio::SystemSounds::shared().addObserver(
            [this](const std::shared_ptr<const audio::Sound>& sound) {
                sounds.push_back(sound->name);
            });
    }
    void shake(double x, double y, double z) { Accelerometer::shared().deliver({x, y, z, 0}); }
    void chooseSegment(int index) {
        sensitivity->setSelectedSegmentIndex(index);
        sensitivity->sendActionsForControlEvents(ControlEventValueChanged);
    }

    std::shared_ptr<kessa::ViewController> controller;
    std::shared_ptr<Label> label;
    std::shared_ptr<SegmentedControl> sensitivity;
    std::vector<std::string> sounds;
    std::shared_ptr<void> observer;
};

} // namespace

TEST_F(ViewControllerTest, LaunchShowsTheScreenConfigured) {
    auto delegate = std::dynamic_pointer_cast<kessa::AppDelegate>(loaded.objects["appDelegate"]);
    EXPECT_EQ(Application::shared().keyWindow(), delegate->window());
    EXPECT_EQ(controller->view()->window(), delegate->window());
    EXPECT_EQ(controller->sensitivity(), 2);
    EXPECT_EQ(*controller->view()->backgroundColor(), graphics::Color(0.51f, 2.04f, 2.55f, 0.8f));
    EXPECT_DOUBLE_EQ(Accelerometer::shared().updateInterval(), static_cast<double>(0.1f));
    auto button = std::dynamic_pointer_cast<Button>(loaded.objects["resetButton"]);
    for (unsigned state : {ControlStateNormal, ControlStateHighlighted, ControlStateSelected}) {
        auto image = button->backgroundImageForState(state);
        ASSERT_TRUE(image) << "state " << state;
        EXPECT_EQ(image->leftCapWidth(), 12);
        EXPECT_EQ(image->topCapHeight(), 0);
    }
}

TEST_F(ViewControllerTest, ShakeTestCountsOncePerSampleByTheFirstPassingAxis) {
    shake(2.0, 0, 0); // equal to the threshold
    EXPECT_EQ(label->text(), "0");
    shake(2.0001, 0, 0);
    shake(-2.5, 0, 0);
    shake(3, 0, 3);
    shake(0, 2.5, 0);
    shake(0, 0, -2.5);
    EXPECT_EQ(label->text(), "5");
    EXPECT_EQ(sounds, (std::vector<std::string>{"zeee", "zeee", "zeee", "mywhy", "mywhy"}));
}

TEST_F(ViewControllerTest, SegmentsPickTheThresholdAndResetStartsOver) {
    shake(0, 1.5, 0);
    EXPECT_EQ(controller->shakeCount(), 0);
    chooseSegment(2);
    shake(0, 1.5, 0);
    EXPECT_EQ(controller->shakeCount(), 1);
    chooseSegment(1);
    shake(0, 1.5, 0);
    EXPECT_EQ(controller->shakeCount(), 1);
    chooseSegment(SegmentedControl::kNoSegment); // no selection keeps the threshold
    EXPECT_EQ(controller->sensitivity(), 2);
    controller->action("delete")();
    EXPECT_EQ(label->text(), "0");
    shake(5, 0, 0);
    EXPECT_EQ(label->text(), "1");
}

TEST_F(ViewControllerTest, CountIsPlainDecimal) {
    for (int i = 0; i < 1000; ++i)
        shake(9, 0, 0);
    EXPECT_EQ(label->text(), "1000");
}
