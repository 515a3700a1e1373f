#pragma once

namespace pennant {
class ClickPrompt;
class ClickToCallAlert;
class ClickToContactsAlert;
class Contact;
class InterstitialAd;
class InterstitialDelegate;
class ModalViewController;
} // namespace pennant
