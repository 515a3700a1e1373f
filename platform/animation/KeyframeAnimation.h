#pragma once

#include "platform/animation/AnimationValue.h"
#include "platform/animation/PropertyAnimation.h"

#include <vector>

namespace animation {

// Moves a property through a list of values. Key times (0 to 1, one per value, ascending)
// say when each value is reached; without them the values are evenly spaced. Each interval
// may have its own timing function. In discrete mode the property jumps from value to value.
class KeyframeAnimation : public PropertyAnimation {
public:
    enum class CalculationMode { Linear, Discrete };

    static std::shared_ptr<KeyframeAnimation> animationWithKeyPath(std::string keyPath);
    std::shared_ptr<Animation> copy() const override;

    const std::vector<AnimationValue>& values() const { return values_; }
    void setValues(std::vector<AnimationValue> values) { values_ = std::move(values); }
    const std::vector<double>& keyTimes() const { return keyTimes_; }
    void setKeyTimes(std::vector<double> keyTimes) { keyTimes_ = std::move(keyTimes); }
    const std::vector<MediaTimingFunction>& timingFunctions() const { return timingFunctions_; }
    void setTimingFunctions(std::vector<MediaTimingFunction> functions) {
        timingFunctions_ = std::move(functions);
    }
    CalculationMode calculationMode() const { return mode_; }
    void setCalculationMode(CalculationMode mode) { mode_ = mode; }

protected:
    using PropertyAnimation::PropertyAnimation;
    void apply(LayerValues& values, double passTime) const override;

private:
    double keyTime(std::size_t index) const;
    std::optional<AnimationValue> valueAt(double fraction) const;

    std::vector<AnimationValue> values_;
    std::vector<double> keyTimes_;
    std::vector<MediaTimingFunction> timingFunctions_;
    CalculationMode mode_ = CalculationMode::Linear;
};

} // namespace animation
