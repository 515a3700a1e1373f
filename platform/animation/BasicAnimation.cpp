#include "platform/animation/BasicAnimation.h"

#include "platform/animation/KeyPath.h"
#include "platform/animation/LayerValues.h"

namespace animation {

struct BasicAnimation::Ends {
    AnimationValue from;
    AnimationValue to;
};

std::shared_ptr<BasicAnimation> BasicAnimation::animationWithKeyPath(std::string keyPath) {
    return std::shared_ptr<BasicAnimation>(new BasicAnimation(std::move(keyPath)));
}

std::shared_ptr<Animation> BasicAnimation::copy() const {
    return std::shared_ptr<BasicAnimation>(new BasicAnimation(*this));
}

std::optional<BasicAnimation::Ends> BasicAnimation::ends(const AnimationValue& underlying) const {
    auto offset = [](const AnimationValue& base, const AnimationValue& by, float sign) {
        return AnimationValue::combine(base, by, sign);
    };
    if (from_ && to_)
        return Ends{*from_, *to_};
    if (from_ && by_) {
        if (auto to = offset(*from_, *by_, 1))
            return Ends{*from_, *to};
        return std::nullopt;
    }
    if (to_ && by_) {
        if (auto from = offset(*to_, *by_, -1))
            return Ends{*from, *to_};
        return std::nullopt;
    }
    if (from_)
        return Ends{*from_, underlying};
    if (to_)
        return Ends{underlying, *to_};
    if (by_) {
        if (auto to = offset(underlying, *by_, 1))
            return Ends{underlying, *to};
    }
    return std::nullopt;
}

void BasicAnimation::apply(LayerValues& values, double passTime) const {
    const auto underlying = KeyPath::get(values, keyPath());
    if (!underlying)
        return;
    const auto e = ends(*underlying);
    if (!e)
        return;
    if (auto value = AnimationValue::interpolate(e->from, e->to, passTime / passDuration()))
        (void)KeyPath::set(values, keyPath(), *value);
}

} // namespace animation
