#pragma once

#include "platform/foundation/Dictionary.h"
#include "platform/graphics/Geometry.h"

#include <optional>
#include <string>

namespace pennant {

class Ad;

// The owner of an ad (normally the banner's controller): hears once whether the ad loaded,
// and how each click went.
class AdDelegate {
public:
    virtual ~AdDelegate() = default;

    // The size a rich ad is laid out to.
    virtual graphics::Size adSize() = 0;
    virtual void adDidLoad(Ad& ad) = 0;
    virtual void adDidFailToLoad(Ad& ad) = 0;
    // The click response; empty when there is none (the ad opened its own action, or the
    // server's answer was not a JSON object).
    virtual void clickDidSucceed(Ad& ad, const std::optional<foundation::Dictionary>& response) = 0;
    virtual void clickDidFail(Ad& ad) = 0;
    // From the search banner's click.
    virtual void displaySearchWithAd(Ad&, const std::string& /*placeholderText*/,
                                     const std::string& /*webpageURL*/) {}
};

} // namespace pennant
