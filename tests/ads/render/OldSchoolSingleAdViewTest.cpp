#include "ads/render/OldSchoolSingleAdView.h"
#include "ads/render/AdClickHandler.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Application.h"
#include "platform/ui/Compositor.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Touch.h"
#include "platform/ui/Window.h"
#include "tests/support/CatalogAds.h"
#include "tests/support/GoldenImage.h"
#include "tests/support/RecordedDrawing.h"
#include "tests/support/SolidImage.h"

#include <gtest/gtest.h>

#include <algorithm>

using graphics::Point;
using graphics::Rect;
using Kind = graphics::RecordedOperation::Kind;
using pennant::OldSchoolSingleAdView;
using testing_support::RecordedDrawing;

namespace {

struct ClickRecorder : pennant::AdClickHandler {
    void click(pennant::SingleAdView&, const std::optional<foundation::Dictionary>& data) override {
        clicks.push_back(data.value_or(foundation::Dictionary{}));
    }
    std::vector<foundation::Dictionary> clicks;
};

std::vector<std::string> interactions(const foundation::Dictionary& data) {
    std::vector<std::string> records;
    for (const auto& record : data.get("interactions").asArray())
        records.emplace_back(record.asString());
    return records;
}

class OldSchoolBanner : public testing_support::CatalogAds {
protected:
    std::shared_ptr<OldSchoolSingleAdView> bannerFor(const std::string& action) {
        auto view = OldSchoolSingleAdView::create(Rect(0, 0, 320, 48));
        view->setAd(load(action));
        view->setController(clicks);
        return view;
    }
    // The banner at the bottom of a key window, so touches reach it.
    std::shared_ptr<OldSchoolSingleAdView> bannerOnScreen(const std::string& action) {
        window = ui::Window::create(Rect(0, 0, 320, 480));
        window->makeKeyAndVisible();
        auto view = bannerFor(action);
        view->setCenter(Point{160, 456});
        window->addSubview(view);
        return view;
    }
    void touch(ui::Touch::Phase phase, float x, float y) {
        ui::Application::shared().sendTouch(int(phase), {x, y}, 0);
    }

    std::shared_ptr<ui::Window> window;
    std::shared_ptr<ClickRecorder> clicks = std::make_shared<ClickRecorder>();
};

} // namespace

TEST_F(OldSchoolBanner, TextBannerLayout) {
    const auto view = bannerFor("url");
    ASSERT_TRUE(view->ad()->readyForDisplay());
    const auto images = RecordedDrawing::of(*view, Kind::DrawImage);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].rect, Rect(4, 4.5f, 38, 38)); // the 38 x 38 tile, centred

    const auto texts = RecordedDrawing::of(*view, Kind::DrawText);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, "Shake harder: Kessa Pro is here");
    EXPECT_EQ(view->dumpText(), texts[0].text);
    EXPECT_EQ(texts[0].rect.minX(), 51);
    EXPECT_EQ(texts[0].font->pointSize(), 13.0f);
    EXPECT_EQ(texts[1].text, "Ads by Pennant");
    const float rightLimit = 320 - 4 - 32 - 8; // the 32-point action icon
    EXPECT_FLOAT_EQ(texts[1].rect.maxX(), rightLimit);
    EXPECT_FLOAT_EQ(texts[1].rect.minY(), texts[0].rect.maxY() + 4);

    const auto icon = view->clickAnimationView();
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->frame(), Rect(320 - 4 - 32, 8, 32, 32));
}

TEST_F(OldSchoolBanner, ShineBackgroundAndTextUseTheHostsColours) {
    host->background = graphics::Color(0.776f, 0.161f, 0.098f, 1);
    host->text = graphics::Color::whiteColor();
    const auto view = bannerFor("url");
    const auto gradients = RecordedDrawing::of(*view, Kind::DrawLinearGradient);
    ASSERT_EQ(gradients.size(), 1u);
    EXPECT_EQ(gradients[0].gradient.colors,
              (std::vector<graphics::Color>{host->background->withAlpha(0.5f), *host->background}));
    EXPECT_EQ(gradients[0].point2, (Point{160, 21}));
    EXPECT_TRUE(gradients[0].gradientOptions.drawsAfterEnd);
    for (const auto& text : RecordedDrawing::of(*view, Kind::DrawText))
        EXPECT_EQ(text.color, graphics::Color::whiteColor());
}

TEST_F(OldSchoolBanner, TallTextLeavesNoRoomForTheAttribution) {
    const auto view = bannerFor("url");
    // Narrow enough that the text wraps to two lines (taller than 24 points).
    view->setBounds(Rect(0, 0, 150, 48));
    const auto texts = RecordedDrawing::of(*view, Kind::DrawText);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_GT(texts[0].rect.height(), 24.0f);
    EXPECT_FLOAT_EQ(texts[0].rect.minY(), (48 - texts[0].rect.height()) / 2);
}

TEST_F(OldSchoolBanner, ImageBannerDrawsTheImageAndFiresItsPixelWhenDrawn) {
    const auto view = bannerFor("garden-banner");
    ASSERT_TRUE(view->ad()->readyForDisplay());
    EXPECT_TRUE(view->clickAnimationView()); // the action icon sits over the image too
    EXPECT_FALSE(view->dumpText());
    auto pixels = [&] {
        return std::ranges::count_if(server.requests(), [](const auto& entry) {
            return entry.path == "/pixel/cpm/garden-banner";
        });
    };
    EXPECT_EQ(pixels(), 0);
    const auto images = RecordedDrawing::of(*view, Kind::DrawImage);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].rect, Rect(0, 0, 320, 48));
    EXPECT_TRUE(RecordedDrawing::of(*view, Kind::DrawLinearGradient).empty());
    EXPECT_TRUE(foundation::RunLoop::main().runUntil([&] { return pixels() == 1; }, kBound));
}

TEST_F(OldSchoolBanner, NothingIsDrawnForAnAdThatIsNotReady) {
    auto view = OldSchoolSingleAdView::create(Rect(0, 0, 320, 48));
    view->setAd(pennant::Ad::create(pennant::Ad::kBanner));
    graphics::RecordingContext context;
    view->drawRect(context, view->bounds());
    EXPECT_TRUE(context.operations().empty());
    EXPECT_EQ(view->timeIntervalSinceFirstRender(), 0);
}

TEST_F(OldSchoolBanner, ATapClicksWithItsTouchesInTheBannersSpace) {
    const auto view = bannerOnScreen("url");
    RecordedDrawing::of(*view, Kind::DrawText); // first drawing starts the touch clock
    clock->advanceBy(2);
    touch(ui::Touch::Phase::Began, 100, 450);
    EXPECT_TRUE(view->isTouched());
    clock->advanceBy(0.5);
    touch(ui::Touch::Phase::Ended, 101, 451);
    EXPECT_FALSE(view->isTouched());
    ASSERT_EQ(clicks->clicks.size(), 1u);
    EXPECT_EQ(interactions(clicks->clicks[0]),
              (std::vector<std::string>{"0,100,18,2.000000", "1,101,19,2.500000"}));
    EXPECT_TRUE(view->storedTouches().empty());
}

TEST_F(OldSchoolBanner, ATouchEndingOutsideIsKeptForTheNextClick) {
    const auto view = bannerOnScreen("url");
    touch(ui::Touch::Phase::Began, 100, 450);
    touch(ui::Touch::Phase::Moved, 100, 300);
    EXPECT_FALSE(view->isTouched());
    touch(ui::Touch::Phase::Moved, 100, 460);
    EXPECT_TRUE(view->isTouched());
    touch(ui::Touch::Phase::Ended, 100, 300);
    EXPECT_TRUE(clicks->clicks.empty());
    EXPECT_EQ(view->storedTouches().size(), 2u);

    touch(ui::Touch::Phase::Began, 50, 450);
    touch(ui::Touch::Phase::Ended, 50, 450);
    ASSERT_EQ(clicks->clicks.size(), 1u);
    EXPECT_EQ(interactions(clicks->clicks[0]).size(), 4u);
}

TEST(OldSchoolTile, BevelledFrameAndPlacement) {
    const auto image = testing_support::SolidImage::ofSize(38, 38);
    EXPECT_EQ(OldSchoolSingleAdView::sizeWithBevelsAndRoundedCornersForImage(*image),
              (graphics::Size{39, 39}));
    EXPECT_EQ(OldSchoolSingleAdView::rectForTileImage(*image, Rect(0, 0, 320, 44)),
              Rect(6, 2.5f, 39, 39));

    graphics::RecordingContext context;
    OldSchoolSingleAdView::drawTileImage(context, *image, Rect(4, 4.5f, 39, 39));
    const auto rounded = context.operationsOfKind(Kind::AddRoundedRect);
    ASSERT_EQ(rounded.size(), 1u);
    EXPECT_EQ(rounded[0].rect, Rect(4.5f, 5, 38, 38));
    EXPECT_EQ(rounded[0].value, 7.0f);
    // Two strokes: dark over top and left, then light over bottom and right, meeting at the
    // 45-degree points of the top-right and bottom-left corners.
    const auto colours = context.operationsOfKind(Kind::SetStrokeColor);
    ASSERT_EQ(colours.size(), 2u);
    EXPECT_EQ(colours[0].color, graphics::Color::colorWithWhite(0.4f, 1));
    EXPECT_EQ(colours[1].color, graphics::Color::colorWithWhite(0.937f, 1));
    const auto arcs = context.operationsOfKind(Kind::AddArc);
    ASSERT_EQ(arcs.size(), 6u);
    EXPECT_EQ(arcs[0].point, (Point{4.25f + 6.5f, 4.5f + 38 + 0.75f - 6.5f}));
    EXPECT_EQ(arcs[2].point, (Point{4 + 38 + 0.75f - 6.5f, 4.75f + 6.5f}));
}

namespace {

// Each kind of banner as the compositor draws it, in Kessa's colours.
class OldSchoolBannerGolden : public OldSchoolBanner {
protected:
    void SetUp() override {
        OldSchoolBanner::SetUp();
        host->background = graphics::Color(0.776f, 0.161f, 0.098f, 1);
        host->text = graphics::Color::whiteColor();
    }
    ::testing::AssertionResult looksLike(OldSchoolSingleAdView& view, const std::string& name) {
        return testing_support::GoldenImage::committed().matches(
            *ui::Compositor::renderLayerImage(*view.layer()), name);
    }
};

} // namespace

TEST_F(OldSchoolBannerGolden, TextImageAndHighlightedBanners) {
    auto text = bannerFor("url");
    EXPECT_TRUE(looksLike(*text, "banner-text"));
    text->setTouched(true);
    EXPECT_TRUE(looksLike(*text, "banner-text-highlighted"));
    EXPECT_TRUE(looksLike(*bannerFor("kessa-long"), "banner-text-without-attribution"));
    EXPECT_TRUE(looksLike(*bannerFor("garden-banner"), "banner-image"));
}

TEST_F(OldSchoolBannerGolden, MidPulse) {
    auto view = bannerFor("url");
    view->animateForClick();
    foundation::RunLoop::main().runFor(foundation::Seconds(0.2)); // the icon at its largest
    EXPECT_TRUE(looksLike(*view, "banner-mid-pulse"));
}
