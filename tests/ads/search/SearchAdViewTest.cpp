#include "ads/search/SearchAdView.h"
#include "ads/render/AdClickHandler.h"
#include "ads/request/Ad.h"
#include "platform/graphics/RecordingContext.h"
#include "platform/ui/Application.h"
#include "platform/ui/Compositor.h"
#include "platform/ui/Touch.h"
#include "platform/ui/Window.h"
#include "tests/support/CatalogAds.h"
#include "tests/support/GoldenImage.h"

#include <gtest/gtest.h>

#include <algorithm>

using graphics::Rect;
using pennant::SearchAdView;

namespace {

// Stands in for the banner's controller: hears clicks and search requests.
struct SearchOwner : testing_support::CatalogAdOwner, pennant::AdClickHandler {
    void click(pennant::SingleAdView&, const std::optional<foundation::Dictionary>&) override {
        ++clicks;
    }
    void displaySearchWithAd(pennant::Ad&, const std::string& placeholderText,
                             const std::string& webpageURL) override {
        searches.emplace_back(placeholderText, webpageURL);
    }
    int clicks = 0;
    std::vector<std::pair<std::string, std::string>> searches;
};

class SearchBanner : public testing_support::CatalogAds {
protected:
    void SetUp() override {
        CatalogAds::SetUp();
        owner = searchOwner;
        host->background = graphics::Color(0.776f, 0.161f, 0.098f, 1);
        host->text = graphics::Color::whiteColor();
    }
    // The banner at the bottom of a key window, so touches reach it.
    std::shared_ptr<SearchAdView> bannerOnScreen(std::shared_ptr<pennant::Ad> ad) {
        window = ui::Window::create(Rect(0, 0, 320, 480));
        window->makeKeyAndVisible();
        auto view = SearchAdView::create(Rect(0, 432, 320, 48));
        view->setAd(std::move(ad));
        view->setController(searchOwner);
        window->addSubview(view);
        return view;
    }
    int pixelHits() {
        return static_cast<int>(std::ranges::count_if(server.requests(), [](const auto& entry) {
            return entry.path == "/pixel/cpm/web-search";
        }));
    }

    std::shared_ptr<SearchOwner> searchOwner = std::make_shared<SearchOwner>();
    std::shared_ptr<ui::Window> window;
};

} // namespace

TEST_F(SearchBanner, TheFieldReachesTheBrandLineFourPointsFromTheEdge) {
    const auto view = bannerOnScreen(load("web-search"));
    const Rect brand = view->brandRect();
    EXPECT_LE(brand.width(), SearchAdView::kBrandMaxWidth);
    EXPECT_FLOAT_EQ(brand.maxX(), 320 - 4);
    const Rect bar = view->barRect();
    EXPECT_FLOAT_EQ(bar.minX(), 6 + 38 + 1) << "the field starts right after the tile";
    EXPECT_FLOAT_EQ(bar.maxX(), brand.minX());
    EXPECT_EQ(bar.height(), 48);
    EXPECT_FALSE(view->clickAnimationView()) << "a search ad has no action icon";
}

TEST_F(SearchBanner, RepeatedDrawsFireTheDisplayPixelsOnceAndKeepTheFirstRenderDate) {
    const auto view = bannerOnScreen(load("web-search"));
    graphics::RecordingContext context;
    view->drawRect(context, view->bounds());
    clock->advanceBy(3);
    view->drawRect(context, view->bounds());
    EXPECT_DOUBLE_EQ(view->timeIntervalSinceFirstRender(), 3);
    EXPECT_TRUE(foundation::RunLoop::main().runUntil([&] { return pixelHits() == 1; }, kBound));
    foundation::RunLoop::main().runUntil([] { return false; }, foundation::Seconds(0.3));
    EXPECT_EQ(pixelHits(), 1);
}

TEST_F(SearchBanner, ATapOpensTheSearchInsteadOfClicking) {
    const auto ad = load("web-search");
    bannerOnScreen(ad);
    for (auto phase : {ui::Touch::Phase::Began, ui::Touch::Phase::Ended})
        ui::Application::shared().sendTouch(int(phase), {100, 456}, 0);
    EXPECT_EQ(searchOwner->clicks, 0);
    ASSERT_EQ(searchOwner->searches.size(), 1u);
    EXPECT_EQ(searchOwner->searches[0].first, "Search the web");
    EXPECT_EQ(searchOwner->searches[0].second, "") << "the ad has no help page";
    foundation::RunLoop::main().runUntil([] { return false; }, foundation::Seconds(0.3));
    EXPECT_TRUE(std::ranges::none_of(
        server.requests(), [](const auto& entry) { return entry.path.starts_with("/click/"); }));
}

// A search ad without a placeholder of its own offers its text.
TEST_F(SearchBanner, WithoutAPlaceholderTheAdsTextIsOffered) {
    server.addFault(R"({"path": "/ad_source.php", "body": "{\"text\": \"Find it fast\", \"6\": )"
                    R"(\"url\", \"18\": \"search\", \"20\": 1, \"jsonp_url\": )"
                    R"(\"http://ads.pennant.test/click/web-search\", \"204\": )"
                    R"(\"/static/phone/ads/search-tile.png\"}"})");
    const auto ad = load("web-search");
    ASSERT_TRUE(ad->readyForDisplay());
    const auto view = bannerOnScreen(ad);
    view->clickDidHappen();
    ASSERT_EQ(searchOwner->searches.size(), 1u);
    EXPECT_EQ(searchOwner->searches[0].first, "Find it fast");
}

TEST_F(SearchBanner, MatchesItsGolden) {
    const auto view = bannerOnScreen(load("web-search"));
    EXPECT_TRUE(testing_support::GoldenImage::committed().matches(
        *ui::Compositor::renderLayerImage(*view->layer()), "banner-search"));
}
