#pragma once

#include "LoopbackNetwork.h"
#include "platform/foundation/Result.h"
#include "platform/ui/InterfaceLoader.h"

#include <memory>

namespace pennant {
class OldSchoolSingleAdView;
class View;
} // namespace pennant

// Kessa's screen as the simulator launches it (interface description and bundle beside the
// program), in a temporary sandbox home on the virtual clock, with the ad server on loopback.
// The catalogue's first two ads in rotation are text ads, so the banner shows one and flips to
// the next. Lives inside the platform context it was made in.
class BannerScene {
public:
    BannerScene();
    ~BannerScene();
    BannerScene(const BannerScene&) = delete;
    BannerScene& operator=(const BannerScene&) = delete;

    // Launches the app and waits until the banner shows a text ad with a tile and an icon.
    foundation::Status launch();
    // Asks for a fresh ad and waits until it starts flipping in.
    foundation::Status startFlip();
    // Runs the app for this much loop time.
    void advance(double seconds);

    pennant::View& banner() const;
    std::shared_ptr<pennant::OldSchoolSingleAdView> shownAdView() const;

private:
    foundation::Status launchApplication();
    foundation::Status checkShownAd() const;

    LoopbackNetwork network_;
    ui::InterfaceLoader::Loaded interface_;
    std::shared_ptr<pennant::View> banner_;
};
