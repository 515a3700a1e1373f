#pragma once

#include "ads/actions/ModalViewController.h"
#include "ads/video/VideoEvent.h"
#include "ads/video/VideoInfo.h"
#include "platform/foundation/Subscribers.h"
#include "platform/foundation/Timer.h"
#include "platform/graphics/AffineTransform.h"

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace foundation {
class Dictionary;
}
namespace graphics {
class Image;
}
namespace media {
class MoviePlayerController;
enum class MovieFinishReason : int;
} // namespace media
namespace ui {
class ActivityIndicatorView;
class Button;
} // namespace ui

namespace pennant {

class ShineView;
class VideoPlayerButton;
class VideoPlayerOverlayView;

// A full-screen video ad: a splash for a set time, then the platform player with this screen's
// own overlay over it (title bar, action buttons, skip), turned with the device; when the movie
// ends, the overlay becomes an end screen over the splash with the buttons and "Replay".
// Start, end, skip and button presses go to the ad's analytics. Main thread only.
class VideoViewController : public ModalViewController {
public:
    struct Settings {
        foundation::URL contentURL;
        std::optional<std::string> title;
        int scalingMode = 1;
        int controls = VideoInfo::kHiddenControls;
        std::shared_ptr<graphics::Image> splash;
        // Negative for the default splash time; 0 starts the movie at once.
        double splashDuration = -1.0;
        std::shared_ptr<graphics::Image> skipButtonDown;
        std::shared_ptr<graphics::Image> skipButtonUp;
        bool showSkipOnSplash = true;
        std::shared_ptr<graphics::Image> replayButtonDown;
        std::shared_ptr<graphics::Image> replayButtonUp;
        std::vector<std::shared_ptr<VideoPlayerButton>> buttons;
    };
    static constexpr double kDefaultSplashSeconds = 1.5;
    static constexpr int kWindowSearchAttempts = 150;
    static constexpr double kWindowSearchInterval = 0.1;
    static constexpr double kLandscapeOverlaySeconds = 5.0;
    static constexpr double kAutomaticCloseSeconds = 7.5;
    static constexpr double kFadeOutSeconds = 0.32;
    static constexpr double kFadeInSeconds = 1.28;
    static constexpr const char* kMovieViewClassName = "MPVideoBackgroundView";

    static std::shared_ptr<VideoViewController> create(Settings settings);
    ~VideoViewController() override;
    std::string className() const override { return "PennantVideoViewController"; }

    // The controller that last started a movie, while it lives.
    static std::shared_ptr<VideoViewController> lastPlayerOrNil();
    // 0 speaker or no reading, 1 headphones or headset, 2 no route, 4 anything else.
    static int audioRoute();
    // Depth first, the parent before its subviews.
    static std::shared_ptr<ui::View> findSubviewWithName(const std::string& name,
                                                         const std::shared_ptr<ui::View>& parent);
    // Told when any video screen of the current platform context starts, finishes, skips or
    // replays its movie.
    [[nodiscard]] static foundation::Subscription
    observeEvents(std::function<void(const VideoEvent&)> observer);

    // A user stop: the movie ends and the screen closes.
    void stop();
    // Another movie opens: this one ends as if it had run out, end screen included.
    void stopForAnotherMovie();
    void skip();
    void restart();
    // Sent by a button before its own action runs; keeps the end screen up.
    void recordButtonPress(const std::optional<std::string>& pageName);

    // Whether the player's window is faded out (a child screen covers this one).
    bool isHidden() const;
    void setHidden(bool hidden);

    void setInterstitialAd(std::shared_ptr<InterstitialAd> ad) override;
    void relinquishScreen() override;
    void willTakeControl() override;
    void willRegainControl() override;
    void loadViewWithBounds(const graphics::Rect& bounds) override;
    void landingPageDidAppear() override;
    void landingPageWillDisappear() override;
    void orientationDidChangeTo(int orientation) override;

    const VideoInfo& info() const { return info_; }
    const std::shared_ptr<media::MoviePlayerController>& moviePlayer() const {
        return moviePlayer_;
    }
    const std::shared_ptr<ui::Window>& mpWindow() const { return mpWindow_; }
    const std::shared_ptr<VideoPlayerOverlayView>& overlay() const { return overlay_; }
    const std::shared_ptr<ui::Button>& skipButton() const { return skipButton_; }
    const std::shared_ptr<ShineView>& flexibleWidthBar() const { return flexibleWidthBar_; }
    const std::vector<std::shared_ptr<VideoPlayerButton>>& buttons() const { return buttonArray_; }
    double splashDuration() const { return splashDuration_; }
    bool movieRanUntilEnd() const { return movieRanUntilEnd_; }
    bool shouldKeepOverlayShowingAtEnd() const { return shouldKeepOverlayShowingAtEnd_; }

private:
    explicit VideoViewController(Settings& settings);

    void createSkipButton(const Settings& settings);
    void setSkipTitleText();
    void setTarget(ui::Button& button, void (VideoViewController::*action)());
    bool setupMoviePlayer();
    void setupView();
    void addLogoAndSpinner(bool withSpinner);
    std::shared_ptr<ui::ActivityIndicatorView> getSpinner(const graphics::Rect& rect);
    void registerForMoviePlayerNotifications();
    void deregisterForMoviePlayerNotifications();
    void startVideo();
    void play();
    void monitorMovieWindow();
    bool addSpinnerToPlayer(const std::shared_ptr<ui::View>& window);
    void movieWindowFound(const std::shared_ptr<ui::Window>& window);
    void moviePlayerStarted(int orientation);
    void stop(bool userStop);
    void cleanupMoviePlayer();
    void moviePlayBackDidFinish(media::MovieFinishReason reason);
    void closeAndRelinquish();
    void recordStart();
    void recordStop();
    void recordVisit(const std::string& name, const foundation::Dictionary& extraParams);
    void reportEvent(VideoEvent::Kind kind) const;

    // The overlay and the end screen.
    void customizeMoviePlayer(int orientation);
    void addTitleBar();
    void addControls();
    void showOverlay();
    void setMoviePlayerOrientation(int orientation);
    void setOverlayOrientation(int orientation);
    void moveOverlayToLandingPage();
    void addReplayButton();

    std::shared_ptr<VideoViewController> self();

    VideoInfo info_;
    std::shared_ptr<media::MoviePlayerController> moviePlayer_;
    std::shared_ptr<ui::Window> mpWindow_;
    graphics::AffineTransform originalTransform_;
    graphics::Rect originalFrame_;
    std::shared_ptr<VideoPlayerOverlayView> overlay_;
    std::vector<std::shared_ptr<VideoPlayerButton>> buttonArray_;
    std::shared_ptr<ShineView> flexibleWidthBar_;
    std::set<std::string> analyticsEventsPosted_;
    bool buttonsPressed_ = false;
    bool stopCalled_ = false;
    bool moviePlayerHadStopCalledOnIt_ = false;
    bool movieRanUntilEnd_ = false;
    std::shared_ptr<graphics::Image> splash_;
    double splashDuration_ = kDefaultSplashSeconds;
    std::shared_ptr<ui::View> logoView_;
    std::shared_ptr<ui::ActivityIndicatorView> spinner_;
    std::shared_ptr<ui::Button> skipButton_;
    bool showSkipOnSplash_ = true;
    std::shared_ptr<graphics::Image> replayButtonUp_;
    std::shared_ptr<graphics::Image> replayButtonDown_;
    int originalOrientation_ = 1;
    std::shared_ptr<ui::View> originalView_;
    bool shouldKeepOverlayShowingAtEnd_ = true;
    bool alreadyRelinquished_ = false;
    int windowSearchAttempts_ = 0;

    std::vector<foundation::Subscription> playerObservers_;
    // Delayed steps; each dies with the controller.
    foundation::Timer startVideoTimer_;
    foundation::Timer windowSearchTimer_;
    foundation::Timer closeTimer_;
};

} // namespace pennant
