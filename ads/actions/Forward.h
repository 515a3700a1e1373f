#pragma once

namespace pennant {
class InterstitialAd;
class InterstitialDelegate;
class ModalViewController;
} // namespace pennant
