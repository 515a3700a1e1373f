#pragma once

#include "platform/foundation/Value.h"

#include <memory>
#include <optional>
#include <string>

namespace animation {
class Animation;
}

namespace pennant {

class FlexTimeBase;

// What the flex ad's container asks of every view in its tree: to start its animation when
// the ad first shows, and, on a click, what it has to report under its interaction tag.
class FlexAdViewProtocol {
public:
    virtual ~FlexAdViewProtocol() = default;

    virtual void setAnimation(std::shared_ptr<animation::Animation> animation) = 0;
    virtual std::shared_ptr<animation::Animation> animation() const = 0;
    virtual void setUiTag(std::optional<std::string> tag) = 0;
    virtual std::optional<std::string> uiTag() const = 0;
    // Nothing to report is nullopt; such a view is left out of the click's data.
    virtual std::optional<foundation::Value> userInteractionHistory() const = 0;
    // Called once, when the container is first drawn.
    virtual void viewDidAppear() = 0;
    // Views that time-stamp what the user does keep the container's clock; others ignore it.
    virtual void setContainerView(std::weak_ptr<FlexTimeBase>) {}
};

} // namespace pennant
