#include "platform/ui/NavigationBar.h"
#include "platform/graphics/Image.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Compositor.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/Window.h"
#include "tests/support/GoldenImage.h"
#include "tests/support/ScreenTap.h"

#include <gtest/gtest.h>

using namespace ui;
using graphics::Color;
using graphics::Rect;

namespace {

class NavigationBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = Window::create(Rect(0, 0, 320, 480));
        bar = NavigationBar::create(Rect(0, 0, 320, 44));
        bar->setTintColor(Color::blackColor());
        item = NavigationItem::create("");
        item->setLeftBarButtonItem(
            BarButtonItem::create(BarButtonSystemItem::Done, [this] { ++done; }));
        bar->pushNavigationItem(item);
        window->addSubview(bar);
        window->makeKeyAndVisible();
    }

    std::shared_ptr<Window> window;
    std::shared_ptr<NavigationBar> bar;
    std::shared_ptr<NavigationItem> item;
    int done = 0;
};

} // namespace

TEST_F(NavigationBarTest, DoneSitsAtTheLeftAndTheTitleIsCentredClearOfIt) {
    item->setTitle("Pennant Mobile Advertising - the very long page title");
    const auto placed = bar->placedItems();
    ASSERT_EQ(placed.size(), 1u);
    EXPECT_FLOAT_EQ(placed[0].frame.minX(), 5);
    const Rect title = bar->titleRect();
    EXPECT_GT(title.minX(), placed[0].frame.maxX());
    EXPECT_FLOAT_EQ(title.midX(), 160);
    EXPECT_EQ(bar->dumpText(), item->title());
}

TEST_F(NavigationBarTest, TappingDoneRunsItsAction) {
    testing_support::ScreenTap::on(*bar, bar->placedItems()[0].frame);
    testing_support::ScreenTap::on(*bar, Rect(150, 0, 20, 44));
    EXPECT_EQ(done, 1);
}

TEST_F(NavigationBarTest, LooksLikeTheBrowsersTitleBar) {
    item->setTitle("Pennant");
    EXPECT_TRUE(testing_support::GoldenImage::committed().matches(
        *Compositor::renderLayerImage(*bar->layer()), "navigation-bar-done"));
}
