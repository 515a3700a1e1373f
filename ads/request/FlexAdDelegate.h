#pragma once

#include "platform/foundation/Error.h"

#include <memory>

namespace pennant {

class FlexAd;

// Hears whether a rich ad finished building its view tree. The ad that received the markup
// is the delegate.
class FlexAdDelegate {
public:
    virtual void flexAdDidFailLoadWithError(const std::shared_ptr<FlexAd>& flexAd,
                                            const foundation::Error& error) = 0;
    virtual void flexAdDidLoad(const std::shared_ptr<FlexAd>& flexAd) = 0;

protected:
    ~FlexAdDelegate() = default;
};

} // namespace pennant
