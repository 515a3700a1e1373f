#include "ads/search/SearchViewController.h"
#include "platform/web/WebView.h"
#include "tests/support/SearchScreenFixture.h"

#include <gtest/gtest.h>

using graphics::Rect;

namespace {

class SearchHelpPageTest : public testing_support::SearchScreenFixture {
protected:
    static constexpr const char* kHelpPage =
        "http://static.pennant.test/static/phone/landing/kessa.html";

    static std::size_t indexOf(const ui::View& view) {
        const auto& siblings = view.superview()->subviews();
        return static_cast<std::size_t>(
            std::ranges::find_if(siblings, [&](const auto& each) { return each.get() == &view; }) -
            siblings.begin());
    }
};

} // namespace

// The help page lies over the list while the field is empty and under it while there is text.
TEST_F(SearchHelpPageTest, TheHelpPageShowsOnlyWhileTheFieldIsEmpty) {
    const auto screen = open(std::nullopt, std::string(kHelpPage));
    const auto page = screen->webView();
    ASSERT_TRUE(page);
    EXPECT_EQ(page->frame(), Rect(0, 48, 320, 432));
    EXPECT_EQ(indexOf(*page), screen->view()->subviews().size() - 1);
    EXPECT_TRUE(foundation::RunLoop::main().runUntil(
        [&] { return !requestsTo("/static/phone/landing/kessa.html").empty(); }, kBound));

    type("k");
    settle(*screen);
    EXPECT_EQ(indexOf(*page), 0u);
    EXPECT_FALSE(screen->suggestionTable()->isHidden());
    EXPECT_GT(indexOf(*screen->suggestionTable()), indexOf(*page));

    ui::Keyboard::shared().pressKey(ui::KeyboardKey::Backspace);
    EXPECT_EQ(indexOf(*page), screen->view()->subviews().size() - 1);

    type("kessa");
    settle(*screen);
    ui::Keyboard::shared().pressKey(ui::KeyboardKey::Return);
    EXPECT_FALSE(page->superview()) << "a search takes the help page away";
}
