#include "platform/ui/AlertView.h"
#include "platform/graphics/Image.h"
#include "platform/ui/AlertStack.h"
#include "platform/ui/AlertViewDelegate.h"
#include "platform/ui/Application.h"
#include "platform/ui/Compositor.h"
#include "platform/ui/Window.h"
#include "tests/support/GoldenImage.h"
#include "tests/support/ScreenTap.h"
#include "tests/support/VirtualClockFixture.h"

#include <gtest/gtest.h>

using namespace ui;
using graphics::Color;
using graphics::Rect;
using testing_support::ScreenTap;

namespace {

struct Recorder : AlertViewDelegate {
    std::vector<std::string> heard;
    void clickedButtonAtIndex(AlertView&, int index) override {
        heard.push_back("clicked " + std::to_string(index));
    }
    void willDismissWithButtonIndex(AlertView&, int index) override {
        heard.push_back("will " + std::to_string(index));
    }
    void didDismissWithButtonIndex(AlertView&, int index) override {
        heard.push_back("did " + std::to_string(index));
    }
};

class AlertViewTest : public testing_support::VirtualClockFixture {
protected:
    void SetUp() override {
        VirtualClockFixture::SetUp();
        background = Window::create(Rect(0, 0, 320, 480));
        background->setBackgroundColor(Color(0.85f, 0.87f, 0.9f, 1));
        background->makeKeyAndVisible();
    }
    std::shared_ptr<AlertView> shown(std::string title, std::string message,
                                     std::vector<std::string> others) {
        auto alert = AlertView::create(std::move(title), std::move(message), recorder,
                                       std::optional<std::string>("Cancel"), others);
        alert->show();
        advance(1);
        return alert;
    }
    static void tap(const AlertView& alert, int index) {
        ScreenTap::on(alert, alert.rectForButton(index));
    }

    std::shared_ptr<Window> background;
    std::shared_ptr<Recorder> recorder = std::make_shared<Recorder>();
};

} // namespace

TEST_F(AlertViewTest, TwoButtonsSitSideBySideBelowTheTitleInACentredPanel) {
    auto alert = shown("Call 555-0100?", "", {"Call"});
    EXPECT_EQ(alert->cancelButtonIndex(), 0);
    EXPECT_EQ(alert->firstOtherButtonIndex(), 1);
    EXPECT_EQ(alert->buttonTitleAtIndex(1), "Call");
    const Rect frame = alert->frame();
    EXPECT_FLOAT_EQ(frame.minX(), 18);
    EXPECT_FLOAT_EQ(frame.midY(), 240);
    const Rect cancel = alert->rectForButton(0);
    const Rect call = alert->rectForButton(1);
    EXPECT_EQ(cancel.minY(), call.minY());
    EXPECT_EQ(cancel.width(), call.width());
    EXPECT_LT(cancel.maxX(), call.minX());
    EXPECT_FLOAT_EQ(call.maxX(), AlertView::kWidth - 12);
    EXPECT_LT(alert->titleRect().maxY(), cancel.minY());
    EXPECT_TRUE(alert->messageRect().isEmpty());
}

TEST_F(AlertViewTest, OtherCountsStackTheButtonsUnderTheMessage) {
    auto alert = shown("Whoops", "That page could not be loaded.", {"Retry", "Details"});
    ASSERT_EQ(alert->numberOfButtons(), 3);
    EXPECT_GT(alert->messageRect().minY(), alert->titleRect().maxY());
    EXPECT_LT(alert->messageRect().maxY(), alert->rectForButton(0).minY());
    for (int i = 1; i < 3; ++i) {
        EXPECT_EQ(alert->rectForButton(i).minX(), alert->rectForButton(0).minX());
        EXPECT_GT(alert->rectForButton(i).minY(), alert->rectForButton(i - 1).maxY());
    }
}

TEST_F(AlertViewTest, ANewMessageWhileShownLaysThePanelOutAgain) {
    auto alert = shown("Whoops", "Short.", {});
    const Rect before = alert->frame();
    alert->setMessage("That page could not be loaded, and this second line of explanation makes "
                      "the message wrap onto several lines.");
    EXPECT_GT(alert->frame().height(), before.height());
    EXPECT_FLOAT_EQ(alert->frame().midY(), 240);
    EXPECT_GT(alert->messageRect().height(), 20);
    EXPECT_GT(alert->rectForButton(0).minY(), alert->messageRect().maxY());
    EXPECT_TRUE(alert->frame().contains(
        alert->convertRectToView(alert->rectForButton(0), alert->superview().get())));
}

TEST_F(AlertViewTest, AMessageTooLongForTheScreenKeepsThePanelOnIt) {
    std::string message;
    for (int i = 0; i < 60; ++i)
        message += "A very long message. ";
    auto alert = shown("Whoops", message, {"Ok"});
    EXPECT_GE(alert->frame().minY(), 20);
    EXPECT_LE(alert->frame().maxY(), 460);
}

TEST_F(AlertViewTest, ATapTellsTheDelegateOnceAndTakesTheAlertAway) {
    auto alert = shown("Call 555-0100?", "", {"Call"});
    ASSERT_TRUE(alert->isVisible());
    tap(*alert, 1);
    EXPECT_FALSE(alert->isVisible());
    EXPECT_EQ(recorder->heard, (std::vector<std::string>{"clicked 1", "will 1"}));
    tap(*alert, 1);
    advance(1);
    EXPECT_EQ(recorder->heard, (std::vector<std::string>{"clicked 1", "will 1", "did 1"}));
    EXPECT_EQ(Application::shared().windows(), (std::vector<std::shared_ptr<Window>>{background}));
    EXPECT_EQ(Application::shared().keyWindow(), background);
}

TEST_F(AlertViewTest, ATapBetweenButtonsDoesNothing) {
    auto alert = shown("Call 555-0100?", "", {"Call"});
    const Rect cancel = alert->rectForButton(0);
    ScreenTap::at(alert->convertPointToView({cancel.maxX() + 2, cancel.midY()}, nullptr));
    ScreenTap::at({5, 5});
    EXPECT_TRUE(alert->isVisible());
    EXPECT_TRUE(recorder->heard.empty());
}

TEST_F(AlertViewTest, DismissingInCodeTellsOnlyTheDismissalOnce) {
    auto alert = shown("Whoops", "Gone.", {});
    alert->dismissWithClickedButtonIndex(0, false);
    alert->dismissWithClickedButtonIndex(0, false);
    EXPECT_EQ(recorder->heard, (std::vector<std::string>{"will 0", "did 0"}));
    EXPECT_TRUE(AlertStack::shared().views().empty());
    alert->show();
    advance(1);
    EXPECT_TRUE(alert->isVisible()) << "an alert can be shown again";
    EXPECT_FLOAT_EQ(alert->alpha(), 1);
}

TEST_F(AlertViewTest, ShownAgainWhileFadingOutItStaysOnScreen) {
    auto alert = shown("Whoops", "First failure.", {});
    alert->dismissWithClickedButtonIndex(0, true);
    alert->show();
    advance(1);
    EXPECT_TRUE(alert->isVisible());
    ASSERT_TRUE(alert->window());
    EXPECT_FALSE(alert->window()->isHidden());
    EXPECT_EQ(AlertStack::shared().views(), (std::vector<std::shared_ptr<ModalView>>{alert}));
}

TEST_F(AlertViewTest, AShownAlertLivesOnWithoutItsCreator) {
    std::weak_ptr<AlertView> weak = shown("Add Pennant to your Address Book?", "", {"Add"});
    ASSERT_FALSE(weak.expired());
    tap(*weak.lock(), 1);
    advance(1);
    EXPECT_EQ(recorder->heard.front(), "clicked 1");
    EXPECT_TRUE(weak.expired()) << "it goes once dismissed";
}

TEST_F(AlertViewTest, TheLastAlertShownIsOnTopAndTheEarlierOneComesBack) {
    auto first = shown("First", "", {});
    auto second = shown("Second", "", {});
    EXPECT_EQ(AlertStack::shared().top(), second);
    EXPECT_TRUE(first->window()->isHidden());
    EXPECT_FALSE(second->window()->isHidden());
    tap(*second, 0);
    advance(1);
    EXPECT_EQ(AlertStack::shared().top(), first);
    EXPECT_FALSE(first->window()->isHidden());
    EXPECT_TRUE(first->isVisible());
    tap(*first, 0);
    advance(1);
    EXPECT_EQ(recorder->heard, (std::vector<std::string>{"clicked 0", "will 0", "did 0",
                                                         "clicked 0", "will 0", "did 0"}));
    EXPECT_TRUE(AlertStack::shared().views().empty());
}

TEST_F(AlertViewTest, LooksLikeTheSystemAlert) {
    auto golden = testing_support::GoldenImage::committed();
    auto alert = shown("Call 555-0100?", "", {"Call"});
    EXPECT_TRUE(golden.matches(*Compositor::renderScreen(), "alert-two-buttons"));
    alert->dismissWithClickedButtonIndex(0, false);
    std::string message = "We could not reach that page. ";
    for (int i = 0; i < 12; ++i)
        message += "Please check your connection and try again in a moment. ";
    shown("Whoops", message, {});
    EXPECT_TRUE(golden.matches(*Compositor::renderScreen(), "alert-long-message"));
}
