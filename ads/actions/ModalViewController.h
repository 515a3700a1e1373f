#pragma once

#include "platform/animation/AnimationDelegate.h"
#include "platform/animation/Transition.h"
#include "platform/foundation/Subscribers.h"
#include "platform/graphics/Geometry.h"
#include "platform/ui/ViewController.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace ui {
class ImageView;
class Window;
enum class ViewAnimationCurve : int;
} // namespace ui

namespace pennant {

class Ad;
class AnalyticsData;
class Delegate;
class InterstitialAd;

// The base of every screen the client shows over the host application. It takes the screen
// from the tapped banner: remembers the host's key window and status bar, hides the bar, puts
// its own window on top with an entry animation that starts at the banner, follows rotation,
// and on leaving runs the matching exit and gives everything back. Screens stack: a new one
// replaces the one on top when that one asks to be removed, else goes above it.
class ModalViewController : public ui::ViewController, public animation::AnimationDelegate {
public:
    // Animation codes.
    enum Animation : int { kFade = 0, kBackdrop = 1, kBannerToTop = 2, kSlide = 3 };
    enum Orientations : int { kPortraitOnly = 0, kLandscapeOnly = 1, kAnyOrientation = 2 };
    static constexpr double kFadeSeconds = 0.4;
    static constexpr double kSlideSeconds = 0.8;
    // The banner picture crosses the whole screen height in this long.
    static constexpr double kMoveToTopSecondsPerScreen = 0.8;

    static std::shared_ptr<ModalViewController> create() {
        return std::shared_ptr<ModalViewController>(new ModalViewController());
    }
    std::string className() const override { return "PennantModalViewController"; }

    // The screen that owns the display now, the top of the stack; not kept alive by this.
    static std::shared_ptr<ModalViewController> onScreenModalViewController();
    static std::optional<std::string> stringFromUIInterfaceOrientation(int orientation);

    // Presents the screen from the banner (null for none: no banner geometry). displayedAd
    // gives the banner's ad on display when the last screen goes, to hear how long the user
    // stayed.
    void commandeerScreenFromAdView(std::shared_ptr<ui::View> adView, int animation,
                                    std::weak_ptr<Delegate> delegate,
                                    std::function<std::shared_ptr<Ad>()> displayedAd = {});
    void relinquishScreenForChildModal(bool replaced);
    // Starts the entry animation; the subclass calls it itself when delayFadeInAnimation is set.
    void setupFadeInAnimation();

    // Overridable steps, with the base behaviour.
    virtual bool shouldRemoveOnChildModal() const { return false; }
    virtual void relinquishScreen() { relinquishScreenForChildModal(false); }
    virtual void willTakeControl() {}
    virtual void willRegainControl() {}
    virtual void loadViewWithBounds(const graphics::Rect&) {}
    virtual void landingPageWillAppear();
    virtual void landingPageDidAppear();
    virtual void landingPageWillDisappear();
    virtual void landingPageDidDisappear();
    virtual void orientationDidChangeTo(int) {}
    virtual void setInterstitialAd(std::shared_ptr<InterstitialAd> ad) {
        interstitialAd_ = std::move(ad);
    }

    const std::shared_ptr<InterstitialAd>& interstitialAd() const { return interstitialAd_; }
    // The host's delegate the screen was presented for; screens pass it on to their openers.
    const std::weak_ptr<Delegate>& pubDelegate() const { return pubDelegate_; }
    const std::shared_ptr<AnalyticsData>& analytics() const { return analytics_; }
    void setAnalytics(std::shared_ptr<AnalyticsData> analytics) {
        analytics_ = std::move(analytics);
    }
    int allowedOrientations() const { return allowedOrientations_; }
    void setAllowedOrientations(int orientations) { allowedOrientations_ = orientations; }
    bool wantsChildOrientationChangeNotification() const {
        return wantsChildOrientationChangeNotification_;
    }
    bool statusBarWasHidden() const { return statusBarWasHidden_; }
    const std::shared_ptr<ui::Window>& previousKeyWindow() const { return previousKeyWindow_; }
    const std::shared_ptr<ui::Window>& modalWindow() const { return modalWindow_; }
    const std::shared_ptr<ModalViewController>& previousModalViewController() const {
        return previousModalViewController_;
    }
    int transitionAnimation() const { return transitionAnimation_; }
    int lastPublisherSupportedOrientation() const { return lastPublisherSupportedOrientation_; }
    int lastAccelerometerBasedOrientation() const { return lastAccelerometerBasedOrientation_; }
    const std::shared_ptr<ui::View>& background() const { return background_; }
    const std::shared_ptr<ui::ImageView>& screenshotOfAd() const { return screenshotOfAd_; }
    bool isKeyWindow() const;

    // Orientation rules.
    void checkPublisherSupportedOrientations(const std::shared_ptr<ui::Window>& window);
    bool isPublisherSupportedOrientation(int orientation) const;
    bool shouldAutorotateToInterfaceOrientation(int orientation) const override;
    void trackOrientation(int orientation);
    void orientationChanged();
    void setupCenterAndBoundsForFullscreenView(ui::View& view, int orientation);
    static graphics::Rect convertApplicationFrame(const graphics::Rect& frame, int orientation);
    static graphics::Rect getExitFrame(int orientation, const graphics::Rect& bounds);
    static animation::Transition::Subtype getSlideUpSubtype(int orientation);
    static void juggleSubviews(ui::View& window);

    void animationDidStop(animation::Animation&, bool finished) override;

protected:
    ModalViewController() = default;

    // Settings a subclass makes before presenting.
    bool getOrientationNotifications_ = true;
    bool shouldChangeOrientation_ = true;
    bool shouldTrackOrientation_ = true;
    bool alwaysGoBackToLastPublisherSupportedOrientation_ = false;
    bool wantsChildOrientationChangeNotification_ = false;
    bool delayFadeInAnimation_ = false;

private:
    // Takes the place below from the screen on top, if any; true when the stack grows.
    bool takeOverFrom(const std::shared_ptr<ModalViewController>& below);
    void createModalWindow();
    int chooseTransitionAnimation(int requested, bool stacked) const;
    void setupBackdropAnimation();
    void setupBannerToTopAnimation();
    void setupSlideInAnimation();
    void adStartAnimationDidStop();
    void fadeInDidStop();
    void reportEngagement();
    void setupFadeOutAnimation();
    void fadeOutDidStop();
    void restoreOrientation();
    void animateBackOntoBanner();
    void adFinishAnimationDidStop();
    void innerOrientationChanged();
    // Runs one view animation block that calls the step when it stops.
    void animate(const std::string& name, double seconds, const std::function<void()>& changes,
                 void (ModalViewController::*didStop)(), bool fromCurrentState = false,
                 std::optional<ui::ViewAnimationCurve> curve = std::nullopt);
    std::shared_ptr<ModalViewController> self();
    template <typename Notify>
    void notifyInterstitial(Notify notify);

    std::weak_ptr<Delegate> pubDelegate_;
    std::shared_ptr<ui::View> adView_;
    std::function<std::shared_ptr<Ad>()> displayedAd_;
    std::shared_ptr<InterstitialAd> interstitialAd_;
    std::shared_ptr<ui::Window> previousKeyWindow_;
    bool statusBarWasHidden_ = false;
    std::shared_ptr<ModalViewController> previousModalViewController_;
    std::shared_ptr<ui::Window> modalWindow_;
    int transitionAnimation_ = kFade;
    bool transitioningOnScreen_ = false;
    std::shared_ptr<ui::View> background_;
    std::shared_ptr<ui::ImageView> screenshotOfAd_;
    int lastPublisherSupportedOrientation_ = 0;
    int lastAccelerometerBasedOrientation_ = 0;
    // The host controller's answers: Portrait, PortraitUpsideDown, LandscapeLeft, LandscapeRight.
    std::array<bool, 4> publisherSupportedOrientations_{};
    int allowedOrientations_ = kAnyOrientation;
    std::shared_ptr<AnalyticsData> analytics_;
    double commandeerTime_ = 0;
    // The screen keeps itself alive from presentation to the end of its clean-up.
    std::shared_ptr<ModalViewController> selfHold_;
    foundation::Subscription orientationObserver_;
};

} // namespace pennant
