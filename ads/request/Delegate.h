#pragma once

#include "platform/foundation/Date.h"
#include "platform/graphics/Color.h"
#include "platform/location/Location.h"

#include <optional>
#include <string>

namespace pennant {

class View;

// What the host tells the ad client and hears from it. Only publisherId() is required; every
// other answer is optional, and std::nullopt means the host does not give one. Notifications
// do nothing unless the host overrides them.
class Delegate {
public:
    virtual ~Delegate() = default;

    // Sent as the request parameter "s" and with analytics visits.
    virtual std::string publisherId() = 0;

    // The banner's first ad has loaded, or it failed or timed out.
    virtual void didReceiveAd(View&) {}
    virtual void didFailToReceiveAd(View&) {}

    virtual std::optional<graphics::Color> adBackgroundColor() { return std::nullopt; }
    virtual std::optional<graphics::Color> primaryTextColor() { return std::nullopt; }
    virtual std::optional<graphics::Color> secondaryTextColor() { return std::nullopt; }
    virtual std::optional<bool> useGraySpinner() { return std::nullopt; }

    virtual std::optional<bool> mayAskForLocation() { return std::nullopt; }
    // A host may answer "no location" on purpose (an empty inner value): the device's own
    // location is then not consulted either.
    virtual std::optional<std::optional<location::Location>> location() { return std::nullopt; }

    virtual std::optional<bool> useTestAd() { return std::nullopt; }
    virtual std::optional<std::string> testAdAction() { return std::nullopt; }

    virtual std::optional<std::string> postalCode() { return std::nullopt; }
    virtual std::optional<std::string> areaCode() { return std::nullopt; }
    virtual std::optional<foundation::Date> dateOfBirth() { return std::nullopt; }
    virtual std::optional<std::string> gender() { return std::nullopt; }
    virtual std::optional<std::string> keywords() { return std::nullopt; }
    virtual std::optional<std::string> searchString() { return std::nullopt; }

    // Replaces the whole default ad-request endpoint.
    virtual std::optional<std::string> adserverEndpoint() { return std::nullopt; }

    // Around a full-screen presentation that covers the application.
    virtual void willPresentFullScreenModal() {}
    virtual void didDismissFullScreenModal() {}
};

} // namespace pennant
