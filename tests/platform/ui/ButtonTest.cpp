#include "platform/graphics/Image.h"
#include "platform/graphics/RecordedOperation.h"
#include "platform/graphics/RecordingContext.h"
#include "platform/ui/Button.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
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

TEST(ButtonDrawing, CentresTitleInTheInsetAreaAndImageInTheBounds) {
    auto button = Button::create(Rect(0, 0, 100, 40));
    EXPECT_TRUE(drawn(*button, Kind::DrawText).empty());
    button->setTitle("Go", ControlStateNormal);
    button->setTitleEdgeInsets({10, 20, 0, 5});
    button->setImage(solidImage(10, 8), ControlStateNormal);
    auto texts = drawn(*button, Kind::DrawText);
    ASSERT_EQ(texts.size(), 1u) << "no shadow unless one is set";
    EXPECT_EQ(texts[0].rect.minX(), 20);
    EXPECT_EQ(texts[0].rect.width(), 75);
    EXPECT_FLOAT_EQ(texts[0].rect.midY(), 25);
    EXPECT_EQ(texts[0].alignment, graphics::TextAlignment::Center);
    auto images = drawn(*button, Kind::DrawImage);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].rect, Rect(45, 16, 10, 8));
}
