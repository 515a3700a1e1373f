#include "ads/actions/ModalViewController.h"

#include "ads/actions/InterstitialAd.h"
#include "ads/actions/InterstitialDelegate.h"
#include "ads/request/Ad.h"
#include "ads/request/Delegate.h"
#include "platform/animation/Layer.h"
#include "platform/foundation/Date.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Singleton.h"
#include "platform/graphics/Color.h"
#include "platform/ui/Application.h"
#include "platform/ui/Compositor.h"
#include "platform/ui/Device.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Screen.h"
#include "platform/ui/ViewAnimation.h"
#include "platform/ui/Window.h"

#include <algorithm>
#include <numbers>

namespace pennant {

using graphics::Rect;
using ui::Application;
using ui::Screen;

namespace {

// The screen on top of the stack. Held weakly: each screen keeps itself alive while shown.
struct OnScreen {
    std::weak_ptr<ModalViewController> controller;
};

std::weak_ptr<ModalViewController>& onScreen() {
    return foundation::Singleton<OnScreen>::shared().controller;
}

// Seconds for the banner picture to travel to or from y, a whole screen height taking 0.8 s.
double moveToTopSeconds(float y) {
    return static_cast<float>(ModalViewController::kMoveToTopSecondsPerScreen * (y / 480.0));
}

// The banner's rectangle in another view's coordinates.
Rect bannerRectIn(const ui::View& banner, const ui::View& view) {
    return banner.convertRectToView(banner.bounds(), &view);
}

} // namespace

std::shared_ptr<ModalViewController> ModalViewController::onScreenModalViewController() {
    return onScreen().lock();
}

std::optional<std::string> ModalViewController::stringFromUIInterfaceOrientation(int orientation) {
    switch (orientation) {
    case 1:
        return "Portrait";
    case 2:
        return "PortraitUpsideDown";
    case 3:
        return "LandscapeRight";
    case 4:
        return "LandscapeLeft";
    case 5:
        return "FaceUp";
    case 6:
        return "FaceDown";
    default:
        return std::nullopt;
    }
}

std::shared_ptr<ModalViewController> ModalViewController::self() {
    return std::static_pointer_cast<ModalViewController>(shared_from_this());
}

// Presentation ------------------------------------------------------------------------------

void ModalViewController::commandeerScreenFromAdView(
    std::shared_ptr<ui::View> adView, int animation, std::weak_ptr<Delegate> delegate,
    std::function<std::shared_ptr<Ad>()> displayedAd) {
    selfHold_ = self();
    if (getOrientationNotifications_) {
        std::weak_ptr<ModalViewController> weak = selfHold_;
        orientationObserver_ = foundation::NotificationCenter::defaultCenter().addObserver(
            Application::kDidChangeStatusBarOrientationNotification, nullptr,
            [weak](const foundation::Notification&) {
                if (auto screen = weak.lock())
                    screen->orientationChanged();
            });
    }
    const int orientation = Application::shared().statusBarOrientation();
    lastPublisherSupportedOrientation_ = orientation;
    lastAccelerometerBasedOrientation_ = orientation;
    transitioningOnScreen_ = true;
    // The visit starts when the screen is fully on; until then it counts from now, so a screen
    // sent away while coming in reports its short stay.
    commandeerTime_ = foundation::absoluteTimeNow();
    adView_ = std::move(adView);
    pubDelegate_ = std::move(delegate);
    displayedAd_ = std::move(displayedAd);
    auto below = onScreenModalViewController();
    const bool grewStack = takeOverFrom(below);
    checkPublisherSupportedOrientations(previousKeyWindow_);
    if (!modalWindow_)
        createModalWindow();
    loadViewWithBounds(view()->bounds());
    transitionAnimation_ = chooseTransitionAnimation(animation, below != nullptr);
    if (grewStack)
        previousModalViewController_->willTakeControl();
    if (!delayFadeInAnimation_)
        setupFadeInAnimation();
}

bool ModalViewController::takeOverFrom(const std::shared_ptr<ModalViewController>& below) {
    auto& application = Application::shared();
    if (below && below->shouldRemoveOnChildModal()) {
        // The replaced screen's place in the stack, and the time the user's visit began,
        // carry over to its replacement.
        previousKeyWindow_ = below->previousKeyWindow_;
        statusBarWasHidden_ = below->statusBarWasHidden_;
        previousModalViewController_ = below->previousModalViewController_;
        commandeerTime_ = below->commandeerTime_;
        return false;
    }
    if (below) {
        auto belowView = below->viewIfLoaded();
        previousKeyWindow_ = belowView ? belowView->window() : nullptr;
        previousModalViewController_ = below;
        return true;
    }
    previousKeyWindow_ = application.keyWindow();
    if (!previousKeyWindow_ && adView_)
        previousKeyWindow_ = adView_->window();
    statusBarWasHidden_ = application.isStatusBarHidden();
    if (!statusBarWasHidden_)
        application.setStatusBarHidden(true);
    if (auto delegate = pubDelegate_.lock())
        delegate->willPresentFullScreenModal();
    return false;
}

void ModalViewController::createModalWindow() {
    modalWindow_ = ui::Window::create(Screen::main().bounds());
    modalWindow_->setBackgroundColor(graphics::Color::clearColor());
    auto content = view();
    modalWindow_->addSubview(content);
    content->setUserInteractionEnabled(false);
}

int ModalViewController::chooseTransitionAnimation(int requested, bool stacked) const {
    if (stacked || requested != kBannerToTop)
        return requested;
    // The banner picture needs the host's window to hold one root view it can read.
    auto keyWindow = Application::shared().keyWindow();
    return keyWindow && keyWindow->subviews().size() == 1 ? requested : kFade;
}

// Entry -------------------------------------------------------------------------------------

void ModalViewController::setupFadeInAnimation() {
    switch (transitionAnimation_) {
    case kBackdrop:
        setupBackdropAnimation();
        break;
    case kBannerToTop:
        setupBannerToTopAnimation();
        break;
    case kSlide:
        setupSlideInAnimation();
        break;
    default:
        adStartAnimationDidStop();
    }
}

void ModalViewController::setupBackdropAnimation() {
    auto bannerWindow = adView_ ? adView_->window() : nullptr;
    if (!bannerWindow) {
        adStartAnimationDidStop();
        return;
    }
    background_ = ui::View::create(bannerRectIn(*adView_, *bannerWindow));
    background_->setBackgroundColor(graphics::Color::colorWithWhite(0.2f, 0.9f));
    background_->setAutoresizingMask(ui::AutoresizingFlexibleWidth |
                                     ui::AutoresizingFlexibleHeight);
    bannerWindow->addSubview(background_);
    animate(
        "PennantModalBackgroundExpand", kFadeSeconds,
        [this] { background_->setFrame(Screen::main().bounds()); },
        &ModalViewController::adStartAnimationDidStop);
}

void ModalViewController::setupBannerToTopAnimation() {
    auto bannerWindow = adView_ ? adView_->window() : nullptr;
    if (!bannerWindow) {
        adStartAnimationDidStop();
        return;
    }
    auto& application = Application::shared();
    const graphics::Size bar =
        application.isStatusBarHidden() ? graphics::Size{0, 0} : application.statusBarFrame().size;
    // A window whose one root view is larger than the application frame (it runs under the
    // status bar) holds the picture in that view instead.
    std::shared_ptr<ui::View> container = bannerWindow;
    const auto& roots = bannerWindow->subviews();
    const Rect app = Screen::main().applicationFrame();
    if (roots.size() == 1) {
        const Rect rootBounds = roots.front()->bounds();
        if (bar.width + bar.height + rootBounds.width() + rootBounds.height() + 1.0 >
            app.width() + app.height())
            container = roots.front();
    }
    screenshotOfAd_ = ui::ImageView::create(bannerRectIn(*adView_, *container));
    screenshotOfAd_->setImage(ui::Compositor::renderLayerImage(*adView_->layer()));
    container->addSubview(screenshotOfAd_);
    adView_->setHidden(true);
    const float top = container == bannerWindow && !application.isStatusBarHidden()
                          ? std::min(bar.width, bar.height)
                          : 0;
    const Rect target(0, top, bannerWindow->bounds().width(), adView_->bounds().height());
    const Rect start = screenshotOfAd_->frame();
    if (start == target) {
        adStartAnimationDidStop();
        return;
    }
    animate(
        "PennantModalAdMoveToTop", moveToTopSeconds(start.minY()),
        [this, target] { screenshotOfAd_->setFrame(target); },
        &ModalViewController::adStartAnimationDidStop, true, ui::ViewAnimationCurve::EaseIn);
}

void ModalViewController::setupSlideInAnimation() {
    landingPageWillAppear();
    modalWindow_->makeKeyAndVisible();
    auto slide = animation::Transition::create(
        animation::Transition::Type::MoveIn,
        getSlideUpSubtype(Application::shared().statusBarOrientation()));
    slide->setDuration(kSlideSeconds);
    slide->setTimingFunction(animation::MediaTimingFunction::functionWithName(
        animation::MediaTimingFunction::Name::EaseOut));
    slide->setDelegate(std::static_pointer_cast<animation::AnimationDelegate>(self()));
    view()->layer()->addAnimation(slide, "transition");
}

void ModalViewController::animationDidStop(animation::Animation&, bool) {
    // Only the slide-in reports here. If the screen was told to go while it slid in, its
    // slide-out is already under way and finishes the exit itself.
    if (transitioningOnScreen_)
        fadeInDidStop();
}

void ModalViewController::adStartAnimationDidStop() {
    landingPageWillAppear();
    auto content = view();
    modalWindow_->setAlpha(0);
    modalWindow_->makeKeyAndVisible();
    content->setAlpha(0);
    for (const auto& subview : content->subviews())
        subview->setAlpha(0);
    animate(
        "LandingPageFadeIn", kFadeSeconds,
        [this, content] {
            modalWindow_->setAlpha(1);
            content->setAlpha(1);
            for (const auto& subview : content->subviews())
                subview->setAlpha(1);
        },
        &ModalViewController::fadeInDidStop);
}

void ModalViewController::fadeInDidStop() {
    auto current = onScreenModalViewController();
    if (!current)
        commandeerTime_ = foundation::absoluteTimeNow();
    else if (current->shouldRemoveOnChildModal())
        current->relinquishScreenForChildModal(true);
    onScreen() = self();
    view()->setUserInteractionEnabled(true);
    landingPageDidAppear();
}

// Dismissal ---------------------------------------------------------------------------------

void ModalViewController::relinquishScreenForChildModal(bool replaced) {
    // Told to go twice (a close tap racing the page's own close): the first one counts.
    if (!transitioningOnScreen_)
        return;
    transitioningOnScreen_ = false;
    landingPageWillDisappear();
    auto content = viewIfLoaded();
    if (replaced) {
        if (content)
            content->removeFromSuperview();
        adFinishAnimationDidStop();
        return;
    }
    if (content)
        content->setUserInteractionEnabled(false);
    if (previousModalViewController_) {
        previousModalViewController_->willRegainControl();
    } else {
        reportEngagement();
        if (auto delegate = pubDelegate_.lock())
            delegate->didDismissFullScreenModal();
    }
    setupFadeOutAnimation();
}

void ModalViewController::reportEngagement() {
    const double seconds = foundation::absoluteTimeNow() - commandeerTime_;
    if (auto ad = displayedAd_ ? displayedAd_() : nullptr)
        ad->setEngagementInterval(seconds);
}

void ModalViewController::setupFadeOutAnimation() {
    if (transitionAnimation_ == kSlide) {
        const Rect exit =
            getExitFrame(Application::shared().statusBarOrientation(), modalWindow_->bounds());
        animate(
            "transition", kSlideSeconds, [this, exit] { modalWindow_->setFrame(exit); },
            &ModalViewController::fadeOutDidStop, true, ui::ViewAnimationCurve::EaseOut);
        return;
    }
    animate(
        "LandingPageFadeOut", kFadeSeconds, [this] { modalWindow_->setAlpha(0); },
        &ModalViewController::fadeOutDidStop);
    if (auto content = viewIfLoaded(); content && background_)
        background_->setFrame(content->frame());
}

void ModalViewController::fadeOutDidStop() {
    if (auto content = viewIfLoaded())
        content->removeFromSuperview();
    setView(nullptr);
    restoreOrientation();
    if (!previousModalViewController_ && !statusBarWasHidden_) {
        Application::shared().setStatusBarHidden(false);
        if (previousKeyWindow_)
            juggleSubviews(*previousKeyWindow_);
    }
    orientationObserver_.reset();
    if (previousKeyWindow_)
        previousKeyWindow_->makeKeyAndVisible();
    animateBackOntoBanner();
}

void ModalViewController::restoreOrientation() {
    auto& application = Application::shared();
    const int now = application.statusBarOrientation();
    const int accelerometer = lastAccelerometerBasedOrientation_;
    const int publisher = lastPublisherSupportedOrientation_;
    const bool backToDevice =
        now != accelerometer && isPublisherSupportedOrientation(accelerometer);
    const bool hostCannotShowNow = now != publisher && !isPublisherSupportedOrientation(now);
    if (backToDevice)
        application.setStatusBarOrientation(accelerometer);
    else if (alwaysGoBackToLastPublisherSupportedOrientation_ || hostCannotShowNow)
        application.setStatusBarOrientation(publisher);
}

void ModalViewController::animateBackOntoBanner() {
    auto bannerWindow = adView_ ? adView_->window() : nullptr;
    auto pictureHolder = screenshotOfAd_ ? screenshotOfAd_->superview() : nullptr;
    if (background_ && bannerWindow) {
        const Rect target = bannerRectIn(*adView_, *bannerWindow);
        animate(
            "PennantModalBackgroundShrink", kFadeSeconds,
            [this, target] { background_->setFrame(target); },
            &ModalViewController::adFinishAnimationDidStop);
    } else if (pictureHolder && adView_) {
        const Rect target = bannerRectIn(*adView_, *pictureHolder);
        animate(
            "PennantModalAdMoveToTop", moveToTopSeconds(target.minY()),
            [this, target] { screenshotOfAd_->setFrame(target); },
            &ModalViewController::adFinishAnimationDidStop, false, ui::ViewAnimationCurve::EaseOut);
    } else {
        adFinishAnimationDidStop();
    }
}

void ModalViewController::adFinishAnimationDidStop() {
    if (background_)
        std::exchange(background_, nullptr)->removeFromSuperview();
    if (screenshotOfAd_)
        std::exchange(screenshotOfAd_, nullptr)->removeFromSuperview();
    if (adView_)
        std::exchange(adView_, nullptr)->setHidden(false);
    displayedAd_ = nullptr;
    if (auto window = std::exchange(modalWindow_, nullptr)) {
        (void)window->resignFirstResponder();
        window->setHidden(true);
        window->removeFromSuperview();
    }
    previousKeyWindow_.reset();
    orientationObserver_.reset();
    if (auto below = std::exchange(previousModalViewController_, nullptr))
        onScreen() = below;
    if (onScreenModalViewController().get() == this)
        onScreen().reset();
    landingPageDidDisappear();
    // Let go of ourselves once this call is over.
    auto last = std::exchange(selfHold_, nullptr);
}

// Interstitial notifications ----------------------------------------------------------------

template <typename Notify>
void ModalViewController::notifyInterstitial(Notify notify) {
    if (!interstitialAd_)
        return;
    if (auto delegate = interstitialAd_->pubInterstitialDelegate())
        notify(*delegate, *interstitialAd_);
}

void ModalViewController::landingPageWillAppear() {
    notifyInterstitial(
        [](InterstitialDelegate& d, InterstitialAd& ad) { d.interstitialWillAppear(ad); });
}

void ModalViewController::landingPageDidAppear() {
    if (interstitialAd_)
        interstitialAd_->record();
    notifyInterstitial(
        [](InterstitialDelegate& d, InterstitialAd& ad) { d.interstitialDidAppear(ad); });
}

void ModalViewController::landingPageWillDisappear() {
    notifyInterstitial(
        [](InterstitialDelegate& d, InterstitialAd& ad) { d.interstitialWillDisappear(ad); });
}

void ModalViewController::landingPageDidDisappear() {
    notifyInterstitial(
        [](InterstitialDelegate& d, InterstitialAd& ad) { d.interstitialDidDisappear(ad); });
}

// Orientation -------------------------------------------------------------------------------

bool ModalViewController::isKeyWindow() const {
    return modalWindow_ && Application::shared().keyWindow() == modalWindow_;
}

void ModalViewController::checkPublisherSupportedOrientations(
    const std::shared_ptr<ui::Window>& window) {
    lastPublisherSupportedOrientation_ = Application::shared().statusBarOrientation();
    publisherSupportedOrientations_.fill(false);
    if (!window)
        return;
    // Asked in this order, answers stored by index: Portrait, UpsideDown, Left, Right.
    static constexpr std::array<int, 4> kAsked{1, 2, 4, 3};
    for (const auto& root : window->subviews()) {
        if (auto controller = root->viewController()) {
            for (std::size_t i = 0; i < kAsked.size(); ++i)
                publisherSupportedOrientations_[i] =
                    controller->shouldAutorotateToInterfaceOrientation(kAsked[i]);
            return;
        }
    }
}

bool ModalViewController::isPublisherSupportedOrientation(int orientation) const {
    switch (orientation) {
    case 1:
        return publisherSupportedOrientations_[0];
    case 2:
        return publisherSupportedOrientations_[1];
    case 3:
        return publisherSupportedOrientations_[3];
    case 4:
        return publisherSupportedOrientations_[2];
    default:
        return false;
    }
}

bool ModalViewController::shouldAutorotateToInterfaceOrientation(int orientation) const {
    switch (allowedOrientations_) {
    case kPortraitOnly:
        return orientation == 1 || orientation == 2;
    case kLandscapeOnly:
        return orientation == 3 || orientation == 4;
    default:
        return true;
    }
}

void ModalViewController::trackOrientation(int orientation) {
    if (orientation != lastPublisherSupportedOrientation_ &&
        isPublisherSupportedOrientation(orientation))
        lastPublisherSupportedOrientation_ = orientation;
    if (previousModalViewController_ &&
        previousModalViewController_->wantsChildOrientationChangeNotification())
        previousModalViewController_->trackOrientation(orientation);
}

void ModalViewController::orientationChanged() {
    // Rotation handling touches views: from another thread it waits for the main one.
    foundation::RunLoop::main().postAndWait(
        [screen = self()] { screen->innerOrientationChanged(); });
}

void ModalViewController::innerOrientationChanged() {
    const int orientation = Application::shared().statusBarOrientation();
    if (orientation == ui::Device::current().orientation())
        lastAccelerometerBasedOrientation_ = orientation;
    if (shouldTrackOrientation_)
        trackOrientation(orientation);
    auto content = viewIfLoaded();
    if (content && shouldChangeOrientation_ && shouldAutorotateToInterfaceOrientation(orientation))
        setupCenterAndBoundsForFullscreenView(*content, orientation);
    orientationDidChangeTo(orientation);
}

void ModalViewController::setupCenterAndBoundsForFullscreenView(ui::View& view, int orientation) {
    const Rect app = Screen::main().applicationFrame();
    const Rect turned = convertApplicationFrame(app, orientation);
    view.setTransform(graphics::AffineTransform::identity());
    view.setCenter({app.midX(), app.midY()});
    view.setBounds(Rect(0, 0, turned.width(), turned.height()));
    constexpr float pi = std::numbers::pi_v<float>;
    switch (orientation) {
    case 2:
        view.setTransform(graphics::AffineTransform::rotation(pi));
        break;
    case 3:
        view.setTransform(graphics::AffineTransform::rotation(pi / 2));
        break;
    case 4:
        view.setTransform(graphics::AffineTransform::rotation(-pi / 2));
        break;
    default:
        break;
    }
    view.setNeedsDisplay();
}

Rect ModalViewController::convertApplicationFrame(const Rect& frame, int orientation) {
    const Rect screen = Screen::main().bounds();
    switch (orientation) {
    case 2:
        return Rect(frame.maxX() - screen.maxX(), frame.maxY() - screen.maxY(), frame.width(),
                    frame.height());
    case 3:
        return Rect(frame.minY() - screen.minY(), screen.maxX() - frame.maxX(), frame.height(),
                    frame.width());
    case 4:
        return Rect(frame.maxY() - screen.maxY(), frame.minX() - screen.minX(), frame.height(),
                    frame.width());
    default:
        return frame;
    }
}

Rect ModalViewController::getExitFrame(int orientation, const Rect& bounds) {
    const float x = bounds.minX(), y = bounds.minY(), w = bounds.width(), h = bounds.height();
    switch (orientation) {
    case 1:
        return Rect(x, h, w, h);
    case 2:
        return Rect(x, -h, w, h);
    case 3:
        return Rect(-w, y, w, h);
    case 4:
        return Rect(w, y, w, h);
    default:
        return bounds;
    }
}

animation::Transition::Subtype ModalViewController::getSlideUpSubtype(int orientation) {
    using Subtype = animation::Transition::Subtype;
    switch (orientation) {
    case 2:
        return Subtype::FromBottom;
    case 3:
        return Subtype::FromLeft;
    case 4:
        return Subtype::FromRight;
    default:
        return Subtype::FromTop;
    }
}

void ModalViewController::juggleSubviews(ui::View& window) {
    const int orientation = Application::shared().statusBarOrientation();
    const Rect app = Screen::main().applicationFrame();
    const Rect turnedApp = convertApplicationFrame(app, orientation);
    const Rect turnedScreen = convertApplicationFrame(Screen::main().bounds(), orientation);
    // Root views laid out for the whole screen while the bar was away make room for it again.
    const auto roots = window.subviews();
    for (const auto& root : roots) {
        if (root->bounds() != turnedScreen)
            continue;
        root->removeFromSuperview();
        root->setCenter({app.midX(), app.midY()});
        root->setBounds(Rect(0, 0, turnedApp.width(), turnedApp.height()));
        window.addSubview(root);
    }
}

// Animation blocks ----------------------------------------------------------------------------

void ModalViewController::animate(const std::string& name, double seconds,
                                  const std::function<void()>& changes,
                                  void (ModalViewController::*didStop)(), bool fromCurrentState,
                                  std::optional<ui::ViewAnimationCurve> curve) {
    std::weak_ptr<ModalViewController> weak = self();
    ui::View::beginAnimations(name);
    ui::View::setAnimationDuration(seconds);
    ui::View::setAnimationBeginsFromCurrentState(fromCurrentState);
    if (curve)
        ui::View::setAnimationCurve(*curve);
    ui::View::setAnimationDidStopHandler(
        [weak, didStop](const std::string&, bool, const std::shared_ptr<void>&) {
            if (auto screen = weak.lock())
                ((*screen).*didStop)();
        });
    changes();
    ui::View::commitAnimations();
}

} // namespace pennant
