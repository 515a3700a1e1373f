#include "ads/search/SearchViewController.h"
#include "ads/request/Ad.h"
#include "ads/search/SearchBar.h"
#include "platform/animation/Layer.h"
#include "platform/animation/LayerValues.h"
#include "platform/foundation/Data.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Compositor.h"
#include "platform/ui/IndexPath.h"
#include "platform/ui/TableViewCell.h"
#include "tests/support/GoldenImage.h"
#include "tests/support/ScreenTap.h"
#include "tests/support/SearchScreenFixture.h"

#include <gtest/gtest.h>

using foundation::RunLoop;
using graphics::Rect;
using pennant::SearchViewController;
using Suggestions = std::vector<std::string>;

namespace {

class SearchViewControllerTest : public testing_support::SearchScreenFixture {
protected:
    // The catalogue's suggestion service, holding back its answers for one query.
    std::string slowFor(const std::string& query) const {
        return *ad->suggestionUrl() + "&slow_query=" + query + "&slow_seconds=2";
    }
};

Suggestions suggestionsFrom(const std::string& body) {
    return SearchViewController::suggestionsFromAnswer(foundation::Data::fromString(body));
}

} // namespace

TEST_F(SearchViewControllerTest, TypingAsksForSuggestionsAndShowsTheAnswer) {
    const auto screen = open();
    EXPECT_TRUE(screen->searchBar()->searchBar()->isFirstResponder());
    EXPECT_TRUE(screen->suggestionTable()->isHidden());
    type("pi");
    EXPECT_EQ(screen->activeSuggestionDownloadCount(), 2u);
    settle(*screen);
    EXPECT_EQ(screen->suggestionList(), Suggestions{"pizza near me"});
    EXPECT_FALSE(screen->suggestionTable()->isHidden());
    EXPECT_EQ(screen->suggestionTable()->numberOfRowsInSection(0), 1);

    // The two requests travel side by side, so the server may see them in either order.
    std::vector<std::string> queries;
    for (const auto& request : requestsTo("/search/suggest"))
        queries.push_back(request.query);
    std::ranges::sort(queries);
    EXPECT_EQ(queries, (Suggestions{"src=banner&query=p", "src=banner&query=pi"}));
}

// The answer for "p" is held back until "pi" has been typed and answered.
TEST_F(SearchViewControllerTest, ALateAnswerForAnEarlierTextChangesNothing) {
    const auto screen = open(slowFor("p"));
    // No loop time passes between the keys: loop time waits for answers in flight.
    type("p");
    type("i");
    EXPECT_TRUE(
        RunLoop::main().runUntil([&] { return !screen->suggestionList().empty(); }, kBound));
    EXPECT_EQ(screen->activeSuggestionDownloadCount(), 1u) << "the answer for p is still out";
    settle(*screen);
    EXPECT_EQ(requestsTo("/search/suggest").size(), 2u);
    EXPECT_EQ(screen->suggestionList(), Suggestions{"pizza near me"});
    EXPECT_EQ(screen->suggestionTable()->numberOfRowsInSection(0), 1);
}

TEST_F(SearchViewControllerTest, EmptyingTheFieldHidesAndEmptiesTheList) {
    const auto screen = open();
    type("k");
    settle(*screen);
    ASSERT_EQ(screen->suggestionList().size(), 3u);
    ui::Keyboard::shared().pressKey(ui::KeyboardKey::Backspace);
    EXPECT_TRUE(screen->suggestionTable()->isHidden());
    EXPECT_TRUE(screen->suggestionList().empty());
    EXPECT_EQ(screen->suggestionTable()->numberOfRowsInSection(0), 0);
    EXPECT_EQ(requestsTo("/search/suggest").size(), 1u) << "no request for the empty text";
}

TEST_F(SearchViewControllerTest, WithoutASuggestionServiceTypingOnlyHidesTheList) {
    const auto screen = open(std::string());
    type("pizza");
    advance(1);
    EXPECT_EQ(screen->activeSuggestionDownloadCount(), 0u);
    EXPECT_TRUE(screen->suggestionTable()->isHidden());
    EXPECT_TRUE(requestsTo("/search/suggest").empty());
}

TEST_F(SearchViewControllerTest, AnswersThatSayNothingEmptyTheListButKeepItShown) {
    const auto screen = open();
    type("b");
    settle(*screen);
    ASSERT_FALSE(screen->suggestionTable()->isHidden());
    server.addFault(R"({"path": "/search/suggest", "body": "{\"data\": []}"})");
    type("r");
    settle(*screen);
    EXPECT_TRUE(screen->suggestionList().empty());
    EXPECT_FALSE(screen->suggestionTable()->isHidden());

    // A failed request leaves the list as it was.
    type("e");
    settle(*screen);
    ASSERT_EQ(screen->suggestionList(), Suggestions{"bread recipes"});
    server.addFault(R"({"path": "/search/suggest", "status": 500})");
    type("a");
    settle(*screen);
    EXPECT_EQ(screen->suggestionList(), Suggestions{"bread recipes"});
}

TEST(SuggestionAnswers, OnlyBoundedTextEntriesAreKept) {
    EXPECT_EQ(suggestionsFrom(R"({"data": ["a", 1, null, {"b": "c"}, ["d"], true, "e"]})"),
              (Suggestions{"a", "e"}));
    for (const char* nothing : {"", "not json", "[\"a\"]", R"({"data": "a"})", R"({"list": ["a"]})",
                                R"({"data": [1, 2]})"})
        EXPECT_TRUE(suggestionsFrom(nothing).empty()) << nothing;

    std::string many = R"({"data": [)";
    for (int i = 0; i < 80; ++i)
        many += (i ? ",\"" : "\"") + std::to_string(i) + "\"";
    const auto list = suggestionsFrom(many + "]}");
    ASSERT_EQ(list.size(), SearchViewController::kMaxSuggestions);
    EXPECT_EQ(list.back(), "49");

    // 255 letters and then two-byte characters: the cut falls after the first of them.
    const std::string letters(255, 'x');
    const auto longRow = suggestionsFrom(R"({"data": [")" + letters + "\u00fc\u00fc\u00fc\"]}");
    ASSERT_EQ(longRow.size(), 1u);
    EXPECT_EQ(longRow[0], letters + "\u00fc");
    EXPECT_EQ(suggestionsFrom(R"({"data": ["\u00fc\u00fc"]})"), Suggestions{"\u00fc\u00fc"});
}

TEST_F(SearchViewControllerTest, APickedSuggestionIsSentAsTheClickWithTheQuery) {
    const auto screen = open();
    type("pi");
    settle(*screen);
    const auto table = screen->suggestionTable();
    const Rect tableFrame = table->frame();
    testing_support::ScreenTap::on(*table, table->rectForRowAtIndexPath({0, 0}));
    EXPECT_TRUE(RunLoop::main().runUntil([&] { return owner->clickSuccesses == 1; }, kBound));

    const auto clicks = requestsTo("/click/web-search");
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].method, "POST");
    EXPECT_NE(clicks[0].body.find(R"("query":"pizza near me")"), std::string::npos);
    EXPECT_EQ(screen->searchBar()->text(), "pizza near me");
    EXPECT_FALSE(screen->searchBar()->isUserInteractionEnabled());
    EXPECT_FALSE(screen->searchBar()->searchBar()->showsCancelButton());
    EXPECT_FALSE(table->superview());
    ASSERT_TRUE(screen->spinner());
    EXPECT_TRUE(screen->spinner()->isAnimating());
    EXPECT_EQ(screen->spinner()->frame(),
              Rect(tableFrame.midX() - 12.5f, tableFrame.midY() - 12.5f, 25, 25));
}

TEST_F(SearchViewControllerTest, TheSearchKeySendsTheFieldEvenWhenEmpty) {
    std::size_t sent = 0;
    for (const std::string text : {"garden", ""}) {
        const auto screen = open(std::string());
        type(text);
        ui::Keyboard::shared().pressKey(ui::KeyboardKey::Return);
        ++sent;
        EXPECT_TRUE(RunLoop::main().runUntil(
            [&] { return requestsTo("/click/web-search").size() == sent; }, kBound));
        const auto clicks = requestsTo("/click/web-search");
        ASSERT_EQ(clicks.size(), sent);
        EXPECT_NE(clicks.back().body.find("\"query\":\"" + text + "\""), std::string::npos);
        screen->relinquishScreen();
        advance(2);
        // An ad is clicked once; the next search needs a fresh one.
        ad = load("web-search");
    }
}

TEST_F(SearchViewControllerTest, CancelClosesTheScreenBackOntoTheBanner) {
    const auto screen = open();
    const auto window = screen->modalWindow();
    ASSERT_TRUE(window);
    EXPECT_TRUE(banner->isHidden());
    screen->searchBar()->searchBar()->cancelKeyPressed();
    EXPECT_FALSE(ui::Keyboard::shared().isVisible());
    advance(0.2);
    const float alpha = window->layer()->presentationAt(RunLoop::main().now()).opacity;
    EXPECT_GT(alpha, 0.1f);
    EXPECT_LT(alpha, 0.9f);
    advance(2);
    EXPECT_FALSE(pennant::ModalViewController::onScreenModalViewController());
    EXPECT_FALSE(screen->modalWindow());
    EXPECT_FALSE(banner->isHidden());
    EXPECT_TRUE(requestsTo("/click/web-search").empty());
}

TEST_F(SearchViewControllerTest, TheKeyboardShortensTheListInEitherOrientation) {
    const auto screen = open();
    const auto table = screen->suggestionTable();
    EXPECT_EQ(table->frame(), Rect(0, 48, 320, 480 - 48 - ui::Keyboard::kPortraitHeight));

    ui::Device::current().setOrientation(3);
    ui::Application::shared().setStatusBarOrientation(3);
    advance(1);
    EXPECT_EQ(screen->view()->bounds(), Rect(0, 0, 480, 320));
    EXPECT_EQ(table->frame(), Rect(0, 48, 480, 320 - 48 - ui::Keyboard::kLandscapeHeight));

    screen->searchBar()->resignFirstResponder();
    EXPECT_EQ(table->frame(), Rect(0, 48, 480, 320 - 48));
}

TEST_F(SearchViewControllerTest, TheScreenWithSuggestionsMatchesItsGolden) {
    const auto screen = open();
    type("p");
    settle(*screen);
    advance(1);
    EXPECT_TRUE(testing_support::GoldenImage::committed().matches(*ui::Compositor::renderScreen(),
                                                                  "search-screen-suggestions"));
}
