#include "platform/animation/KeyframeAnimation.h"

#include "platform/animation/KeyPath.h"
#include "platform/animation/LayerValues.h"

#include <algorithm>

namespace animation {

std::shared_ptr<KeyframeAnimation> KeyframeAnimation::animationWithKeyPath(std::string keyPath) {
    return std::shared_ptr<KeyframeAnimation>(new KeyframeAnimation(std::move(keyPath)));
}

std::shared_ptr<Animation> KeyframeAnimation::copy() const {
    return std::shared_ptr<KeyframeAnimation>(new KeyframeAnimation(*this));
}

// Key times that do not match the values one for one are ignored, as the platform does.
double KeyframeAnimation::keyTime(std::size_t index) const {
    if (keyTimes_.size() == values_.size())
        return keyTimes_[index];
    const std::size_t steps =
        mode_ == CalculationMode::Discrete ? values_.size() : values_.size() - 1;
    return steps == 0 ? 0 : double(index) / double(steps);
}

std::optional<AnimationValue> KeyframeAnimation::valueAt(double fraction) const {
    const std::size_t count = values_.size();
    // The last key whose time has come.
    std::size_t i = 0;
    while (i + 1 < count && keyTime(i + 1) <= fraction)
        ++i;
    if (mode_ == CalculationMode::Discrete || i + 1 == count)
        return values_[i];
    const double start = keyTime(i), end = keyTime(i + 1);
    double local = end > start ? (fraction - start) / (end - start) : 1;
    if (i < timingFunctions_.size())
        local = timingFunctions_[i].evaluate(local);
    return AnimationValue::interpolate(values_[i], values_[i + 1], local);
}

void KeyframeAnimation::apply(LayerValues& values, double passTime) const {
    if (values_.empty())
        return;
    if (auto value = valueAt(std::clamp(passTime / passDuration(), 0.0, 1.0)))
        (void)KeyPath::set(values, keyPath(), *value);
}

} // namespace animation
