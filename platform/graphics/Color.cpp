#include "platform/graphics/Color.h"

#include <algorithm>
#include <cmath>

namespace graphics {
namespace {

// NaN saturates to 0 so a malformed colour still draws as something definite.
float saturate(float component) {
    if (std::isnan(component))
        return 0;
    return std::clamp(component, 0.0f, 1.0f);
}

} // namespace

Color Color::clamped() const {
    return {saturate(red_), saturate(green_), saturate(blue_), saturate(alpha_)};
}

} // namespace graphics
