#pragma once

#include "platform/animation/Forward.h"

namespace animation {

// Told when an animation attached to a layer starts and stops, on the run loop. An animation
// holds its delegate weakly.
class AnimationDelegate {
public:
    virtual void animationDidStart(Animation&) {}
    // finished is false when the animation was removed before its end.
    virtual void animationDidStop(Animation&, bool /*finished*/) {}

protected:
    ~AnimationDelegate() = default;
};

} // namespace animation
