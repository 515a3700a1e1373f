#pragma once

#include "platform/graphics/Color.h"
#include "platform/graphics/Geometry.h"
#include "platform/graphics/Transform3D.h"

#include <optional>
#include <variant>

namespace animation {

// A value an animation moves a layer property through. Values of different kinds do not
// mix: a calculation between them has no result, and the property keeps its own value.
class AnimationValue {
public:
    using Storage = std::variant<float, graphics::Point, graphics::Size, graphics::Rect,
                                 graphics::Transform3D, graphics::Color>;

    AnimationValue(float value) : storage_(value) {}
    AnimationValue(graphics::Point value) : storage_(value) {}
    AnimationValue(graphics::Size value) : storage_(value) {}
    AnimationValue(graphics::Rect value) : storage_(value) {}
    AnimationValue(const graphics::Transform3D& value) : storage_(value) {}
    AnimationValue(graphics::Color value) : storage_(value) {}

    template <typename T>
    const T* get() const {
        return std::get_if<T>(&storage_);
    }

    // From a (fraction 0) to b (fraction 1); fractions outside [0, 1] extrapolate.
    // Transforms move through their translation, scale, rotation and skew, so a turn stays a
    // turn halfway.
    static std::optional<AnimationValue> interpolate(const AnimationValue& a,
                                                     const AnimationValue& b, double fraction);
    // Componentwise a + sign * b: what a "by" value adds. Transforms concatenate (b after a,
    // or its inverse for a negative sign when it has one).
    static std::optional<AnimationValue> combine(const AnimationValue& a, const AnimationValue& b,
                                                 float sign);

    bool operator==(const AnimationValue&) const = default;

private:
    Storage storage_;
};

} // namespace animation
