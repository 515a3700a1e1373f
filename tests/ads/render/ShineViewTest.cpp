#include "ads/render/ShineView.h"
#include "ads/render/GradientView.h"
#include "tests/support/RecordedDrawing.h"

#include <gtest/gtest.h>

using graphics::Color;
using graphics::Point;
using graphics::Rect;
using Kind = graphics::RecordedOperation::Kind;
using pennant::ShineView;
using testing_support::RecordedDrawing;

namespace {
std::vector<std::pair<Point, Point>> lines(ui::View& view) {
    const auto starts = RecordedDrawing::of(view, Kind::MoveTo);
    const auto ends = RecordedDrawing::of(view, Kind::LineTo);
    std::vector<std::pair<Point, Point>> drawn;
    for (std::size_t i = 0; i < starts.size() && i < ends.size(); ++i)
        drawn.emplace_back(starts[i].point, ends[i].point);
    return drawn;
}
} // namespace

TEST(ShineView, TranslucentShineIsASheenOverTheUpperHalfOnTheBaseColour) {
    auto shine = ShineView::create(Rect(0, 0, 80, 40));
    const auto fills = RecordedDrawing::of(*shine, Kind::SetFillColor);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].color, Color::colorWithWhite(0, 0.4f));
    const auto gradients = RecordedDrawing::of(*shine, Kind::DrawLinearGradient);
    ASSERT_EQ(gradients.size(), 1u);
    EXPECT_EQ(gradients[0].gradient.colors, (std::vector<Color>{Color::colorWithWhite(1, 0.4f),
                                                                Color::colorWithWhite(1, 0.16f)}));
    EXPECT_EQ(gradients[0].point, (Point{40, 0}));
    EXPECT_EQ(gradients[0].point2, (Point{40, 20}));
    EXPECT_EQ(gradients[0].gradientOptions, (graphics::GradientOptions{true, false}));
    // Alone, only the top and bottom edges are lined; the state comes back as it was.
    EXPECT_EQ(lines(*shine),
              (std::vector<std::pair<Point, Point>>{{{0, 0}, {80, 0}}, {{0, 40}, {80, 40}}}));
    EXPECT_EQ(RecordedDrawing::of(*shine, Kind::SaveGState).size(),
              RecordedDrawing::of(*shine, Kind::RestoreGState).size());
}

TEST(ShineView, EdgesThatMeetANeighbourGetALightLeftAndADarkRight) {
    auto bar = ui::View::create(Rect(0, 0, 240, 40));
    auto middle = ShineView::create(Rect(80, 0, 80, 40));
    bar->addSubview(middle);
    auto drawn = lines(*middle);
    ASSERT_EQ(drawn.size(), 4u);
    EXPECT_EQ(drawn[2], (std::pair<Point, Point>{{0, 0}, {0, 40}}));
    EXPECT_EQ(drawn[3], (std::pair<Point, Point>{{80, 0}, {80, 40}}));
    const auto strokes = RecordedDrawing::of(*middle, Kind::SetStrokeColor);
    EXPECT_EQ(strokes[2].color, Color::whiteColor());
    EXPECT_EQ(strokes[3].color, Color::blackColor());

    auto last = ShineView::create(Rect(160, 0, 80, 40));
    bar->addSubview(last);
    EXPECT_EQ(lines(*last).size(), 3u) << "flush with the right edge: no dark line";
}

TEST(ShineView, GradientElementsDrawTheOpaqueShineWithTheirOwnValues) {
    const Color base{0.2f, 0.4f, 0.6f, 1};
    auto gradient = pennant::GradientView::create(Rect(0, 0, 320, 48), base, 0.25f, 0.75f);
    EXPECT_FALSE(gradient->userInteractionHistory());
    const auto fills = RecordedDrawing::of(*gradient, Kind::FillRect);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].rect, Rect(0, 0, 320, 48));
    EXPECT_EQ(RecordedDrawing::of(*gradient, Kind::SetFillColor)[0].color, Color::whiteColor());
    const auto gradients = RecordedDrawing::of(*gradient, Kind::DrawLinearGradient);
    ASSERT_EQ(gradients.size(), 1u);
    EXPECT_EQ(gradients[0].gradient.colors, (std::vector<Color>{base.withAlpha(0.25f), base}));
    EXPECT_EQ(gradients[0].point, (Point{160, 0}));
    EXPECT_EQ(gradients[0].point2, (Point{160, 36}));
    EXPECT_EQ(gradients[0].gradientOptions, (graphics::GradientOptions{false, true}));
}
