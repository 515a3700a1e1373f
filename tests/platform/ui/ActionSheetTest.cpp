#include "platform/ui/ActionSheet.h"
#include "platform/animation/Layer.h"
#include "platform/graphics/Image.h"
#include "platform/ui/ActionSheetDelegate.h"
#include "platform/ui/AlertStack.h"
#include "platform/ui/Compositor.h"
#include "platform/ui/Toolbar.h"
#include "platform/ui/Window.h"
#include "tests/support/GoldenImage.h"
#include "tests/support/ScreenTap.h"
#include "tests/support/VirtualClockFixture.h"

#include <gtest/gtest.h>

using namespace ui;
using graphics::Color;
using graphics::Rect;

namespace {

struct Clicks : ActionSheetDelegate {
    std::vector<int> clicked;
    std::vector<int> dismissed;
    void clickedButtonAtIndex(ActionSheet&, int index) override { clicked.push_back(index); }
    void didDismissWithButtonIndex(ActionSheet&, int index) override { dismissed.push_back(index); }
};

class ActionSheetTest : public testing_support::VirtualClockFixture {
protected:
    void SetUp() override {
        VirtualClockFixture::SetUp();
        screen = Window::create(Rect(0, 0, 320, 480));
        screen->setBackgroundColor(Color::whiteColor());
        toolbar = Toolbar::create(Rect(0, 436, 320, 44));
        toolbar->setTintColor(Color::blackColor());
        screen->addSubview(toolbar);
        screen->makeKeyAndVisible();
    }
    std::shared_ptr<ActionSheet> browserMenu() {
        return ActionSheet::create(std::nullopt, clicks, std::optional<std::string>("Cancel"),
                                   std::nullopt,
                                   std::vector<std::string>{"Launch Safari", "Email link"});
    }

    std::shared_ptr<Window> screen;
    std::shared_ptr<Toolbar> toolbar;
    std::shared_ptr<Clicks> clicks = std::make_shared<Clicks>();
};

} // namespace

TEST_F(ActionSheetTest, IndexesRunDestructiveThenOthersThenCancel) {
    auto sheet = ActionSheet::create(
        std::optional<std::string>("Really?"), clicks, std::optional<std::string>("Cancel"),
        std::optional<std::string>("Delete"), std::vector<std::string>{"Keep", "Archive"});
    EXPECT_EQ(sheet->buttonTitles(),
              (std::vector<std::string>{"Delete", "Keep", "Archive", "Cancel"}));
    EXPECT_EQ(sheet->destructiveButtonIndex(), 0);
    EXPECT_EQ(sheet->cancelButtonIndex(), 3);
    auto plain = browserMenu();
    EXPECT_EQ(plain->destructiveButtonIndex(), ActionSheet::kNoButton);
    EXPECT_EQ(plain->cancelButtonIndex(), 2);
}

TEST_F(ActionSheetTest, SlidesUpFromTheBottomOverTheToolbar) {
    auto sheet = browserMenu();
    sheet->showFromToolbar(*toolbar);
    const Rect resting = sheet->frame();
    EXPECT_FLOAT_EQ(resting.maxY(), 480);
    EXPECT_FLOAT_EQ(resting.width(), 320);
    advance(0.15);
    const float midway = sheet->layer()->presentationAt(now()).position.y;
    EXPECT_GT(midway, resting.midY());
    advance(1);
    EXPECT_FLOAT_EQ(sheet->layer()->presentationAt(now()).position.y, resting.midY());
    for (int i = 1; i < 3; ++i)
        EXPECT_GT(sheet->rectForButton(i).minY(), sheet->rectForButton(i - 1).maxY());
    EXPECT_GT(sheet->rectForButton(2).minY() - sheet->rectForButton(1).maxY(),
              sheet->rectForButton(1).minY() - sheet->rectForButton(0).maxY())
        << "cancel stands apart";
}

TEST_F(ActionSheetTest, ATapTellsTheDelegateAndSlidesTheSheetAway) {
    auto sheet = browserMenu();
    sheet->showFromToolbar(*toolbar);
    sheet.reset();
    advance(1);
    auto shown = std::dynamic_pointer_cast<ActionSheet>(AlertStack::shared().top());
    ASSERT_TRUE(shown);
    testing_support::ScreenTap::on(*shown, shown->rectForButton(1));
    EXPECT_EQ(clicks->clicked, std::vector<int>{1});
    EXPECT_TRUE(clicks->dismissed.empty()) << "not before it has slid away";
    advance(1);
    EXPECT_EQ(clicks->dismissed, std::vector<int>{1});
    EXPECT_EQ(AlertStack::shared().top(), nullptr);
}

TEST_F(ActionSheetTest, LooksLikeTheSystemSheet) {
    browserMenu()->showFromToolbar(*toolbar);
    advance(1);
    EXPECT_TRUE(testing_support::GoldenImage::committed().matches(*Compositor::renderScreen(),
                                                                  "action-sheet"));
}
