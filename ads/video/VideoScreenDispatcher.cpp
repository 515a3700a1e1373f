#include "ads/video/VideoScreenDispatcher.h"

#include "ads/request/Opener.h"
#include "ads/video/VideoPlayerButton.h"
#include "ads/video/VideoViewController.h"

namespace pennant {

namespace {

// The fetched image an entry names; null when the name is no string or nothing came of it.
std::shared_ptr<graphics::Image> assetNamed(const Opener& opener, const foundation::Value& name) {
    return name.isString() ? opener.asset(std::string(name.asString())) : nullptr;
}

std::shared_ptr<VideoPlayerButton> buttonFrom(const Opener& opener,
                                              const foundation::Value& entry) {
    // A button that cannot open anything is left out rather than shown dead.
    auto action = Opener::create(entry["o"], opener.publisherDelegate());
    if (!action)
        return nullptr;
    action->setOpenAnimation(3, nullptr);
    auto button =
        VideoPlayerButton::create(assetNamed(opener, entry["$"]), entry["x"].stringValue(),
                                  assetNamed(opener, entry["h"]), action);
    const auto& pageName = entry["analytics_page_name"];
    if (pageName.isString())
        button->setAnalyticsPageName(std::string(pageName.asString()));
    return button;
}

} // namespace

void VideoScreenDispatcher::install() {
    if (!std::dynamic_pointer_cast<VideoScreenDispatcher>(ActionScreens::installed()))
        ActionScreens::install(std::make_shared<VideoScreenDispatcher>());
}

std::vector<std::shared_ptr<VideoPlayerButton>>
VideoScreenDispatcher::buttonsFor(const Opener& opener) {
    std::vector<std::shared_ptr<VideoPlayerButton>> buttons;
    const auto& entries = opener.openParameters()["buttons"];
    if (!entries.isArray())
        return buttons;
    for (const auto& entry : entries.asArray()) {
        if (buttons.size() == kMaxButtons)
            break;
        if (!entry.isDictionary())
            continue;
        if (auto button = buttonFrom(opener, entry))
            buttons.push_back(std::move(button));
    }
    return buttons;
}

void VideoScreenDispatcher::displayVideoPlayer(Opener& opener) {
    const auto& parameters = opener.openParameters();
    const auto asset = [&](std::string_view key) { return assetNamed(opener, parameters[key]); };
    if (const auto& controls = parameters["mc"]; controls.isNumber())
        opener.setMovieControls(int(controls.intValue()));
    if (const auto& scaling = parameters["msm"]; scaling.isNumber())
        opener.setMovieScalingMode(int(scaling.intValue()));
    if (!opener.url())
        return;
    if (auto playing = VideoViewController::lastPlayerOrNil())
        playing->stopForAnotherMovie();
    VideoViewController::Settings settings;
    settings.contentURL = *opener.url();
    settings.title = opener.title();
    settings.scalingMode = opener.movieScalingMode();
    settings.controls = opener.movieControls();
    settings.splash = asset("splash");
    if (const auto& seconds = parameters["splash_duration"]; seconds.isNumber())
        settings.splashDuration = seconds.doubleValue();
    settings.skipButtonDown = asset("skip_down");
    settings.skipButtonUp = asset("skip_up");
    settings.showSkipOnSplash = !parameters["no_splash_skip"].boolValue(false);
    settings.replayButtonDown = asset("replay_down");
    settings.replayButtonUp = asset("replay_up");
    settings.buttons = buttonsFor(opener);
    auto player = VideoViewController::create(std::move(settings));
    player->setAnalytics(opener.analytics());
    player->setAllowedOrientations(opener.allowedOrientations());
    player->commandeerScreenFromAdView(opener.animationFromAdView(), opener.animation(),
                                       opener.publisherDelegate(), opener.displayedAd());
}

} // namespace pennant
