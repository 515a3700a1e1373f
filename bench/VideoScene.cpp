#include "VideoScene.h"

#include "ads/request/Opener.h"
#include "ads/video/VideoPlayerOverlayView.h"
#include "ads/video/VideoScreenDispatcher.h"
#include "ads/video/VideoViewController.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/RunLoop.h"
#include "platform/media/MovieBackgroundView.h"
#include "platform/ui/Application.h"
#include "platform/ui/Device.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Touch.h"
#include "platform/ui/Window.h"
#include "json/JSONDeserializer.h"

#include <string>

namespace {

// Virtual time stands still while the network works, so this bounds real time only.
constexpr foundation::Seconds kBound{20};
constexpr double kStartTime = 1258623660.0;
constexpr const char* kAd = "clock-video";

foundation::Error failure(std::string message) {
    return foundation::Error{"video_bench", 0, std::move(message)};
}

foundation::RunLoop& loop() { return foundation::RunLoop::main(); }

// The open parameters of the catalogue's video ad, or null.
foundation::Value videoAdParameters() {
    const auto bytes =
        foundation::FileManager::contentsAtPath(std::string(CATALOG_DIR) + "/ads.json");
    if (!bytes)
        return {};
    const auto catalogue = json::JSONDeserializer().deserializeAsDictionary(*bytes);
    if (!catalogue.ok())
        return {};
    for (const auto& ad : catalogue.value()["ads"].asArray())
        if (ad["id"].stringValue() == kAd)
            return ad["response"]["o"];
    return {};
}

} // namespace

VideoScene::VideoScene() : network_("video_bench") {}

VideoScene::~VideoScene() {
    if (controller_)
        controller_->relinquishScreen();
    loop().runFor(foundation::Seconds(2));
}

foundation::Status VideoScene::start() {
    if (auto started = network_.start(); !started)
        return started;
    loop().setClock(std::make_shared<foundation::VirtualClock>(kStartTime));
    auto& application = ui::Application::shared();
    application.setStatusBarOrientation(1);
    ui::Device::current().setOrientation(1);
    hostWindow_ = ui::Window::create(ui::Screen::main().bounds());
    hostWindow_->makeKeyAndVisible();
    if (auto opened = open(); !opened)
        return opened;
    return turnToLandscape();
}

foundation::Status VideoScene::open() {
    // As the banner's controller does: a "movie" action opens this screen.
    pennant::VideoScreenDispatcher::install();
    auto opener = pennant::Opener::create(videoAdParameters(), {});
    if (!opener)
        return failure(std::string("the catalogue has no usable ad ") + kAd);
    opener->open();
    const bool playing = loop().runUntil(
        [this] {
            controller_ = pennant::VideoViewController::lastPlayerOrNil();
            return controller_ && controller_->overlay() && controller_->mpWindow();
        },
        kBound);
    if (!playing)
        return failure("the video ad's movie never played under its overlay");
    movieView_ = std::dynamic_pointer_cast<media::MovieBackgroundView>(
        pennant::VideoViewController::findSubviewWithName(
            pennant::VideoViewController::kMovieViewClassName, controller_->mpWindow()));
    return movieView_ ? foundation::success() : failure("the player shows no movie surface");
}

// Turned, the overlay hides; a tap on it brings it back over the movie for a while, and the
// clock stands still while the benchmark draws.
foundation::Status VideoScene::turnToLandscape() {
    ui::Application::shared().setStatusBarOrientation(3);
    loop().runFor(foundation::Seconds(1));
    const auto& overlay = controller_->overlay();
    overlay->touchesBegan({}, {});
    return overlay->isShowing() && controller_->moviePlayer()
               ? foundation::success()
               : failure("the turned screen shows no overlay over a playing movie");
}

media::MovieBackgroundView& VideoScene::movieView() const { return *movieView_; }
