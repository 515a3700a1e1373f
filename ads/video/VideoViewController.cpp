#include "ads/video/VideoViewController.h"

#include "ads/render/ShineView.h"
#include "ads/request/AnalyticsData.h"
#include "ads/request/AppData.h"
#include "ads/request/Localizer.h"
#include "ads/video/VideoPlayerButton.h"
#include "ads/video/VideoPlayerOverlayView.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/PlatformContext.h"
#include "platform/foundation/Singleton.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Image.h"
#include "platform/media/MoviePlayerController.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/Compositor.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"

#include <fmt/format.h>

#include <algorithm>
#include <numbers>

namespace pennant {

using graphics::Rect;
using ui::Application;

namespace {

constexpr float kSkipWidth = 50, kSkipHeight = 30, kSkipMargin = 5, kSkipBottomMargin = 10;
constexpr float kButtonWidth = 64, kBarHeight = 50;
constexpr float kSpinnerSide = 32;
constexpr const char* kFadeOutAnimation = "PennantVideoViewFadeOut";
constexpr const char* kFadeInAnimation = "PennantVideoViewFadeIn";
constexpr unsigned kAllMargins =
    ui::AutoresizingFlexibleLeftMargin | ui::AutoresizingFlexibleRightMargin |
    ui::AutoresizingFlexibleTopMargin | ui::AutoresizingFlexibleBottomMargin;
constexpr unsigned kFlexibleSize = ui::AutoresizingFlexibleWidth | ui::AutoresizingFlexibleHeight;

// Not owning: the controller that last started a movie is asked to stop for the next one.
struct LastController {
    std::weak_ptr<VideoViewController> controller;
};

using EventObservers = foundation::Subscribers<VideoEvent>;

EventObservers& eventObservers() {
    return foundation::PlatformContext::current().object<EventObservers>();
}

float truncated(float value) { return float(int(value)); }

bool isPortrait(int orientation) { return orientation == 1 || orientation == 2; }

int statusBarOrientation() { return Application::shared().statusBarOrientation(); }

std::string localized(const std::string& key) {
    return Localizer::sharedLocalizer().localizedStringForKey(key);
}

std::shared_ptr<ui::Label> barLabel(const Rect& frame, const std::string& text,
                                    const graphics::Font& font, float minimumFontSize,
                                    unsigned autoresizing) {
    auto label = ui::Label::create(frame);
    label->setBackgroundColor(graphics::Color::clearColor());
    label->setText(text);
    label->setFont(font);
    label->setTextColor(graphics::Color::whiteColor());
    label->setAdjustsFontSizeToFitWidth(true);
    label->setMinimumFontSize(minimumFontSize);
    label->setAutoresizingMask(autoresizing);
    return label;
}

} // namespace

std::shared_ptr<VideoViewController> VideoViewController::create(Settings settings) {
    std::shared_ptr<VideoViewController> controller(new VideoViewController(settings));
    for (const auto& button : controller->buttonArray_)
        button->setPlayer(controller);
    if (controller->skipButton_)
        controller->setSkipTitleText();
    return controller;
}

VideoViewController::VideoViewController(Settings& settings)
    : info_(std::move(settings.contentURL), std::move(settings.title), settings.scalingMode,
            settings.controls),
      splash_(std::move(settings.splash)),
      splashDuration_(settings.splashDuration >= 0 ? settings.splashDuration
                                                   : kDefaultSplashSeconds),
      showSkipOnSplash_(settings.showSkipOnSplash) {
    getOrientationNotifications_ = true;
    shouldChangeOrientation_ = false;
    shouldTrackOrientation_ = true;
    alwaysGoBackToLastPublisherSupportedOrientation_ = true;
    wantsChildOrientationChangeNotification_ = true;
    if (!info_.hasOwnControls())
        return;
    replayButtonDown_ = std::move(settings.replayButtonDown);
    replayButtonUp_ = std::move(settings.replayButtonUp);
    for (auto& button : settings.buttons)
        if (button)
            buttonArray_.push_back(std::move(button));
    createSkipButton(settings);
}

VideoViewController::~VideoViewController() = default;

std::shared_ptr<VideoViewController> VideoViewController::self() {
    return std::static_pointer_cast<VideoViewController>(shared_from_this());
}

std::shared_ptr<VideoViewController> VideoViewController::lastPlayerOrNil() {
    return foundation::Singleton<LastController>::shared().controller.lock();
}

int VideoViewController::audioRoute() { return AppData::audioRoute(); }

std::shared_ptr<ui::View>
VideoViewController::findSubviewWithName(const std::string& name,
                                         const std::shared_ptr<ui::View>& parent) {
    if (!parent)
        return nullptr;
    if (parent->className() == name)
        return parent;
    for (const auto& subview : parent->subviews())
        if (auto found = findSubviewWithName(name, subview))
            return found;
    return nullptr;
}

foundation::Subscription
VideoViewController::observeEvents(std::function<void(const VideoEvent&)> observer) {
    return eventObservers().subscribe(std::move(observer));
}

void VideoViewController::reportEvent(VideoEvent::Kind kind) const {
    eventObservers().notify(
        {kind, info_.videoURL(), moviePlayer_ ? moviePlayer_->currentPlaybackTime() : 0});
}

// Creation ----------------------------------------------------------------------------------

void VideoViewController::createSkipButton(const Settings& settings) {
    skipButton_ = ui::Button::create();
    skipButton_->setHidden(false);
    skipButton_->setFont(graphics::Font::boldSystemFont(13));
    const bool pictures = settings.skipButtonDown && settings.skipButtonUp;
    if (pictures) {
        for (unsigned state : {ui::ControlStateNormal, ui::ControlStateHighlighted}) {
            skipButton_->setTitleColor(graphics::Color::whiteColor(), state);
            skipButton_->setTitleShadowColor(graphics::Color::blackColor(), state);
        }
        skipButton_->setBackgroundImage(settings.skipButtonUp, ui::ControlStateNormal);
        skipButton_->setBackgroundImage(settings.skipButtonDown, ui::ControlStateHighlighted);
        return;
    }
    skipButton_->setTitleColor(graphics::Color::redColor(), ui::ControlStateNormal);
    skipButton_->setTitleColor(graphics::Color::orangeColor(), ui::ControlStateHighlighted);
}

void VideoViewController::setSkipTitleText() {
    if (!skipButton_)
        return;
    const auto title = localized(interstitialAd() ? "Skip" : "Done");
    skipButton_->setTitle(title, ui::ControlStateNormal);
    skipButton_->setTitle(title, ui::ControlStateHighlighted);
}

void VideoViewController::setInterstitialAd(std::shared_ptr<InterstitialAd> ad) {
    ModalViewController::setInterstitialAd(std::move(ad));
    shouldKeepOverlayShowingAtEnd_ = false;
    setSkipTitleText();
}

void VideoViewController::setTarget(ui::Button& button, void (VideoViewController::*action)()) {
    button.removeAllTargets();
    std::weak_ptr<VideoViewController> weak = self();
    button.addTarget(ui::ControlEventTouchUpInside, [weak, action] {
        if (auto controller = weak.lock())
            ((*controller).*action)();
    });
}

// The screen and the splash ---------------------------------------------------------------

void VideoViewController::loadViewWithBounds(const Rect& bounds) {
    // Without a player there is nothing to wait for: the screen goes once it is up.
    if (!setupMoviePlayer())
        return;
    setupView();
    if (showSkipOnSplash_ && skipButton_) {
        skipButton_->setFrame(Rect(truncated(bounds.width() - kSkipWidth - kSkipMargin),
                                   truncated(bounds.height() - kSkipHeight - kSkipBottomMargin),
                                   kSkipWidth, kSkipHeight));
        skipButton_->setAutoresizingMask(ui::AutoresizingFlexibleLeftMargin |
                                         ui::AutoresizingFlexibleTopMargin);
        setTarget(*skipButton_, &VideoViewController::skip);
        view()->addSubview(skipButton_);
    }
    registerForMoviePlayerNotifications();
}

bool VideoViewController::setupMoviePlayer() {
    moviePlayer_ = media::MoviePlayerController::create(info_.videoURL());
    if (!moviePlayer_)
        return false;
    moviePlayer_->setBackgroundColor(graphics::Color::blackColor());
    moviePlayer_->setScalingMode(media::MovieScalingMode(info_.scalingMode()));
    moviePlayer_->setMovieControlMode(media::MovieControlMode(info_.controlMode()));
    return true;
}

void VideoViewController::setupView() {
    view()->setBackgroundColor(graphics::Color::blackColor());
    addLogoAndSpinner(false);
}

void VideoViewController::addLogoAndSpinner(bool withSpinner) {
    auto content = view();
    const Rect bounds = content->bounds();
    if (splash_ && !logoView_) {
        const auto size = splash_->size();
        const float x = bounds.minX(), y = bounds.minY();
        auto picture = ui::ImageView::create(splash_);
        picture->setFrame(Rect(truncated(x + ((bounds.width() - x) - size.width) * 0.5f),
                               truncated(y + ((bounds.height() - y) - size.height) * 0.5f),
                               size.width, size.height));
        picture->setBackgroundColor(graphics::Color::blackColor());
        picture->setContentMode(ui::ContentMode::Center);
        picture->setAutoresizingMask(kAllMargins);
        logoView_ = ui::View::create(bounds);
        logoView_->setBackgroundColor(graphics::Color::blackColor());
        logoView_->setAutoresizingMask(kFlexibleSize);
        logoView_->addSubview(picture);
    }
    if (logoView_ && splashDuration_ > 0) {
        // The splash on screen is a still picture; the live one is kept for the end screen.
        content->addSubview(logoView_);
        auto still = ui::ImageView::create(ui::Compositor::renderLayerImage(*content->layer()));
        logoView_->removeFromSuperview();
        still->setFrame(bounds);
        still->setAutoresizingMask(kFlexibleSize);
        still->setContentMode(ui::ContentMode::Center);
        still->setBackgroundColor(graphics::Color::blackColor());
        content->addSubview(still);
    }
    if (splash_ && !withSpinner)
        return;
    content->addSubview(getSpinner(bounds));
}

std::shared_ptr<ui::ActivityIndicatorView> VideoViewController::getSpinner(const Rect& rect) {
    if (!spinner_) {
        spinner_ = ui::ActivityIndicatorView::create();
        spinner_->setFrame(Rect(truncated((rect.width() - kSpinnerSide) * 0.5f),
                                truncated((rect.height() - kSpinnerSide) * 0.5f), kSpinnerSide,
                                kSpinnerSide));
        spinner_->setAutoresizingMask(kAllMargins);
    }
    spinner_->startAnimating();
    return spinner_;
}

void VideoViewController::registerForMoviePlayerNotifications() {
    auto& center = foundation::NotificationCenter::defaultCenter();
    std::weak_ptr<VideoViewController> weak = self();
    const void* player = moviePlayer_.get();
    auto ignore = [](const foundation::Notification&) {};
    playerObservers_ = {
        center.addObserver(media::MoviePlayerController::kContentPreloadDidFinishNotification,
                           player, ignore),
        center.addObserver(media::MoviePlayerController::kScalingModeDidChangeNotification, player,
                           ignore),
        center.addObserver(
            media::MoviePlayerController::kPlaybackDidFinishNotification, player,
            [weak](const foundation::Notification& note) {
                const auto reason = media::MovieFinishReason(
                    note.userInfo[media::MoviePlayerController::kPlaybackDidFinishReasonUserInfoKey]
                        .intValue());
                if (auto controller = weak.lock())
                    controller->moviePlayBackDidFinish(reason);
            }),
    };
}

void VideoViewController::deregisterForMoviePlayerNotifications() { playerObservers_.clear(); }

// Starting -----------------------------------------------------------------------------------

void VideoViewController::landingPageDidAppear() {
    ModalViewController::landingPageDidAppear();
    if (!moviePlayer_) {
        relinquishScreen();
        return;
    }
    startVideoTimer_.start(foundation::Seconds(splashDuration_), false, [this] { startVideo(); });
}

void VideoViewController::startVideo() {
    if (!stopCalled_)
        play();
}

void VideoViewController::play() {
    foundation::Singleton<LastController>::shared().controller = self();
    originalOrientation_ = statusBarOrientation();
    if (!moviePlayer_)
        return;
    moviePlayer_->play();
    windowSearchAttempts_ = 0;
    // The player puts its window up from the loop; the search looks from the next pass on.
    windowSearchTimer_.start(foundation::Seconds(0), false, [this] { monitorMovieWindow(); });
}

// The search polls on the main loop, where it may touch the windows and build the overlay.
void VideoViewController::monitorMovieWindow() {
    auto& application = Application::shared();
    if (application.windows().size() > 1) {
        auto key = application.keyWindow();
        if (key && addSpinnerToPlayer(key)) {
            movieWindowFound(key);
            return;
        }
    }
    ++windowSearchAttempts_;
    windowSearchTimer_.start(foundation::Seconds(kWindowSearchInterval), false, [this] {
        if (windowSearchAttempts_ >= kWindowSearchAttempts)
            skip();
        else
            monitorMovieWindow();
    });
}

bool VideoViewController::addSpinnerToPlayer(const std::shared_ptr<ui::View>& window) {
    auto movieView = findSubviewWithName(kMovieViewClassName, window);
    if (movieView && info_.hasOwnControls())
        movieView->insertSubview(getSpinner(movieView->bounds()), 0);
    return movieView != nullptr;
}

void VideoViewController::movieWindowFound(const std::shared_ptr<ui::Window>& window) {
    mpWindow_ = window;
    originalTransform_ = window->transform();
    originalFrame_ = window->frame();
    if (info_.hasOwnControls() && statusBarOrientation() != originalOrientation_)
        Application::shared().setStatusBarOrientation(originalOrientation_);
    moviePlayerStarted(originalOrientation_);
}

void VideoViewController::moviePlayerStarted(int orientation) {
    if (stopCalled_) {
        mpWindow_->setHidden(true);
        stop();
        return;
    }
    recordStart();
    reportEvent(VideoEvent::Kind::Started);
    for (const auto& subview : view()->subviews())
        subview->setAlpha(0);
    if (info_.hasOwnControls())
        customizeMoviePlayer(orientation);
}

// Covered by a child screen -------------------------------------------------------------------

void VideoViewController::willTakeControl() {
    if (moviePlayer_)
        setHidden(true);
}

void VideoViewController::willRegainControl() {
    if (!moviePlayer_)
        return;
    setHidden(false);
    showOverlay();
}

bool VideoViewController::isHidden() const { return mpWindow_ && mpWindow_->alpha() == 0; }

void VideoViewController::setHidden(bool hidden) {
    if (!mpWindow_)
        return;
    auto window = mpWindow_;
    if (hidden)
        window->setUserInteractionEnabled(false);
    ui::View::beginAnimations(hidden ? kFadeOutAnimation : kFadeInAnimation);
    ui::View::setAnimationDuration(hidden ? kFadeOutSeconds : kFadeInSeconds);
    ui::View::setAnimationDidStopHandler(
        [weak = std::weak_ptr<ui::Window>(window)](const std::string& name, bool,
                                                   const std::shared_ptr<void>&) {
            auto faded = weak.lock();
            if (faded && name == kFadeInAnimation)
                faded->setUserInteractionEnabled(true);
        });
    window->setAlpha(hidden ? 0 : 1);
    ui::View::commitAnimations();
}

// Stopping -----------------------------------------------------------------------------------

void VideoViewController::stop() { stop(true); }

void VideoViewController::stopForAnotherMovie() { stop(false); }

void VideoViewController::stop(bool userStop) {
    moviePlayerHadStopCalledOnIt_ = true;
    stopCalled_ = userStop;
    if (moviePlayer_) {
        cleanupMoviePlayer();
    } else if (userStop) {
        closeTimer_.stop();
        relinquishScreen();
    }
}

void VideoViewController::cleanupMoviePlayer() {
    if (overlay_)
        overlay_->removeFromSuperview();
    // The player reports its end from inside stop(), which may release it here.
    if (auto player = moviePlayer_)
        player->stop();
}

void VideoViewController::skip() {
    if (skipButton_)
        skipButton_->removeAllTargets();
    auto protector = self();
    stop();
    relinquishScreen();
}

void VideoViewController::relinquishScreen() {
    if (alreadyRelinquished_)
        return;
    alreadyRelinquished_ = true;
    windowSearchTimer_.stop();
    startVideoTimer_.stop();
    ModalViewController::relinquishScreen();
}

void VideoViewController::closeAndRelinquish() {
    if (auto content = viewIfLoaded(); content && content->window())
        content->window()->makeKeyAndVisible();
    relinquishScreen();
}

void VideoViewController::moviePlayBackDidFinish(media::MovieFinishReason reason) {
    auto protector = self();
    reportEvent(stopCalled_ ? VideoEvent::Kind::Skipped : VideoEvent::Kind::Finished);
    // A movie that broke off did not run to its end, though nobody stopped it.
    if (!moviePlayerHadStopCalledOnIt_ && reason == media::MovieFinishReason::PlaybackEnded)
        movieRanUntilEnd_ = true;
    windowSearchTimer_.stop();
    cleanupMoviePlayer();
    deregisterForMoviePlayerNotifications();
    moviePlayer_.reset();
    const int turned = lastAccelerometerBasedOrientation();
    if (turned != 0 && turned != statusBarOrientation())
        Application::shared().setStatusBarOrientation(turned);
    // A movie that never got its overlay (it failed before its window showed) has no end screen.
    if (buttonArray_.empty() || stopCalled_ || !overlay_) {
        closeAndRelinquish();
        return;
    }
    moveOverlayToLandingPage();
    if (!shouldKeepOverlayShowingAtEnd_)
        closeTimer_.start(foundation::Seconds(kAutomaticCloseSeconds), false,
                          [this] { closeAndRelinquish(); });
}

void VideoViewController::restart() {
    shouldKeepOverlayShowingAtEnd_ = true;
    closeTimer_.stop();
    if (mpWindow_)
        mpWindow_->setHidden(true);
    if (overlay_)
        overlay_->removeFromSuperview();
    if (originalView_) {
        setView(originalView_);
        setupCenterAndBoundsForFullscreenView(*originalView_, statusBarOrientation());
        if (modalWindow())
            modalWindow()->addSubview(originalView_);
    }
    originalView_.reset();
    mpWindow_.reset();
    if (!setupMoviePlayer()) {
        relinquishScreen();
        return;
    }
    reportEvent(VideoEvent::Kind::Replayed);
    setupView();
    registerForMoviePlayerNotifications();
    play();
}

// Analytics ----------------------------------------------------------------------------------

void VideoViewController::recordVisit(const std::string& name,
                                      const foundation::Dictionary& extraParams) {
    const auto& analytics = this->analytics();
    if (!analytics)
        return;
    analytics->recordVisit(fmt::format("{}/{}", analytics->httpHostName().value_or(""), name),
                           extraParams);
}

void VideoViewController::recordStart() {
    recordVisit("video", {{"startvisit", "1"}});
    analyticsEventsPosted_.insert("video");
}

void VideoViewController::recordStop() {
    if (!analyticsEventsPosted_.contains("video")) {
        recordVisit("skip", {{"startvisit", "1"}});
        return;
    }
    foundation::Dictionary extra;
    if (movieRanUntilEnd_)
        extra.set("event", "completed");
    recordVisit("done", extra);
}

void VideoViewController::recordButtonPress(const std::optional<std::string>& pageName) {
    shouldKeepOverlayShowingAtEnd_ = true;
    closeTimer_.stop();
    // A button without a page name has nothing to be reported under.
    if (!pageName || analyticsEventsPosted_.contains(*pageName))
        return;
    foundation::Dictionary extra;
    if (!buttonsPressed_)
        extra.set("event", "interaction");
    buttonsPressed_ = true;
    analyticsEventsPosted_.insert(*pageName);
    recordVisit(*pageName, extra);
}

void VideoViewController::landingPageWillDisappear() {
    recordStop();
    ModalViewController::landingPageWillDisappear();
}

// The overlay --------------------------------------------------------------------------------

void VideoViewController::customizeMoviePlayer(int orientation) {
    overlay_ = VideoPlayerOverlayView::create(
        convertApplicationFrame(ui::Screen::main().bounds(), orientation));
    overlay_->setAutoresizingMask(kFlexibleSize);
    overlay_->setAutoresizesSubviews(true);
    addTitleBar();
    addControls();
    setupCenterAndBoundsForFullscreenView(*overlay_, orientation);
    mpWindow_->addSubview(overlay_);
    showOverlay();
}

void VideoViewController::addTitleBar() {
    const Rect bounds = overlay_->bounds();
    const float W = bounds.width(), H = bounds.height();
    const float barHeight = (H / 480) * 42, textHeight = barHeight - 8;
    const float brandWidth = (W / 320) * 100, titleWidth = (W - 12) - brandWidth;
    auto bar = ShineView::create(Rect(0, 0, W, barHeight));
    bar->setClipsToBounds(true);
    bar->setAutoresizingMask(kFlexibleSize | ui::AutoresizingFlexibleRightMargin |
                             ui::AutoresizingFlexibleBottomMargin);
    bar->setAutoresizesSubviews(true);
    bar->addSubview(barLabel(Rect(4, 4, titleWidth, textHeight), info_.title().value_or(""),
                             graphics::Font::boldSystemFont(14), 12,
                             kFlexibleSize | ui::AutoresizingFlexibleRightMargin));
    auto brand = barLabel(Rect(4 + titleWidth + 4, 4, brandWidth, textHeight),
                          localized("Ads by Pennant"), graphics::Font::systemFont(11), 10,
                          kFlexibleSize | ui::AutoresizingFlexibleLeftMargin);
    brand->setTextAlignment(graphics::TextAlignment::Right);
    bar->addSubview(brand);
    overlay_->addSubview(bar);
}

void VideoViewController::addControls() {
    const Rect bounds = overlay_->bounds();
    const float y = bounds.height() - kBarHeight;
    float x = 0;
    for (const auto& button : buttonArray_) {
        button->setFrame(Rect(x, y, kButtonWidth, kBarHeight));
        button->setAutoresizingMask(ui::AutoresizingFlexibleTopMargin);
        overlay_->addSubview(button);
        x += kButtonWidth;
    }
    const float barWidth = bounds.width() - x;
    flexibleWidthBar_ = ShineView::create(Rect(x, y, barWidth, kBarHeight));
    flexibleWidthBar_->setAutoresizingMask(ui::AutoresizingFlexibleWidth |
                                           ui::AutoresizingFlexibleTopMargin);
    flexibleWidthBar_->setAutoresizesSubviews(true);
    // Its sheen stays inside it rather than veiling the movie above.
    flexibleWidthBar_->setClipsToBounds(true);
    skipButton_->removeFromSuperview();
    skipButton_->setAutoresizingMask(ui::AutoresizingFlexibleLeftMargin);
    skipButton_->setFrame(Rect(truncated(barWidth - kSkipWidth - kSkipMargin),
                               (kBarHeight - kSkipHeight) * 0.5f, kSkipWidth, kSkipHeight));
    skipButton_->setAlpha(1);
    setTarget(*skipButton_, &VideoViewController::stop);
    flexibleWidthBar_->addSubview(skipButton_);
    overlay_->addSubview(flexibleWidthBar_);
}

void VideoViewController::showOverlay() {
    if (!overlay_)
        return;
    if (isPortrait(statusBarOrientation())) {
        overlay_->setAlwaysShow(VideoPlayerOverlayView::kToggle);
        overlay_->show();
    } else {
        overlay_->setAlwaysShow(VideoPlayerOverlayView::kShowForAWhile);
        overlay_->showFor(kLandscapeOverlaySeconds);
    }
}

void VideoViewController::orientationDidChangeTo(int orientation) {
    if (!info_.hasOwnControls())
        return;
    setMoviePlayerOrientation(orientation);
    setOverlayOrientation(orientation);
}

void VideoViewController::setMoviePlayerOrientation(int orientation) {
    if (!moviePlayer_ || !mpWindow_)
        return;
    constexpr float pi = std::numbers::pi_v<float>;
    const float shorter = std::min(originalFrame_.width(), originalFrame_.height());
    const float longer = std::max(originalFrame_.width(), originalFrame_.height());
    const float ratio = longer > 0 ? shorter / longer : 1;
    graphics::AffineTransform turned;
    switch (orientation) {
    case 1:
        turned = originalTransform_.rotated(-pi / 2).scaled(ratio, ratio);
        break;
    case 2:
        turned = originalTransform_.rotated(pi / 2).scaled(ratio, ratio);
        break;
    case 3:
        turned = originalTransform_;
        break;
    case 4:
        turned = originalTransform_.rotated(pi);
        break;
    default:
        return;
    }
    for (const auto& subview : mpWindow_->subviews())
        if (subview != overlay_)
            subview->setTransform(turned);
}

void VideoViewController::setOverlayOrientation(int orientation) {
    if (!overlay_)
        return;
    setupCenterAndBoundsForFullscreenView(*overlay_, orientation);
    if (!moviePlayer_)
        return;
    if (isPortrait(orientation)) {
        overlay_->setAlwaysShow(VideoPlayerOverlayView::kToggle);
        overlay_->show();
    } else {
        overlay_->setAlwaysShow(VideoPlayerOverlayView::kShowForAWhile);
        overlay_->hide();
    }
}

// The end screen -----------------------------------------------------------------------------

void VideoViewController::moveOverlayToLandingPage() {
    auto content = view();
    for (const auto& subview : content->subviews())
        subview->setAlpha(1);
    overlay_->removeFromSuperview();
    setupCenterAndBoundsForFullscreenView(*overlay_, statusBarOrientation());
    if (logoView_) {
        logoView_->removeFromSuperview();
        logoView_->setTransform(graphics::AffineTransform::identity());
        logoView_->setFrame(overlay_->bounds());
        overlay_->addSubview(logoView_);
        overlay_->sendSubviewToBack(logoView_);
    }
    if (spinner_) {
        spinner_->stopAnimating();
        spinner_->removeFromSuperview();
    }
    if (replayButtonUp_ && replayButtonDown_)
        addReplayButton();
    // The overlay stands in for the screen's own view, in the screen's window.
    originalView_ = content;
    content->removeFromSuperview();
    setView(overlay_);
    if (modalWindow()) {
        modalWindow()->addSubview(overlay_);
        modalWindow()->makeKeyAndVisible();
    }
    overlay_->setAlwaysShow(VideoPlayerOverlayView::kAlways);
    overlay_->show();
}

void VideoViewController::addReplayButton() {
    const Rect bounds = overlay_->bounds();
    const auto size = replayButtonDown_->size();
    auto replay =
        ui::Button::create(Rect((bounds.width() - size.width) * 0.5f,
                                (bounds.height() - size.height) * 0.5f, size.width, size.height));
    replay->setBackgroundImage(replayButtonUp_, ui::ControlStateNormal);
    replay->setBackgroundImage(replayButtonDown_, ui::ControlStateHighlighted);
    const auto title = localized("Replay");
    replay->setFont(graphics::Font::boldSystemFont(16));
    replay->setTitle(title, ui::ControlStateNormal);
    replay->setTitle(title, ui::ControlStateHighlighted);
    replay->setTitleColor(graphics::Color::whiteColor(), ui::ControlStateNormal);
    replay->setTitleColor(graphics::Color{0.5f, 0.5f, 0.5f, 0.5f}, ui::ControlStateHighlighted);
    replay->setTitleEdgeInsets({truncated(size.height * 0.67f), 0, 0, 0});
    setTarget(*replay, &VideoViewController::restart);
    replay->setAutoresizingMask(kAllMargins);
    overlay_->addSubview(replay);
}

} // namespace pennant
