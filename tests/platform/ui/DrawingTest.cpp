#include "platform/graphics/AffineTransform.h"
#include "platform/graphics/Image.h"
#include "platform/graphics/RecordedOperation.h"
#include "platform/graphics/RecordingContext.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/Compositor.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Window.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace ui;
using graphics::Color;
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

TEST(LabelDrawing, ShrinksToFitButNotBelowTheMinimum) {
    auto label = Label::create(Rect(0, 0, 60, 30));
    label->setText("A rather long title for a label");
    label->setFont(graphics::Font::systemFont(17.5f));
    EXPECT_EQ(label->fittedFont().pointSize(), 17.5f) << "only when asked to";
    label->setAdjustsFontSizeToFitWidth(true);
    label->setMinimumFontSize(10);
    EXPECT_EQ(label->fittedFont().pointSize(), 10);
    label->setMinimumFontSize(0);
    label->setFrame(Rect(0, 0, 2, 30));
    EXPECT_GE(label->fittedFont().pointSize(), 1) << "a zero minimum still keeps a legible font";
    label->setNumberOfLines(2);
    EXPECT_EQ(label->fittedFont().pointSize(), 17.5f) << "multi-line labels wrap instead";
    label->setNumberOfLines(1);
    label->setFrame(Rect(0, 0, 200, 30));
    label->setText("Shaken");
    EXPECT_EQ(label->fittedFont().pointSize(), 17.5f) << "text that fits keeps its font";
}

TEST(LabelDrawing, CentresItsLinesVertically) {
    auto label = Label::create(Rect(0, 0, 200, 60));
    EXPECT_TRUE(drawn(*label, Kind::DrawText).empty()) << "no text, nothing drawn";
    label->setText("Count");
    label->setLineBreakMode(graphics::LineBreakMode::WordWrap);
    auto texts = drawn(*label, Kind::DrawText);
    ASSERT_EQ(texts.size(), 1u);
    const float oneLine = label->font().sizeOfText("Count").height;
    EXPECT_EQ(texts[0].rect, Rect(0, 30 - oneLine / 2, 200, oneLine));
    EXPECT_EQ(texts[0].lineBreakMode, graphics::LineBreakMode::Clip)
        << "a single line does not wrap";

    label->setFrame(Rect(0, 0, 100, 200));
    label->setNumberOfLines(2);
    label->setText("one two three four five six seven eight nine ten eleven twelve");
    texts = drawn(*label, Kind::DrawText);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_GT(texts[0].rect.height(), oneLine);
    EXPECT_LE(texts[0].rect.height(), 2 * label->font().lineHeight() + 1) << "two lines at most";
    EXPECT_FLOAT_EQ(texts[0].rect.midY(), 100);

    label->setNumberOfLines(0);
    label->setFrame(Rect(0, 0, 100, 30)); // more text than room: clipped to the bounds
    EXPECT_LE(drawn(*label, Kind::DrawText).at(0).rect.height(), 30);
}

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

TEST(CompositorGroups, FadesSubtreesAsOneGroupAndTurnsViewsAboutTheirCentre) {
    Application::shared().setStatusBarHidden(true);
    auto window = Window::create(Rect(0, 0, 320, 480));
    window->setBackgroundColor(Color::blackColor());
    window->makeKeyAndVisible();
    auto faded = View::create(Rect(0, 0, 100, 100));
    faded->setBackgroundColor(Color::whiteColor());
    faded->setAlpha(0.5f);
    auto cover = View::create(Rect(0, 0, 50, 100)); // overlapping its parent adds nothing
    cover->setBackgroundColor(Color::whiteColor());
    faded->addSubview(cover);
    auto inner = View::create(Rect(110, 0, 40, 100)); // beside its parent: fading again multiplies
    inner->setBackgroundColor(Color::whiteColor());
    inner->setAlpha(0.5f);
    faded->addSubview(inner);
    auto bar = View::create(Rect(100, 300, 100, 50));
    bar->setBackgroundColor(Color::whiteColor());
    bar->setTransform(graphics::AffineTransform::rotation(float(M_PI / 2)));
    auto tip = View::create(Rect(0, 0, 10, 10)); // the bar's top-left, turned to its top-right
    tip->setBackgroundColor(Color::redColor());
    bar->addSubview(tip);
    window->addSubview(faded);
    window->addSubview(bar);

    auto screen = Compositor::renderScreen();
    EXPECT_NEAR(screen->colorAt(10, 10).red(), 0.5f, 0.02f);
    EXPECT_NEAR(screen->colorAt(120, 10).red(), 0.25f, 0.02f);
    EXPECT_NEAR(screen->colorAt(150, 290).blue(), 1, 0.02f) << "inside the turned bar";
    EXPECT_NEAR(screen->colorAt(110, 325).blue(), 0, 0.02f) << "where the bar was before turning";
    EXPECT_NEAR(screen->colorAt(170, 280).red(), 1, 0.02f);
    EXPECT_NEAR(screen->colorAt(170, 280).blue(), 0, 0.02f);
}
