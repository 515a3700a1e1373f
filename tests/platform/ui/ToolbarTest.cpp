#include "platform/ui/Toolbar.h"
#include "platform/graphics/Image.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Compositor.h"
#include "platform/ui/Window.h"
#include "tests/support/BarIcons.h"
#include "tests/support/GoldenImage.h"
#include "tests/support/ScreenTap.h"

#include <gtest/gtest.h>

using namespace ui;
using graphics::Color;
using graphics::Rect;
using testing_support::BarIcons;

namespace {

class ToolbarTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = Window::create(Rect(0, 0, 320, 480));
        toolbar = Toolbar::create(Rect(0, 436, 320, 44));
        toolbar->setTintColor(Color::blackColor());
        window->addSubview(toolbar);
        window->makeKeyAndVisible();
    }
    std::shared_ptr<BarButtonItem> counting(BarButtonSystemItem system, int& count) {
        return BarButtonItem::create(system, [&count] { ++count; });
    }
    std::shared_ptr<BarButtonItem> image(bool left, int& count) {
        return BarButtonItem::create(BarIcons::arrow(left), BarButtonItemStyle::Plain,
                                     [&count] { ++count; });
    }
    static std::shared_ptr<BarButtonItem> space() {
        return BarButtonItem::create(BarButtonSystemItem::FlexibleSpace, nullptr);
    }
    // The browser's bottom bar: back, forward, reload, action with spaces between.
    void browserItems() {
        back = image(true, backs);
        forward = image(false, forwards);
        toolbar->setItems({back, space(), forward, space(),
                           counting(BarButtonSystemItem::Refresh, reloads), space(),
                           counting(BarButtonSystemItem::Action, actions)});
    }

    std::shared_ptr<Window> window;
    std::shared_ptr<Toolbar> toolbar;
    std::shared_ptr<BarButtonItem> back, forward;
    int backs = 0, forwards = 0, reloads = 0, actions = 0;
};

} // namespace

TEST_F(ToolbarTest, FlexibleSpacesShareTheRoomEqually) {
    browserItems();
    const auto placed = toolbar->placedItems();
    ASSERT_EQ(placed.size(), 4u);
    EXPECT_FLOAT_EQ(placed.front().frame.minX(), 6);
    EXPECT_FLOAT_EQ(placed.back().frame.maxX(), 314);
    const float gap = placed[1].frame.minX() - placed[0].frame.maxX();
    EXPECT_GT(gap, 40);
    for (std::size_t i = 2; i < placed.size(); ++i)
        EXPECT_FLOAT_EQ(placed[i].frame.minX() - placed[i - 1].frame.maxX(), gap);
    for (const auto& p : placed)
        EXPECT_EQ(p.frame.height(), 44);
}

TEST_F(ToolbarTest, WithoutSpacesItemsPackFromTheLeftAndNoneGoesNegative) {
    int n = 0;
    toolbar->setItems(
        {counting(BarButtonSystemItem::Stop, n), counting(BarButtonSystemItem::Action, n)});
    const auto placed = toolbar->placedItems();
    EXPECT_EQ(placed[1].frame.minX(), placed[0].frame.maxX());
    toolbar->setFrame(Rect(0, 436, 60, 44));
    toolbar->setItems({counting(BarButtonSystemItem::Stop, n), space(),
                       counting(BarButtonSystemItem::Action, n)});
    const auto crowded = toolbar->placedItems();
    EXPECT_EQ(crowded[1].frame.minX(), crowded[0].frame.maxX());
}

TEST_F(ToolbarTest, ATapRunsTheItemUnderItOnlyWhenEnabled) {
    browserItems();
    back->setEnabled(false);
    for (const auto& p : toolbar->placedItems())
        testing_support::ScreenTap::on(*toolbar, p.frame);
    EXPECT_EQ(backs, 0);
    EXPECT_EQ(forwards, 1);
    EXPECT_EQ(reloads, 1);
    EXPECT_EQ(actions, 1);
    const auto placed = toolbar->placedItems();
    testing_support::ScreenTap::on(*toolbar, Rect(placed[0].frame.maxX() + 5, 0, 2, 44));
    EXPECT_EQ(backs + forwards + reloads + actions, 3) << "a space does nothing";
}

TEST_F(ToolbarTest, ATouchThatEndsOnAnotherItemRunsNeither) {
    browserItems();
    const auto placed = toolbar->placedItems();
    auto& application = Application::shared();
    const auto at = [&](const Rect& r) {
        return toolbar->convertPointToView({r.midX(), r.midY()}, nullptr);
    };
    application.sendTouch(int(Touch::Phase::Began), at(placed[1].frame), 0);
    application.sendTouch(int(Touch::Phase::Ended), at(placed[2].frame), 0);
    EXPECT_EQ(forwards + reloads, 0);
}

TEST_F(ToolbarTest, LooksLikeTheBrowsersBottomBar) {
    browserItems();
    back->setEnabled(false);
    EXPECT_TRUE(testing_support::GoldenImage::committed().matches(
        *Compositor::renderLayerImage(*toolbar->layer()), "toolbar-browser"));
}
