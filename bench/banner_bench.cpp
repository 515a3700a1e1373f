// The banner's two drawing costs on Kessa's screen: the whole 320 x 480 screen composited
// while a fresh ad flips in, and one redraw of a text banner; then the parts of each, so a
// miss can be traced to its step.

#include "BannerScene.h"
#include "CPUTimedBenchmarks.h"

#include "ads/banner/Controller.h"
#include "ads/banner/View.h"
#include "ads/render/OldSchoolSingleAdView.h"
#include "ads/request/Ad.h"
#include "platform/foundation/PlatformContext.h"
#include "platform/foundation/RunLoop.h"
#include "platform/graphics/CairoContext.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Image.h"
#include "platform/graphics/LineBreakMode.h"
#include "platform/graphics/TextAlignment.h"
#include "platform/ui/Compositor.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

namespace {

constexpr double kCompositeTargetMilliseconds = 2.0;
constexpr double kRedrawTargetMilliseconds = 0.5;
const graphics::Size kScreen{320, 480};
const graphics::Rect kBannerBounds(0, 0, 320, 48);

CPUTimedBenchmarks benchmarks;

std::shared_ptr<graphics::CairoContext> bitmap(graphics::Size size) {
    return std::make_shared<graphics::CairoContext>(size);
}

// The composite the display link draws while the banner flips, and its parts.
void registerComposites(BannerScene& scene) {
    benchmarks.add(
        "Composite/screen_mid_flip",
        [] { return [] { benchmark::DoNotOptimize(ui::Compositor::renderScreen()); }; },
        kCompositeTargetMilliseconds);
    // The banner's layer alone, in a screen-sized bitmap: the flip's share of the screen.
    benchmarks.add("Composite/banner_layer_mid_flip", [&scene] {
        return [context = bitmap(kScreen), layer = scene.banner().layer()] {
            ui::Compositor::renderLayer(*context, *layer, foundation::RunLoop::main().now());
        };
    });
    // What every composite pays before any layer: the bitmap, its black and the image copy.
    benchmarks.add("Composite/empty_screen", [] {
        return [] {
            graphics::CairoContext context(kScreen);
            context.setFillColor(graphics::Color::blackColor());
            context.fillRect(graphics::Rect({0, 0}, kScreen));
            benchmark::DoNotOptimize(context.makeImage());
        };
    });
}

// The shown ad view's drawRect and the three steps it takes, each into a 320 x 48 bitmap.
void registerRedraws(BannerScene& scene) {
    benchmarks.add(
        "BannerRedraw/drawRect",
        [&scene] {
            return [context = bitmap(kBannerBounds.size), view = scene.shownAdView()] {
                view->drawRect(*context, kBannerBounds);
            };
        },
        kRedrawTargetMilliseconds);
    benchmarks.add("BannerRedraw/shine_gradient", [&scene] {
        return [context = bitmap(kBannerBounds.size), view = scene.shownAdView()] {
            view->drawShineBackgroundWithBaseColor(*context, view->ad()->backgroundColor());
        };
    });
    benchmarks.add("BannerRedraw/tile", [&scene] {
        return
            [context = bitmap(kBannerBounds.size), tile = scene.shownAdView()->ad()->userImage()] {
                pennant::OldSchoolSingleAdView::drawTileImage(
                    *context, *tile,
                    pennant::OldSchoolSingleAdView::rectForTileImage(*tile, kBannerBounds));
            };
    });
    // As the banner sets its text: measured in its column, then drawn with word wrap.
    benchmarks.add("BannerRedraw/text_layout", [&scene] {
        return [context = bitmap(kBannerBounds.size),
                text = scene.shownAdView()->ad()->text().value_or("")] {
            const auto font = graphics::Font::named("Helvetica-Bold", 13.0f)
                                  .value_or(graphics::Font::systemFont(13.0f));
            const auto size = font.sizeOfText(text, graphics::Size{220, 48});
            context->drawText(text, graphics::Rect({52, 10}, size), font,
                              graphics::Color::whiteColor(), graphics::TextAlignment::Left,
                              graphics::LineBreakMode::WordWrap);
        };
    });
}

void printSummary() {
    std::printf("\n");
    benchmarks.printTarget("full-screen composite mid-flip", "Composite/screen_mid_flip",
                           kCompositeTargetMilliseconds);
    benchmarks.printTarget("banner redraw", "BannerRedraw/drawRect", kRedrawTargetMilliseconds);
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    // The process's shared objects (run loop, sandbox, HTTP client...) live in this context.
    foundation::PlatformContext context;
    BannerScene scene;
    if (auto ready = scene.launch(); !ready) {
        std::fprintf(stderr, "cannot show the banner: %s\n", ready.error().message.c_str());
        return 1;
    }
    if (auto flipping = scene.startFlip(); !flipping) {
        std::fprintf(stderr, "cannot flip the banner: %s\n", flipping.error().message.c_str());
        return 1;
    }
    // A third into the flip, with the old ad turned part way (halfway it is edge-on: nothing).
    scene.advance(pennant::Controller::kSwapSeconds / 3);
    registerComposites(scene);
    registerRedraws(scene);
    benchmark::RunSpecifiedBenchmarks();
    printSummary();
    benchmark::Shutdown();
    return 0;
}
