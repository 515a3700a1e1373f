#include "platform/ui/SearchBar.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Application.h"
#include "platform/ui/Compositor.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/SearchBarDelegate.h"
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

using Log = std::vector<std::string>;

struct Recorder : SearchBarDelegate {
    explicit Recorder(Log& log) : log(log) {}
    std::optional<bool> searchBarShouldBeginEditing(SearchBar&) override {
        log.push_back("should-begin");
        return allowEditing;
    }
    void searchBarTextDidBeginEditing(SearchBar&) override { log.push_back("did-begin"); }
    void searchBarTextDidEndEditing(SearchBar&) override { log.push_back("did-end"); }
    void textDidChange(SearchBar&, const std::string& text) override {
        log.push_back("changed " + text);
    }
    void searchBarSearchButtonClicked(SearchBar&) override { log.push_back("search"); }
    void searchBarCancelButtonClicked(SearchBar&) override { log.push_back("cancel"); }

    Log& log;
    std::optional<bool> allowEditing;
};

class SearchBarTest : public testing_support::VirtualClockFixture {
protected:
    void SetUp() override {
        VirtualClockFixture::SetUp();
        Application::shared().setStatusBarHidden(true);
        window = Window::create(Rect(0, 0, 320, 480));
        window->setBackgroundColor(Color(0.25f, 0.25f, 0.25f, 1));
        bar = SearchBar::create(Rect(0, 0, 320, SearchBar::kHeight));
        bar->setDelegate(recorder);
        bar->setPlaceholder("Search the web");
        bar->setShowsCancelButton(true);
        window->addSubview(bar);
        window->makeKeyAndVisible();
        for (const char* name : {Keyboard::kWillShowNotification, Keyboard::kWillHideNotification})
            subscriptions.push_back(foundation::NotificationCenter::defaultCenter().addObserver(
                name, nullptr,
                [this](const foundation::Notification& n) { log.push_back(n.name); }));
    }
    static void type(const std::string& keys) {
        for (char c : keys)
            EXPECT_TRUE(Keyboard::shared().typeText(std::string(1, c)));
    }
    static void press(KeyboardKey key, int times = 1) {
        for (int i = 0; i < times; ++i)
            EXPECT_TRUE(Keyboard::shared().pressKey(key));
    }

    Log log;
    std::shared_ptr<Recorder> recorder = std::make_shared<Recorder>(log);
    std::vector<foundation::Subscription> subscriptions;
    std::shared_ptr<Window> window;
    std::shared_ptr<SearchBar> bar;
};

} // namespace

TEST_F(SearchBarTest, EveryKeyReachesTheDelegateInTheOrderTyped) {
    ScreenTap::on(*bar, bar->fieldRect());
    type("ab");
    press(KeyboardKey::Backspace, 3);
    press(KeyboardKey::Return);
    press(KeyboardKey::Cancel);
    EXPECT_EQ(log, (Log{"should-begin", "did-begin", Keyboard::kWillShowNotification, "changed a",
                        "changed ab", "changed a", "changed ", "search", "cancel"}));
    EXPECT_TRUE(bar->isFirstResponder()) << "cancelling is the delegate's to act on";
}

TEST_F(SearchBarTest, BackspaceTakesAWholeCharacterAndTheProgramsTextIsNotReported) {
    bar->setText("caf\xC3\xA9");
    ASSERT_TRUE(bar->becomeFirstResponder());
    log.clear();
    press(KeyboardKey::Backspace);
    EXPECT_EQ(bar->text(), "caf");
    EXPECT_EQ(log, Log{"changed caf"});
}

TEST_F(SearchBarTest, ADelegateThatSaysNoKeepsTheKeyboardDown) {
    recorder->allowEditing = false;
    EXPECT_FALSE(bar->becomeFirstResponder());
    EXPECT_FALSE(Keyboard::shared().isVisible());
    EXPECT_FALSE(Keyboard::shared().typeText("a"));
    EXPECT_EQ(log, Log{"should-begin"});
}

TEST_F(SearchBarTest, EndingEditingSendsTheKeyboardDownAsDoesLeavingTheWindow) {
    ASSERT_TRUE(bar->becomeFirstResponder());
    ASSERT_TRUE(bar->resignFirstResponder());
    EXPECT_EQ(log, (Log{"should-begin", "did-begin", Keyboard::kWillShowNotification, "did-end",
                        Keyboard::kWillHideNotification}));
    EXPECT_FALSE(Keyboard::shared().isVisible());

    ASSERT_TRUE(bar->becomeFirstResponder());
    bar->removeFromSuperview();
    EXPECT_FALSE(bar->isFirstResponder());
    EXPECT_FALSE(Keyboard::shared().isVisible());
}

TEST_F(SearchBarTest, EditingPassedToAnotherFieldKeepsTheKeyboardUp) {
    auto other = SearchBar::create(Rect(0, 100, 320, SearchBar::kHeight));
    window->addSubview(other);
    ASSERT_TRUE(bar->becomeFirstResponder());
    ASSERT_TRUE(other->becomeFirstResponder());
    EXPECT_EQ(log, (Log{"should-begin", "did-begin", Keyboard::kWillShowNotification, "did-end"}));
    EXPECT_TRUE(Keyboard::shared().isVisible());
    EXPECT_TRUE(Keyboard::shared().typeText("x"));
    EXPECT_EQ(other->text(), "x");
    EXPECT_EQ(bar->text(), "");
}

TEST_F(SearchBarTest, TheCancelButtonTakesTouchesOnlyWhileShownAndNarrowsTheField) {
    const Rect wide = Rect(0, 0, 320, SearchBar::kHeight);
    ScreenTap::on(*bar, bar->cancelButtonRect());
    EXPECT_EQ(log, Log{"cancel"});
    EXPECT_LT(bar->fieldRect().maxX(), bar->cancelButtonRect().minX());

    bar->setShowsCancelButton(false);
    EXPECT_GT(bar->fieldRect().maxX(), bar->cancelButtonRect().minX());
    EXPECT_TRUE(wide.contains(bar->fieldRect()));
    ScreenTap::on(*bar, bar->cancelButtonRect());
    EXPECT_TRUE(bar->isFirstResponder()) << "the spot is the field's now";
    press(KeyboardKey::Cancel);
    EXPECT_EQ(log.back(), Keyboard::kWillShowNotification);
}

TEST_F(SearchBarTest, GoldenPlaceholderInAGreyField) {
    bar->setTintColor(Color::blackColor());
    EXPECT_TRUE(testing_support::GoldenImage::committed().matches(
        *Compositor::renderLayerImage(*bar->layer()), "search-bar-placeholder"));
}

TEST_F(SearchBarTest, GoldenTextWithTheKeyboardUp) {
    ASSERT_TRUE(bar->becomeFirstResponder());
    type("pizza");
    advance(1);
    EXPECT_TRUE(testing_support::GoldenImage::committed().matches(*Compositor::renderScreen(),
                                                                  "search-bar-typing"));
}
