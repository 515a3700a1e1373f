#include "ads/render/ImageView.h"
#include "tests/support/RecordedDrawing.h"
#include "tests/support/SolidImage.h"

#include <gtest/gtest.h>

using graphics::Rect;
using Kind = graphics::RecordedOperation::Kind;
using pennant::ImageView;
using testing_support::RecordedDrawing;

TEST(ImageView, PlainImagesFillTheBounds) {
    auto view = ImageView::create(Rect(20, 10, 100, 50));
    view->setImage(testing_support::SolidImage::ofSize(40, 40));
    const auto images = RecordedDrawing::of(*view, Kind::DrawImage);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].rect, Rect(0, 0, 100, 50));
    EXPECT_TRUE(RecordedDrawing::of(*view, Kind::StrokePath).empty());
}

TEST(ImageView, BevelledImagesAreInsetClippedRoundAndOutlined) {
    auto view = ImageView::create(Rect(0, 0, 100, 50));
    view->setImage(testing_support::SolidImage::ofSize(40, 40));
    view->setBeveled(true);
    view->setBevelWidth(0.5f);
    view->setBevelRadius(6.5f);
    const auto shapes = RecordedDrawing::of(*view, Kind::AddRoundedRect);
    ASSERT_EQ(shapes.size(), 2u);
    EXPECT_EQ(shapes[0].rect, Rect(0.5f, 0.5f, 99, 49));
    EXPECT_FLOAT_EQ(shapes[0].value, 7.0f);
    EXPECT_EQ(RecordedDrawing::of(*view, Kind::DrawImage)[0].rect, Rect(0.5f, 0.5f, 99, 49));
    EXPECT_EQ(shapes[1].rect, Rect(0.25f, 0.25f, 99.5f, 49.5f));
    EXPECT_FLOAT_EQ(shapes[1].value, 6.5f);
    EXPECT_EQ(RecordedDrawing::of(*view, Kind::SetLineWidth)[0].value, 0.5f);
    EXPECT_EQ(RecordedDrawing::of(*view, Kind::SetStrokeColor)[0].color,
              ImageView::kDefaultBevelDarkColor);

    // The clip ends with the image; the outline is stroked outside it.
    graphics::RecordingContext context;
    view->drawRect(context, view->bounds());
    std::vector<Kind> order;
    for (const auto& op : context.operations())
        if (op.kind == Kind::ClipToPath || op.kind == Kind::RestoreGState ||
            op.kind == Kind::StrokePath)
            order.push_back(op.kind);
    EXPECT_EQ(order, (std::vector<Kind>{Kind::ClipToPath, Kind::RestoreGState, Kind::StrokePath}));
}
