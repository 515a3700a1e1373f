#pragma once

#include "platform/animation/Animation.h"

#include <vector>

namespace animation {

// Runs its animations on its own time line: their begin times count from the group's start,
// and the group's duration, repeats and fill cut them off or hold them.
class AnimationGroup : public Animation {
public:
    static std::shared_ptr<AnimationGroup> create();
    std::shared_ptr<Animation> copy() const override;

    const std::vector<std::shared_ptr<Animation>>& animations() const { return animations_; }
    void setAnimations(std::vector<std::shared_ptr<Animation>> animations) {
        animations_ = std::move(animations);
    }

protected:
    AnimationGroup() = default;
    void apply(LayerValues& values, double passTime) const override;

private:
    std::vector<std::shared_ptr<Animation>> animations_;
};

} // namespace animation
