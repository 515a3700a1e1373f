#include "platform/ui/Button.h"
#include "platform/graphics/RecordedOperation.h"
#include "tests/support/RecordedDrawing.h"
#include "tests/support/SolidImage.h"

#include <gtest/gtest.h>

using namespace ui;
using graphics::Rect;
using Kind = graphics::RecordedOperation::Kind;
using testing_support::RecordedDrawing;
using testing_support::SolidImage;

TEST(ButtonDrawing, CentresTitleInTheInsetAreaAndImageInTheBounds) {
    auto button = Button::create(Rect(0, 0, 100, 40));
    EXPECT_TRUE(RecordedDrawing::of(*button, Kind::DrawText).empty());
    button->setTitle("Go", ControlStateNormal);
    button->setTitleEdgeInsets({10, 20, 0, 5});
    button->setImage(SolidImage::ofSize(10, 8), ControlStateNormal);
    auto texts = RecordedDrawing::of(*button, Kind::DrawText);
    ASSERT_EQ(texts.size(), 1u) << "no shadow unless one is set";
    EXPECT_EQ(texts[0].rect.minX(), 20);
    EXPECT_EQ(texts[0].rect.width(), 75);
    EXPECT_FLOAT_EQ(texts[0].rect.midY(), 25);
    EXPECT_EQ(texts[0].alignment, graphics::TextAlignment::Center);
    auto images = RecordedDrawing::of(*button, Kind::DrawImage);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].rect, Rect(45, 16, 10, 8));
}
