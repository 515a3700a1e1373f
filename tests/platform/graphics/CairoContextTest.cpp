#include "platform/graphics/CairoContext.h"
#include "platform/graphics/AffineTransform.h"
#include "platform/graphics/Color.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Gradient.h"
#include "platform/graphics/Image.h"
#include "platform/graphics/TextAlignment.h"

#include <gtest/gtest.h>

#include <string>

using namespace graphics;

namespace {

constexpr float tolerance = 2.0f / 255;

void expectColor(const Image& image, int x, int y, const Color& expected) {
    Color actual = image.colorAt(x, y);
    SCOPED_TRACE(testing::Message() << "pixel (" << x << ", " << y << ")");
    EXPECT_NEAR(actual.red(), expected.red(), tolerance);
    EXPECT_NEAR(actual.green(), expected.green(), tolerance);
    EXPECT_NEAR(actual.blue(), expected.blue(), tolerance);
    EXPECT_NEAR(actual.alpha(), expected.alpha(), tolerance);
}

std::vector<std::uint32_t> pixelsOf(const Image& image) {
    return {image.pixels(), image.pixels() + image.pixelWidth() * image.pixelHeight()};
}

std::shared_ptr<Image> render(Size size, const std::function<void(Context&)>& draw) {
    CairoContext context(size);
    draw(context);
    return context.makeImage();
}

// Columns [0, 12) red, column 12 green, columns 13..24 blue: the shape of a button whose
// left cap is 12.
std::shared_ptr<Image> cappedStrip() {
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 25; ++x)
            pixels.push_back(x < 12 ? 0xffff0000 : x == 12 ? 0xff00ff00 : 0xff0000ff);
    return Image::fromPixels(25, 4, pixels);
}

bool hasInk(const Image& image, const Rect& area) {
    for (int y = int(area.minY()); y < int(area.maxY()); ++y)
        for (int x = int(area.minX()); x < int(area.maxX()); ++x)
            if (image.colorAt(x, y).alpha() > 0)
                return true;
    return false;
}

} // namespace

TEST(CairoContext, ComponentsAboveOneSaturateAndAlphaBlends) {
    auto image = render({4, 4}, [](Context& c) {
        c.setFillColor(Color(0.51f, 2.04f, 2.55f, 0.8f));
        c.fillRect(Rect(0, 0, 2, 4));
        c.setFillColor(Color::whiteColor());
        c.fillRect(Rect(2, 0, 2, 4));
        c.setFillColor(Color(1, 0, 0, 0.8f));
        c.fillRect(Rect(2, 0, 2, 4));
    });
    expectColor(*image, 0, 0, Color(0.51f, 1, 1, 0.8f));
    expectColor(*image, 3, 3, Color(1, 0.2f, 0.2f, 1));
}

TEST(CairoContext, GlobalAlphaIsPartOfTheSavedState) {
    auto image = render({4, 2}, [](Context& c) {
        c.setFillColor(Color::whiteColor());
        c.fillRect(Rect(0, 0, 4, 2));
        c.setFillColor(Color::blackColor());
        c.saveGState();
        c.setAlpha(0.5f);
        c.fillRect(Rect(0, 0, 2, 2));
        c.restoreGState();
        c.fillRect(Rect(2, 0, 2, 2));
    });
    expectColor(*image, 0, 0, Color::colorWithWhite(0.5f, 1));
    expectColor(*image, 3, 0, Color::blackColor());
}

TEST(CairoContext, TransparencyLayerCompositesOverlapsOnce) {
    auto image = render({6, 2}, [](Context& c) {
        c.setAlpha(0.5f);
        c.beginTransparencyLayer();
        c.setFillColor(Color::redColor());
        c.fillRect(Rect(0, 0, 4, 2));
        c.fillRect(Rect(2, 0, 4, 2));
        c.endTransparencyLayer();
    });
    expectColor(*image, 0, 0, Color(1, 0, 0, 0.5f));
    expectColor(*image, 3, 0, Color(1, 0, 0, 0.5f));
}

TEST(CairoContext, ABoundedTransparencyLayerKeepsEdgesAndLeavesOutWhatFallsOutside) {
    // A turned, fractional area: the pixels it covers in part must come out as without bounds.
    const Rect area(1.3f, 0.6f, 3.1f, 2.7f);
    auto group = [&](bool bounded, bool spill) {
        return render({12, 12}, [&](Context& c) {
            c.translate(6, 1);
            c.rotate(0.5f);
            c.setAlpha(0.5f);
            bounded ? c.beginTransparencyLayer(area) : c.beginTransparencyLayer();
            c.setFillColor(Color::redColor());
            c.fillRect(area);
            if (spill)
                c.fillRect(Rect(4, 6, 2, 2));
            c.endTransparencyLayer();
        });
    };
    const auto bounded = pixelsOf(*group(true, false));
    EXPECT_EQ(bounded, pixelsOf(*group(false, false)));
    EXPECT_EQ(pixelsOf(*group(true, true)), bounded);
    EXPECT_NE(pixelsOf(*group(false, true)), bounded);
}

TEST(CairoContext, NineSliceKeepsCapsUnscaled) {
    auto button = cappedStrip()->stretchableImage(12, 0);
    auto image = render({100, 8}, [&](Context& c) { c.drawImage(*button, Rect(0, 0, 100, 8)); });
    for (int x : {0, 11})
        expectColor(*image, x, 4, Color::redColor());
    for (int x : {12, 50, 87})
        expectColor(*image, x, 4, Color::greenColor());
    for (int x : {88, 99})
        expectColor(*image, x, 4, Color::blueColor());
    expectColor(*image, 50, 7, Color::greenColor());
}

TEST(CairoContext, ImagesDrawUprightAndScaled) {
    std::vector<std::uint32_t> pixels = {0xffff0000, 0xffff0000, 0xff0000ff, 0xff0000ff};
    auto topRedBottomBlue = Image::fromPixels(2, 2, pixels);
    auto image = render({10, 20}, [&](Context& c) {
        c.setAlpha(0.8f);
        c.drawImage(*topRedBottomBlue, Rect(0, 0, 10, 20));
    });
    expectColor(*image, 5, 1, Color(1, 0, 0, 0.8f));
    expectColor(*image, 5, 18, Color(0, 0, 1, 0.8f));
}

TEST(CairoContext, GradientExtendsOnlyWhereAsked) {
    Gradient blackToWhite{{Color::blackColor(), Color::whiteColor()}, {}};
    auto drawBand = [&](GradientOptions options) {
        return render({4, 30}, [&](Context& c) {
            c.drawLinearGradient(blackToWhite, {2, 10}, {2, 20}, options);
        });
    };
    auto plain = drawBand({});
    expectColor(*plain, 1, 5, Color::clearColor());
    expectColor(*plain, 1, 25, Color::clearColor());
    EXPECT_NEAR(plain->colorAt(1, 15).red(), 0.55f, 0.06f);

    auto before = drawBand({.drawsBeforeStart = true});
    expectColor(*before, 1, 2, Color::blackColor());
    expectColor(*before, 1, 25, Color::clearColor());

    auto after = drawBand({.drawsAfterEnd = true});
    expectColor(*after, 1, 2, Color::clearColor());
    expectColor(*after, 1, 28, Color::whiteColor());
}

TEST(CairoContext, RectOperationsLeaveTheCurrentPathAlone) {
    auto image = render({20, 20}, [](Context& c) {
        c.moveTo({0, 0});
        c.lineTo({20, 0});
        c.setFillColor(Color::blueColor());
        c.fillRect(Rect(16, 16, 4, 4));
        c.lineTo({0, 20});
        c.closePath();
        c.setFillColor(Color::redColor());
        c.fillPath();
    });
    expectColor(*image, 3, 3, Color::redColor());
    expectColor(*image, 15, 2, Color::redColor());
    expectColor(*image, 2, 15, Color::redColor());
    expectColor(*image, 18, 18, Color::blueColor());
}

TEST(CairoContext, RoundedRectClipCutsCorners) {
    auto image = render({40, 40}, [](Context& c) {
        c.addRoundedRect(Rect(0, 0, 40, 40), 10);
        c.clipToPath();
        c.setFillColor(Color::greenColor());
        c.fillRect(Rect(0, 0, 40, 40));
    });
    for (auto [x, y] : {std::pair{0, 0}, {39, 0}, {0, 39}, {39, 39}})
        expectColor(*image, x, y, Color::clearColor());
    for (auto [x, y] : {std::pair{20, 0}, {0, 20}, {5, 5}, {34, 34}})
        expectColor(*image, x, y, Color::greenColor());
}

TEST(CairoContext, ArcsSweepLikeThePlatformInViewCoordinates) {
    // From angle 0 to π/2 without the clockwise flag passes through the lower right.
    auto image = render({40, 40}, [](Context& c) {
        c.moveTo({20, 20});
        c.addArc({20, 20}, 15, 0, 1.5707964f, false);
        c.closePath();
        c.setFillColor(Color::redColor());
        c.fillPath();
    });
    expectColor(*image, 28, 28, Color::redColor());
    expectColor(*image, 12, 12, Color::clearColor());
}

TEST(CairoContext, TextKeepsToItsRectangleAndAlignment) {
    Font font = Font::boldSystemFont(13);
    float line = font.sizeOfText("x").height;
    auto image = render({200, 60}, [&](Context& c) {
        c.drawText("Shake it, the quick brown fox", Rect(0, 0, 200, line), font,
                   Color::blackColor(), TextAlignment::Right, LineBreakMode::WordWrap);
        c.drawText("ok", Rect(0, 30, 200, 30), font, Color(0, 0, 0, 1), TextAlignment::Center,
                   LineBreakMode::WordWrap);
    });
    EXPECT_TRUE(hasInk(*image, Rect(150, 0, 50, line)));
    EXPECT_FALSE(hasInk(*image, Rect(0, 0, 20, line)));
    EXPECT_FALSE(hasInk(*image, Rect(0, line + 1, 200, 28 - line)));
    EXPECT_TRUE(hasInk(*image, Rect(90, 30, 20, 30)));
    EXPECT_FALSE(hasInk(*image, Rect(0, 30, 80, 30)));
    EXPECT_FALSE(hasInk(*image, Rect(120, 30, 80, 30)));
}

namespace {

struct TextDrawing {
    const char* what;
    Font font = Font::systemFont(13);
    float width = 120;
    float height = 60;
    TextAlignment alignment = TextAlignment::Left;
    LineBreakMode mode = LineBreakMode::WordWrap;
    float scale = 1;
};

std::vector<std::uint32_t> drawn(const TextDrawing& drawing) {
    return pixelsOf(*render({240, 120}, [&](Context& c) {
        c.concatCTM(AffineTransform::scale(drawing.scale, drawing.scale));
        c.drawText("Laid out once, drawn again: the quick brown fox",
                   Rect(0, 0, drawing.width, drawing.height), drawing.font, Color::blackColor(),
                   drawing.alignment, drawing.mode);
    }));
}

// Draws more distinct texts than the context keeps layouts for, so the next drawing of any
// other text lays it out from scratch.
void forgetLaidOutText() {
    CairoContext context({4, 4});
    for (int i = 0; i < 1000; ++i)
        context.drawText(std::to_string(i), Rect(0, 0, 4, 4), Font::systemFont(3),
                         Color::blackColor(), TextAlignment::Left, LineBreakMode::Clip);
}

} // namespace

// Each change, made to a text just drawn, must give the pixels of that drawing laid out anew.
TEST(CairoContext, TextDrawnAgainWithAnyChangeLaysOutAnew) {
    const TextDrawing base{"base"};
    const TextDrawing changes[] = {
        {"larger", Font::systemFont(15)},
        {"bold", Font::boldSystemFont(13)},
        {"narrower", Font::systemFont(13), 70},
        {"shorter", Font::systemFont(13), 120, 14, TextAlignment::Left,
         LineBreakMode::TruncateTail},
        {"centred", Font::systemFont(13), 120, 60, TextAlignment::Center},
        {"character wrapped", Font::systemFont(13), 120, 60, TextAlignment::Left,
         LineBreakMode::CharacterWrap},
        {"scaled", Font::systemFont(13), 120, 60, TextAlignment::Left, LineBreakMode::WordWrap,
         3.7f},
    };
    for (const TextDrawing& changed : changes) {
        SCOPED_TRACE(changed.what);
        forgetLaidOutText();
        std::vector<std::uint32_t> fresh = drawn(changed);
        forgetLaidOutText();
        std::vector<std::uint32_t> before = drawn(base);
        EXPECT_NE(before, fresh);
        EXPECT_EQ(drawn(changed), fresh);
        EXPECT_EQ(drawn(base), before);
    }
}

TEST(CairoContext, DrawsIntoPixelsTheCallerOwns) {
    std::vector<std::uint32_t> frame(8 * 3, 0);
    {
        CairoContext context(frame.data(), 6, 3, 8 * 4);
        context.setFillColor(Color::whiteColor());
        context.fillRect(Rect(0, 0, 100, 100));
    }
    EXPECT_EQ(frame[0], 0xffffffffu);
    EXPECT_EQ(frame[8 * 2 + 5], 0xffffffffu);
    EXPECT_EQ(frame[6], 0u);
}
