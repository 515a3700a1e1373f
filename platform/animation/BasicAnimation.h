#pragma once

#include "platform/animation/AnimationValue.h"
#include "platform/animation/PropertyAnimation.h"

namespace animation {

// Moves a property between two values. Any two of from, to and by give the ends; a missing
// end is the value the property has under this animation (so "to" alone starts from where the
// property is, "by" alone moves it that far).
class BasicAnimation : public PropertyAnimation {
public:
    static std::shared_ptr<BasicAnimation> animationWithKeyPath(std::string keyPath);
    std::shared_ptr<Animation> copy() const override;

    const std::optional<AnimationValue>& fromValue() const { return from_; }
    void setFromValue(std::optional<AnimationValue> value) { from_ = std::move(value); }
    const std::optional<AnimationValue>& toValue() const { return to_; }
    void setToValue(std::optional<AnimationValue> value) { to_ = std::move(value); }
    const std::optional<AnimationValue>& byValue() const { return by_; }
    void setByValue(std::optional<AnimationValue> value) { by_ = std::move(value); }

protected:
    using PropertyAnimation::PropertyAnimation;
    void apply(LayerValues& values, double passTime) const override;

private:
    struct Ends;
    std::optional<Ends> ends(const AnimationValue& underlying) const;

    std::optional<AnimationValue> from_, to_, by_;
};

} // namespace animation
