#include "platform/graphics/Image.h"
#include "platform/graphics/RecordedOperation.h"
#include "platform/graphics/RecordingContext.h"
#include "platform/ui/ImageView.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

using namespace ui;
using graphics::Rect;
using Kind = graphics::RecordedOperation::Kind;

namespace {

std::vector<graphics::RecordedOperation> drawn(View& view, Kind kind) {
    graphics::RecordingContext context;
    view.drawRect(context, view.bounds());
    return context.operationsOfKind(kind);
}

std::shared_ptr<graphics::Image> solidImage(int width, int height) {
    return graphics::Image::fromPixels(
        width, height, std::vector<std::uint32_t>(std::size_t(width * height), 0xff0000ffu));
}

} // namespace

TEST(ImageViewDrawing, PlacesTheImageByContentMode) {
    auto view = ImageView::create(Rect(0, 0, 100, 100));
    EXPECT_TRUE(drawn(*view, Kind::DrawImage).empty());
    view->setImage(solidImage(40, 20));
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
        auto images = drawn(*view, Kind::DrawImage);
        ASSERT_EQ(images.size(), 1u);
        EXPECT_EQ(images[0].rect, rect);
    }
    // Filling overflows the bounds, so that mode alone clips.
    EXPECT_EQ(drawn(*view, Kind::ClipToRect).size(), 0u);
    view->setContentMode(ContentMode::ScaleAspectFill);
    EXPECT_EQ(drawn(*view, Kind::ClipToRect).at(0).rect, Rect(0, 0, 100, 100));
    view->setBounds(Rect(10, 10, 100, 100)); // scrolled content: placement follows the bounds
    view->setContentMode(ContentMode::TopLeft);
    EXPECT_EQ(view->imageRect(), Rect(10, 10, 40, 20));
}
