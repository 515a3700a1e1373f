#include "platform/ui/KeyboardView.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/SearchBar.h"
#include "platform/ui/SearchBarDelegate.h"
#include "platform/ui/Window.h"
#include "tests/support/ScreenTap.h"
#include "tests/support/VirtualClockFixture.h"

#include <gtest/gtest.h>

using namespace ui;
using graphics::Rect;

namespace {

struct Searches : SearchBarDelegate {
    void searchBarSearchButtonClicked(SearchBar& bar) override { searched.push_back(bar.text()); }
    std::vector<std::string> searched;
};

class KeyboardViewTest : public testing_support::VirtualClockFixture {
protected:
    // A search bar being edited, with the keyboard settled.
    void SetUp() override {
        VirtualClockFixture::SetUp();
        window = Window::create(Rect(0, 0, 320, 480));
        bar = SearchBar::create(Rect(0, 0, 320, SearchBar::kHeight));
        bar->setDelegate(searches);
        window->addSubview(bar);
        window->makeKeyAndVisible();
        ASSERT_TRUE(bar->becomeFirstResponder());
        advance(1);
    }
    static void tapKeys(const std::vector<std::string>& labels) {
        const auto& view = *Keyboard::shared().view();
        for (const auto& label : labels)
            for (const auto& key : view.keys())
                if (key.label == label)
                    testing_support::ScreenTap::on(view, key.rect);
    }

    std::shared_ptr<Searches> searches = std::make_shared<Searches>();
    std::shared_ptr<Window> window;
    std::shared_ptr<SearchBar> bar;
};

} // namespace

TEST_F(KeyboardViewTest, TappedKeysTypeIntoTheFieldInLowerCase) {
    tapKeys({"shift", "H", "I", "space", "Y", "O", "delete", "U", "Search"});
    EXPECT_EQ(bar->text(), "hi yu");
    EXPECT_EQ(searches->searched, std::vector<std::string>{"hi yu"});
}
