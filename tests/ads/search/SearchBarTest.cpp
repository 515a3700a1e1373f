#include "ads/search/SearchBar.h"
#include "ads/render/OldSchoolSingleAdView.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Compositor.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/SearchBar.h"
#include "tests/support/SolidImage.h"
#include "tests/support/VirtualClockFixture.h"

#include <gtest/gtest.h>

using graphics::Rect;
using pennant::SearchBar;

namespace {

class SearchBarTest : public testing_support::VirtualClockFixture {};

} // namespace

TEST_F(SearchBarTest, WithoutATileThePlatformBarFillsTheFrame) {
    const auto bar = SearchBar::create(Rect(0, 0, 320, 48), nullptr);
    EXPECT_EQ(bar->searchBar()->frame(), Rect(0, 0, 320, 48));
    EXPECT_FALSE(bar->tileImageView());
    EXPECT_EQ(bar->subviews().size(), 1u);
    EXPECT_TRUE(bar->searchBar()->showsCancelButton());
}

TEST_F(SearchBarTest, WithATileTheBarStartsAfterItOverItsOwnEdgeContinued) {
    const auto tile = testing_support::SolidImage::ofSize(38, 38);
    const auto bar = SearchBar::create(Rect(0, 0, 320, 48), tile);
    EXPECT_EQ(bar->searchBar()->frame(), Rect(45, 0, 275, 48));
    ASSERT_TRUE(bar->tileImageView());
    EXPECT_EQ(bar->subviews().front(), bar->tileImageView()) << "the picture lies behind the bar";
    const auto picture = bar->tileImageView()->image();
    ASSERT_TRUE(picture);
    const auto edge = ui::Compositor::renderLayerImage(*bar->searchBar()->layer());
    for (int y : {2, 24, 45}) {
        EXPECT_EQ(picture->colorAt(1, y), edge->colorAt(0, y)) << y;
        EXPECT_EQ(picture->colorAt(300, y), edge->colorAt(0, y)) << y;
    }
    EXPECT_EQ(picture->colorAt(25, 24), tile->colorAt(19, 19)) << "the tile is drawn on top";
}
