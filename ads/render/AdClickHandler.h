#pragma once

#include "platform/foundation/Dictionary.h"

#include <optional>

namespace pennant {

class SingleAdView;

// What an ad view asks of the controller that shows it: to handle a click, with what the view
// recorded of the touches that made it.
class AdClickHandler {
public:
    virtual ~AdClickHandler() = default;

    virtual void click(SingleAdView& view, const std::optional<foundation::Dictionary>& data) = 0;
};

} // namespace pennant
