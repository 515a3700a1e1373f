#pragma once

#include "platform/animation/AnimationValue.h"

#include <optional>
#include <string_view>

namespace animation {

struct LayerValues;

// Reads and writes the animatable properties of layer values by the platform's key paths:
// "position", "position.x", "bounds", "bounds.size.width", "anchorPoint", "opacity",
// "zPosition", "backgroundColor", "transform" and its parts such as "transform.scale",
// "transform.rotation.z" and "transform.translation.x".
class KeyPath {
public:
    static bool isAnimatable(std::string_view keyPath);
    static std::optional<AnimationValue> get(const LayerValues& values, std::string_view keyPath);
    // False, leaving the values alone, for an unknown path or a value of the wrong kind.
    static bool set(LayerValues& values, std::string_view keyPath, const AnimationValue& value);
};

} // namespace animation
