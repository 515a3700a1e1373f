#include "platform/animation/AnimationGroup.h"

namespace animation {

std::shared_ptr<AnimationGroup> AnimationGroup::create() {
    return std::shared_ptr<AnimationGroup>(new AnimationGroup());
}

std::shared_ptr<Animation> AnimationGroup::copy() const {
    auto group = std::shared_ptr<AnimationGroup>(new AnimationGroup(*this));
    for (auto& member : group->animations_)
        if (member)
            member = member->copy();
    return group;
}

void AnimationGroup::apply(LayerValues& values, double passTime) const {
    for (const auto& member : animations_)
        if (member)
            member->applyAt(values, passTime - member->beginTime());
}

} // namespace animation
