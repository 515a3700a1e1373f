#include "platform/ui/ImageView.h"
#include "platform/graphics/RecordedOperation.h"
#include "tests/support/RecordedDrawing.h"
#include "tests/support/SolidImage.h"

#include <gtest/gtest.h>

#include <utility>

using namespace ui;
using graphics::Rect;
using Kind = graphics::RecordedOperation::Kind;
using testing_support::RecordedDrawing;
using testing_support::SolidImage;

TEST(ImageViewDrawing, PlacesTheImageByContentMode) {
    auto view = ImageView::create(Rect(0, 0, 100, 100));
    EXPECT_TRUE(RecordedDrawing::of(*view, Kind::DrawImage).empty());
    view->setImage(SolidImage::ofSize(40, 20));
    const std::pair<ContentMode, Rect> expected[] = {
        {ContentMode::ScaleToFill, Rect(0, 0, 100, 100)},
        {ContentMode::ScaleAspectFit, Rect(0, 25, 100, 50)},
        {ContentMode::ScaleAspectFill, Rect(-50, 0, 200, 100)},
        {ContentMode::Center, Rect(30, 40, 40, 20)},
        {ContentMode::Top, Rect(30, 0, 40, 20)},
        {ContentMode::Bottom, Rect(30, 80, 40, 20)},
        {ContentMode::Left, Rect(0, 40, 40, 20)},
        {ContentMode::Right, Rect(60, 40, 40, 20)},
        {ContentMode::TopLeft, Rect(0, 0, 40, 20)},
        {ContentMode::TopRight, Rect(60, 0, 40, 20)},
        {ContentMode::BottomLeft, Rect(0, 80, 40, 20)},
        {ContentMode::BottomRight, Rect(60, 80, 40, 20)},
    };
    for (const auto& [mode, rect] : expected) {
        view->setContentMode(mode);
        EXPECT_EQ(view->imageRect(), rect) << "mode " << int(mode);
        auto images = RecordedDrawing::of(*view, Kind::DrawImage);
        ASSERT_EQ(images.size(), 1u);
        EXPECT_EQ(images[0].rect, rect);
    }
    // Filling overflows the bounds, so that mode alone clips.
    EXPECT_EQ(RecordedDrawing::of(*view, Kind::ClipToRect).size(), 0u);
    view->setContentMode(ContentMode::ScaleAspectFill);
    EXPECT_EQ(RecordedDrawing::of(*view, Kind::ClipToRect).at(0).rect, Rect(0, 0, 100, 100));
    view->setBounds(Rect(10, 10, 100, 100)); // scrolled content: placement follows the bounds
    view->setContentMode(ContentMode::TopLeft);
    EXPECT_EQ(view->imageRect(), Rect(10, 10, 40, 20));
}
