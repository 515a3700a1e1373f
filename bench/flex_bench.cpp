// The flex banner's two costs: reading the largest description a banner can carry into its
// view tree, and compositing Kessa's 320 x 480 screen while every one of its elements
// animates; then the parts of each, so a miss can be traced to its step.

#include "CPUTimedBenchmarks.h"
#include "FlexMarkup.h"
#include "FlexScene.h"

#include "ads/render/FlexAd.h"
#include "ads/render/FlexAdContainerView.h"
#include "ads/render/ImageView.h"
#include "platform/animation/Layer.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/PlatformContext.h"
#include "platform/foundation/RunLoop.h"
#include "platform/graphics/CairoContext.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Compositor.h"
#include "json/JSONDeserializer.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

namespace {

constexpr double kReadTargetMilliseconds = 1.0;
constexpr double kCompositeTargetMilliseconds = 3.0;
const graphics::Size kScreen{320, 480};
const graphics::Rect kBanner(0, 0, 320, 48);

CPUTimedBenchmarks benchmarks;

foundation::Value decoded(const std::string& markup) {
    return json::JSONDeserializer().deserializeAsDictionary(markup).valueOr({});
}

CPUTimedBenchmarks::Body building(foundation::Value markup) {
    return [markup = std::move(markup)] {
        benchmark::DoNotOptimize(pennant::FlexAd::create(markup, {}, {}, kBanner));
    };
}

struct TreeCount {
    std::size_t views = 0, animating = 0;
};

TreeCount countViews(const ui::View& view) {
    const bool running = view.layer()->hasAnimationsRunningAt(foundation::RunLoop::main().now());
    TreeCount count{1, running ? 1u : 0u};
    for (const auto& subview : view.subviews()) {
        const auto below = countViews(*subview);
        count.views += below.views;
        count.animating += below.animating;
    }
    return count;
}

// The largest description into its tree (its images left out: nothing is fetched), and
// the same tree without animations, for the share of reading them.
void registerReading() {
    benchmarks.add(
        "FlexRead/largest", [] { return building(decoded(FlexMarkup::largest())); },
        kReadTargetMilliseconds);
    benchmarks.add("FlexRead/largest_without_animations",
                   [] { return building(decoded(FlexMarkup::largest({}, false))); });
    benchmarks.add("FlexRead/empty", [] { return building(decoded("{}")); });
    // What each image element adds once its asset is in: the decode and the view.
    benchmarks.add("FlexRead/one_image_element", [] {
        const auto bytes = foundation::FileManager::contentsAtPath(
            std::string(CATALOG_DIR) + "/static/phone/ads/kessa-tile.png");
        return [data = bytes.value_or(foundation::Data())] {
            auto view = pennant::ImageView::create(graphics::Rect(0, 0, 16, 16));
            view->setImage(graphics::Image::fromData(data));
            benchmark::DoNotOptimize(view);
        };
    });
}

void presentAll(const animation::Layer& layer, double time) {
    benchmark::DoNotOptimize(layer.presentationAt(time));
    for (const auto& sublayer : layer.sublayers())
        presentAll(*sublayer, time);
}

void removeAllAnimations(animation::Layer& layer) {
    layer.removeAllAnimations();
    for (const auto& sublayer : layer.sublayers())
        removeAllAnimations(*sublayer);
}

// The screen with the banner animating, and its parts; the still banner last, since its setup
// takes the animations off for good.
void registerComposites(FlexScene& scene) {
    benchmarks.add(
        "FlexComposite/screen_all_animating",
        [] { return [] { benchmark::DoNotOptimize(ui::Compositor::renderScreen()); }; },
        kCompositeTargetMilliseconds);
    benchmarks.add("FlexComposite/banner_layer_animating", [&scene] {
        return [context = std::make_shared<graphics::CairoContext>(kScreen),
                layer = scene.container()->layer()] {
            ui::Compositor::renderLayer(*context, *layer, foundation::RunLoop::main().now());
        };
    });
    // Every layer's presented values once: what the animations cost a composite at least.
    benchmarks.add("FlexComposite/presentation_values", [&scene] {
        return [layer = scene.container()->layer()] {
            presentAll(*layer, foundation::RunLoop::main().now());
        };
    });
    benchmarks.add("FlexComposite/empty_screen", [] {
        return [] {
            graphics::CairoContext context(kScreen);
            context.setFillColor(graphics::Color::blackColor());
            context.fillRect(graphics::Rect({0, 0}, kScreen));
            benchmark::DoNotOptimize(context.makeImage());
        };
    });
    benchmarks.add("FlexComposite/screen_still", [&scene] {
        removeAllAnimations(*scene.container()->layer());
        return [] { benchmark::DoNotOptimize(ui::Compositor::renderScreen()); };
    });
}

void printSummary(TreeCount tree) {
    std::printf("\nthe banner has %zu views, %zu of them animating when composited\n", tree.views,
                tree.animating);
    benchmarks.printTarget("largest flex description read into its tree", "FlexRead/largest",
                           kReadTargetMilliseconds);
    benchmarks.printTarget("full-screen composite, every flex element animating",
                           "FlexComposite/screen_all_animating", kCompositeTargetMilliseconds);
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    // The process's shared objects (run loop, sandbox, HTTP client...) live in this context.
    foundation::PlatformContext context;
    FlexScene scene;
    if (auto shown = scene.show(); !shown) {
        std::fprintf(stderr, "cannot show the flex banner: %s\n", shown.error().message.c_str());
        return 1;
    }
    const TreeCount tree = countViews(*scene.container());
    registerReading();
    registerComposites(scene);
    benchmark::RunSpecifiedBenchmarks();
    printSummary(tree);
    benchmark::Shutdown();
    return 0;
}
