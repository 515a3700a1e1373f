#pragma once

#include "platform/graphics/Color.h"

#include <memory>
#include <optional>

namespace foundation {
template <typename T>
class Singleton;
}

namespace pennant {

class Delegate;

// The colours every flex ad of the process shares: asked of the first host delegate that
// needs them, then kept for the life of the process.
class FlexAdColors {
public:
    static FlexAdColors& shared();

    graphics::Color primaryTextColor(const std::weak_ptr<Delegate>& host);
    graphics::Color secondaryTextColor(const std::weak_ptr<Delegate>& host);
    graphics::Color adBackgroundColor(const std::weak_ptr<Delegate>& host);

private:
    friend class foundation::Singleton<FlexAdColors>;
    FlexAdColors() = default;

    std::optional<graphics::Color> primary_;
    std::optional<graphics::Color> secondary_;
    std::optional<graphics::Color> background_;
};

} // namespace pennant
