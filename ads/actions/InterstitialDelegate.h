#pragma once

namespace pennant {

class InterstitialAd;

// What a publisher hears about its interstitial's screen; each notification is optional.
class InterstitialDelegate {
public:
    virtual ~InterstitialDelegate() = default;

    virtual void interstitialWillAppear(InterstitialAd&) {}
    virtual void interstitialDidAppear(InterstitialAd&) {}
    virtual void interstitialWillDisappear(InterstitialAd&) {}
    virtual void interstitialDidDisappear(InterstitialAd&) {}
};

} // namespace pennant
