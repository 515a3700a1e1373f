#include "platform/graphics/RecordingContext.h"
#include "platform/graphics/AffineTransform.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Gradient.h"
#include "platform/graphics/Image.h"
#include "platform/graphics/TextAlignment.h"

#include <gtest/gtest.h>

using namespace graphics;
using Kind = RecordedOperation::Kind;

namespace {

std::shared_ptr<Image> tile() {
    return Image::fromPixels(38, 38, std::vector<std::uint32_t>(38 * 38, 0xff336699));
}

} // namespace

TEST(RecordingContext, DumpsABevelledTileBannerAsText) {
    RecordingContext context;
    context.setFillColor(Color::whiteColor());
    context.fillRect(Rect(0, 0, 320, 48));
    context.drawLinearGradient(
        {{Color(0.443f, 0.514f, 0.631f, 0.5f), Color(0.443f, 0.514f, 0.631f, 1)}, {0, 1}}, {160, 0},
        {160, 21}, {.drawsAfterEnd = true});
    context.saveGState();
    context.addRoundedRect(Rect(4.5f, 5, 38, 38), 7);
    context.clipToPath();
    context.drawImage(*tile(), Point{4, 4.5f});
    context.restoreGState();
    context.drawText("Shake!", Rect(51, 16, 60, 15), Font::boldSystemFont(13), Color::whiteColor(),
                     TextAlignment::Left, LineBreakMode::WordWrap);
    EXPECT_EQ(
        context.dump(),
        "setFillColor rgba(1, 1, 1, 1)\n"
        "fillRect (0, 0, 320, 48)\n"
        "drawLinearGradient [rgba(0.443, 0.514, 0.631, 0.5) at 0, rgba(0.443, 0.514, 0.631, 1) "
        "at 1] (160, 0) to (160, 21) afterEnd\n"
        "saveGState\n"
        "addRoundedRect (4.5, 5, 38, 38) radius 7\n"
        "clipToPath\n"
        "drawImage (4, 4.5, 38, 38) image 38x38 caps 0 0\n"
        "restoreGState\n"
        "drawText \"Shake!\" (51, 16, 60, 15) Helvetica-Bold 13 rgba(1, 1, 1, 1) left wordWrap\n");
}

TEST(RecordingContext, KeepsGeometryOfPathsTransformsAndStretchableImages) {
    RecordingContext context;
    context.translate(10, 20);
    context.moveTo({0.25f, 0.25f});
    context.addArcToPoint({99.75f, 0.25f}, {99.75f, 49.75f}, 6.5f);
    context.addArc({50, 50}, 10, 0, 3.1415927f, true);
    context.strokePath();
    context.drawImage(*tile()->stretchableImage(12, 0), Rect(0, 0, 100, 38));

    auto transforms = context.operationsOfKind(Kind::ConcatCTM);
    ASSERT_EQ(transforms.size(), 1u);
    EXPECT_EQ(transforms[0].transform, AffineTransform::translation(10, 20));
    auto corner = context.operationsOfKind(Kind::AddArcToPoint).at(0);
    EXPECT_EQ(corner.point, (Point{99.75f, 0.25f}));
    EXPECT_EQ(corner.point2, (Point{99.75f, 49.75f}));
    EXPECT_EQ(corner.value, 6.5f);
    auto arc = context.operationsOfKind(Kind::AddArc).at(0);
    EXPECT_TRUE(arc.flag);
    EXPECT_EQ(arc.endAngle, 3.1415927f);
    auto image = context.operationsOfKind(Kind::DrawImage).at(0);
    EXPECT_EQ(image.rect, Rect(0, 0, 100, 38));
    EXPECT_EQ(image.leftCapWidth, 12);
    EXPECT_EQ(image.imageSize, (Size{38, 38}));
    EXPECT_EQ(context.operations().back().kind, Kind::DrawImage);
    context.clear();
    EXPECT_TRUE(context.operations().empty());
}
