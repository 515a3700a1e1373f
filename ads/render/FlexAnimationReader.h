#pragma once

#include "platform/animation/AnimationValue.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string_view>

namespace animation {
class AnimationGroup;
class BasicAnimation;
class KeyframeAnimation;
} // namespace animation

namespace foundation {
class Value;
}

namespace pennant {

// Builds a flex ad element's layer animations from their dictionaries; members that cannot be
// built are left out. Timing comes from the network, so it is bounded: every animation ends at
// a finite time that the run loop's clock can still count in, or repeats for ever.
class FlexAnimationReader {
public:
    // The default a typed read falls back to, for a value type code; none for an unknown code.
    using DefaultValueProvider = std::optional<animation::AnimationValue> (*)(std::string_view);

    static constexpr double kMaximumSeconds = 3600;
    static constexpr float kMaximumRepeatCount = 10000;
    // Speeds are kept within these magnitudes; 0 (paused) stays 0.
    static constexpr float kMinimumSpeed = 0.001f;
    static constexpr float kMaximumSpeed = 1000;
    // Keyframe values and group members beyond these are not read.
    static constexpr std::size_t kMaximumKeyframes = 256;
    static constexpr std::size_t kMaximumMembers = 256;

    // A value of type "F", "R", "P", "S", "AT" (as a 3D transform), "T3" or "C"; none for
    // any other type.
    static std::optional<animation::AnimationValue> valueOfType(std::string_view type,
                                                                const foundation::Value& value,
                                                                DefaultValueProvider provider);
    static std::optional<animation::AnimationValue>
    defaultAnimationFromValueWithValueType(std::string_view type);
    static std::optional<animation::AnimationValue>
    defaultAnimationToValueWithValueType(std::string_view type);
    static bool isAcceptedKeypath(std::string_view keyPath);

    static std::shared_ptr<animation::BasicAnimation>
    basicAnimationFromDictionary(const foundation::Value& member);
    static std::shared_ptr<animation::KeyframeAnimation>
    keyframeAnimationFromDictionary(const foundation::Value& member);
    // Properties of null count as none; so does any value that is not a dictionary.
    static std::shared_ptr<animation::AnimationGroup>
    animationGroupFromArray(const foundation::Value& members, const foundation::Value& properties);
};

} // namespace pennant
