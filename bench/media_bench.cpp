// The movie player's two costs per picture: decoding one picture of the catalogue's 320 x 240
// clip, and drawing one into a 480 x 320 movie surface; each beside a floor measured in the
// same run, so a slow machine and a slow player can be told apart. Then the whole cost of a
// picture on the video ad's screen: decoded, and the landscape screen composited with the
// ad's overlay on top, each part apart and both together.

#include "CPUTimedBenchmarks.h"
#include "VideoScene.h"

#include "adserver/AdServer.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/PlatformContext.h"
#include "platform/foundation/RunLoop.h"
#include "platform/graphics/CairoContext.h"
#include "platform/media/MovieBackgroundView.h"
#include "platform/media/MovieDecoder.h"
#include "platform/ui/Compositor.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

namespace {

constexpr double kDecodeTargetMilliseconds = 1.0;
constexpr double kDrawTargetMilliseconds = 1.0;
constexpr double kVideoFrameTargetMilliseconds = 4.0;
const graphics::Rect kSurface(0, 0, 480, 320);

CPUTimedBenchmarks benchmarks;

std::string clipPath() {
    return adserver::AdServer::defaultGeneratedDirectory() + "/video/clock.mp4";
}

foundation::Data clipBytes() {
    return foundation::FileManager::contentsAtPath(clipPath()).value_or(foundation::Data());
}

std::unique_ptr<media::MovieDecoder> opened(const foundation::Data& bytes) {
    auto decoder = media::MovieDecoder::open(bytes);
    return decoder ? std::move(decoder.value()) : nullptr;
}

// One picture after another; at the clip's end it starts over, which adds the open's cost
// once every 180 pictures.
void registerDecoding() {
    benchmarks.add(
        "MovieDecode/one_picture_320x240",
        [] {
            return
                [bytes = clipBytes(), decoder = std::shared_ptr<media::MovieDecoder>()]() mutable {
                    if (!decoder)
                        decoder = opened(bytes);
                    auto next = decoder->nextFrame();
                    if (!next || !next.value())
                        decoder.reset();
                    benchmark::DoNotOptimize(next);
                };
        },
        kDecodeTargetMilliseconds);
    benchmarks.add("MovieDecode/open_the_clip", [] {
        return [bytes = clipBytes()] { benchmark::DoNotOptimize(opened(bytes)); };
    });
}

void registerDrawing() {
    benchmarks.add(
        "MovieDraw/one_picture_480x320",
        [] {
            auto surface = media::MovieBackgroundView::create(kSurface);
            if (auto decoder = opened(clipBytes()))
                surface->setPicture(decoder->nextFrame().value()->image);
            return [surface, context = std::make_shared<graphics::CairoContext>(kSurface.size)] {
                ui::Compositor::renderLayer(*context, *surface->layer(),
                                            foundation::RunLoop::main().now());
            };
        },
        kDrawTargetMilliseconds);
    benchmarks.add("MovieDraw/no_picture_480x320", [] {
        auto surface = media::MovieBackgroundView::create(kSurface);
        surface->setBackgroundColor(graphics::Color::blackColor());
        return [surface, context = std::make_shared<graphics::CairoContext>(kSurface.size)] {
            ui::Compositor::renderLayer(*context, *surface->layer(),
                                        foundation::RunLoop::main().now());
        };
    });
}

// Each call puts the clip's next picture on the scene's movie surface, starting over at the
// end. The movie plays pictures of its own only while the loop runs, which it does not here.
CPUTimedBenchmarks::Body decodingInto(VideoScene& scene) {
    return
        [&scene, bytes = clipBytes(), decoder = std::shared_ptr<media::MovieDecoder>()]() mutable {
            if (!decoder)
                decoder = opened(bytes);
            auto next = decoder->nextFrame();
            if (next && next.value())
                scene.movieView().setPicture(std::move(next.value()->image));
            else
                decoder.reset();
        };
}

// The whole screen, as the phone shows it, into a surface made once.
CPUTimedBenchmarks::Body compositing() {
    return [context = std::make_shared<graphics::CairoContext>(graphics::Size(320, 480))] {
        ui::Compositor::renderScreen(*context);
    };
}

void registerVideoScreen(VideoScene& scene) {
    benchmarks.add("VideoScreen/decode_one_picture", [&scene] { return decodingInto(scene); });
    benchmarks.add("VideoScreen/composite_landscape_with_overlay", [] { return compositing(); });
    benchmarks.add(
        "VideoScreen/decode_and_composite",
        [&scene] {
            return [decode = decodingInto(scene), composite = compositing()] {
                decode();
                composite();
            };
        },
        kVideoFrameTargetMilliseconds);
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    foundation::PlatformContext context;
    if (clipBytes().empty()) {
        std::fprintf(stderr, "cannot read the clip %s\n", clipPath().c_str());
        return 1;
    }
    VideoScene scene;
    if (auto started = scene.start(); !started) {
        std::fprintf(stderr, "%s\n", started.error().message.c_str());
        return 1;
    }
    registerDecoding();
    registerDrawing();
    registerVideoScreen(scene);
    benchmark::RunSpecifiedBenchmarks();
    benchmarks.printTarget("one picture of the 320 x 240 clip decoded",
                           "MovieDecode/one_picture_320x240", kDecodeTargetMilliseconds);
    benchmarks.printTarget("one picture drawn into a 480 x 320 movie surface",
                           "MovieDraw/one_picture_480x320", kDrawTargetMilliseconds);
    benchmarks.printTarget("one picture decoded and the video ad's landscape screen composited",
                           "VideoScreen/decode_and_composite", kVideoFrameTargetMilliseconds);
    benchmark::Shutdown();
    return 0;
}
