#include "platform/ui/Keyboard.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/ui/Application.h"
#include "platform/ui/DescriptionReader.h"
#include "platform/ui/KeyboardView.h"
#include "platform/ui/Window.h"
#include "tests/support/VirtualClockFixture.h"

#include <gtest/gtest.h>

using namespace ui;
using graphics::Rect;

namespace {

struct Heard {
    std::string name;
    double time;
    Rect begin, end, bounds;
    double duration;
};

class KeyboardTest : public testing_support::VirtualClockFixture {
protected:
    void SetUp() override {
        VirtualClockFixture::SetUp();
        for (const char* name : {Keyboard::kWillShowNotification, Keyboard::kDidShowNotification,
                                 Keyboard::kWillHideNotification, Keyboard::kDidHideNotification})
            subscriptions.push_back(foundation::NotificationCenter::defaultCenter().addObserver(
                name, nullptr, [this](const foundation::Notification& n) {
                    auto rect = [&](const char* key) {
                        return DescriptionReader::rect(n.userInfo[key]).value_or(Rect());
                    };
                    heard.push_back(
                        {n.name, now(), rect(Keyboard::kFrameBeginUserInfoKey),
                         rect(Keyboard::kFrameEndUserInfoKey), rect(Keyboard::kBoundsUserInfoKey),
                         n.userInfo[Keyboard::kAnimationDurationUserInfoKey].doubleValue()});
                }));
    }
    // Shows the keyboard in the orientation and lets it settle.
    Keyboard& shownIn(int orientation) {
        Application::shared().setStatusBarOrientation(orientation);
        auto& keyboard = Keyboard::shared();
        keyboard.show("Search");
        advance(1);
        return keyboard;
    }
    // Where the keyboard's own bounds end up on the screen.
    static Rect onScreen(const Keyboard& keyboard) {
        const auto& view = *keyboard.view();
        return view.convertRectToView(view.bounds(), nullptr);
    }

    std::vector<foundation::Subscription> subscriptions;
    std::vector<Heard> heard;
};

void expectNear(const Rect& actual, const Rect& expected) {
    EXPECT_NEAR(actual.minX(), expected.minX(), 0.01) << "x";
    EXPECT_NEAR(actual.minY(), expected.minY(), 0.01) << "y";
    EXPECT_NEAR(actual.width(), expected.width(), 0.01) << "width";
    EXPECT_NEAR(actual.height(), expected.height(), 0.01) << "height";
}

} // namespace

TEST_F(KeyboardTest, InPortraitItRisesFromBelowTheScreenAndTellsWhenItHasArrivedAndGone) {
    auto& keyboard = Keyboard::shared();
    keyboard.show("Search");
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0].name, Keyboard::kWillShowNotification);
    EXPECT_EQ(heard[0].begin, Rect(0, 480, 320, 216));
    EXPECT_EQ(heard[0].end, Rect(0, 264, 320, 216));
    EXPECT_EQ(heard[0].bounds, Rect(0, 0, 320, 216));
    EXPECT_DOUBLE_EQ(heard[0].duration, Keyboard::kAnimationSeconds);
    EXPECT_FALSE(keyboard.window()->isHidden());
    advance(1);
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_EQ(heard[1].name, Keyboard::kDidShowNotification);
    EXPECT_DOUBLE_EQ(heard[1].time, kStart + Keyboard::kAnimationSeconds);
    expectNear(onScreen(keyboard), Rect(0, 264, 320, 216));

    keyboard.hide();
    advance(1);
    ASSERT_EQ(heard.size(), 4u);
    EXPECT_EQ(heard[2].name, Keyboard::kWillHideNotification);
    EXPECT_EQ(heard[2].begin, Rect(0, 264, 320, 216));
    EXPECT_EQ(heard[2].end, Rect(0, 480, 320, 216));
    EXPECT_EQ(heard[3].name, Keyboard::kDidHideNotification);
    EXPECT_TRUE(keyboard.window()->isHidden());
}

TEST_F(KeyboardTest, InLandscapeItIsShorterAndLiesAlongTheInterfacesBottomEdge) {
    // Landscape right has the interface's bottom at the screen's left edge; left, at its right.
    auto& keyboard = shownIn(3);
    EXPECT_EQ(heard[0].bounds, Rect(0, 0, 480, 162));
    EXPECT_EQ(heard[0].begin, Rect(-162, 0, 162, 480));
    EXPECT_EQ(heard[0].end, Rect(0, 0, 162, 480));
    expectNear(onScreen(keyboard), Rect(0, 0, 162, 480));
    keyboard.hide();
    advance(1);

    shownIn(4);
    EXPECT_EQ(heard.back().end, Rect(158, 0, 162, 480));
    expectNear(onScreen(keyboard), Rect(158, 0, 162, 480));
}

TEST_F(KeyboardTest, TheKeysTurnWithTheInterface) {
    // Q then W, from the user's left to right: down the screen in landscape right, up it in
    // landscape left.
    auto qAndW = [](const Keyboard& keyboard) {
        const auto& view = *keyboard.view();
        const auto keys = view.keys();
        return std::pair(view.convertRectToView(keys[0].rect, nullptr),
                         view.convertRectToView(keys[1].rect, nullptr));
    };
    auto& keyboard = shownIn(3);
    auto [q, w] = qAndW(keyboard);
    EXPECT_LT(q.maxY(), w.minY());
    keyboard.hide();
    advance(1);
    std::tie(q, w) = qAndW(shownIn(4));
    EXPECT_GT(q.minY(), w.maxY());
}

TEST_F(KeyboardTest, ShowingTwiceOnlyRetitlesTheReturnKeyAndAQuickHideDropsTheArrival) {
    auto& keyboard = Keyboard::shared();
    keyboard.show("Go");
    keyboard.show("Search");
    EXPECT_EQ(keyboard.view()->keys().back().label, "Search");
    keyboard.hide();
    advance(1);
    std::vector<std::string> names;
    for (const auto& h : heard)
        names.push_back(h.name);
    EXPECT_EQ(names, (std::vector<std::string>{Keyboard::kWillShowNotification,
                                               Keyboard::kWillHideNotification,
                                               Keyboard::kDidHideNotification}));
    EXPECT_FALSE(keyboard.isVisible());
}

TEST_F(KeyboardTest, TurningTheInterfaceWhileItIsUpMovesItToTheNewBottomEdge) {
    auto& keyboard = shownIn(1);
    heard.clear();
    Application::shared().setStatusBarOrientation(3);
    advance(1);
    std::vector<std::string> names;
    for (const auto& h : heard)
        names.push_back(h.name);
    EXPECT_EQ(names, (std::vector<std::string>{
                         Keyboard::kWillHideNotification, Keyboard::kDidHideNotification,
                         Keyboard::kWillShowNotification, Keyboard::kDidShowNotification}));
    EXPECT_EQ(heard[0].bounds, Rect(0, 0, 320, 216)) << "it leaves as it was";
    EXPECT_EQ(heard[3].bounds, Rect(0, 0, 480, 162));
    EXPECT_EQ(keyboard.view()->returnKeyTitle(), "Search");
    expectNear(onScreen(keyboard), Rect(0, 0, 162, 480));
}

TEST_F(KeyboardTest, KeysWithoutATextFieldGoNowhere) {
    auto& keyboard = shownIn(1);
    EXPECT_FALSE(keyboard.typeText("a"));
    EXPECT_FALSE(keyboard.pressKey(KeyboardKey::Return));
}
