#pragma once

#include "platform/foundation/Dictionary.h"
#include "platform/graphics/Geometry.h"

#include <memory>
#include <optional>
#include <string>

namespace pennant {

class Ad;
class Delegate;
class FlexAd;
class FlexAdDelegate;

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
    // Builds the rich ad a "markup" response describes; loading starts at once and may end
    // before this returns. An owner that cannot show rich ads builds none, and the ad fails.
    virtual std::shared_ptr<FlexAd> newFlexAd(const foundation::Value& /*markup*/,
                                              std::weak_ptr<FlexAdDelegate> /*delegate*/,
                                              std::weak_ptr<Delegate> /*host*/,
                                              const graphics::Rect& /*frame*/) {
        return nullptr;
    }
    // From the search banner's click.
    virtual void displaySearchWithAd(Ad&, const std::string& /*placeholderText*/,
                                     const std::string& /*webpageURL*/) {}
};

} // namespace pennant
