#pragma once

#include <memory>

namespace pennant {

class InterstitialDelegate;

// A full-screen ad shown on its own rather than from a banner tap. The screen that shows it
// records its display and tells the publisher's interstitial delegate as it comes and goes.
class InterstitialAd {
public:
    virtual ~InterstitialAd() = default;

    // The publisher's listener, or null when there is none.
    virtual std::shared_ptr<InterstitialDelegate> pubInterstitialDelegate() = 0;
    // Counts the display with the ad network.
    virtual void record() = 0;
    // Its web page finished loading, or could not load before showing anything.
    virtual void interstitialReady() {}
    virtual void interstitialDidFailToLoad() {}
};

} // namespace pennant
