#pragma once

#include "platform/animation/Forward.h"
#include "platform/animation/MediaTimingFunction.h"

#include <memory>
#include <optional>

namespace animation {

enum class FillMode { Removed, Forwards, Backwards, Both };

// The timing every animation shares. Times are seconds: a begin time of 0 means "when added"
// for an animation added to a layer (the layer records the loop time then) and "at the
// group's start" inside a group; other begin times are loop times, or times in the group.
// Within its active time an animation runs repeatCount passes of duration seconds (twice as
// long each with autoreverses) at speed, shifted by timeOffset.
class Animation {
public:
    virtual ~Animation() = default;
    // A layer keeps its own copy, so changing an animation after adding it changes nothing.
    virtual std::shared_ptr<Animation> copy() const = 0;

    double beginTime() const { return beginTime_; }
    void setBeginTime(double time) { beginTime_ = time; }
    double timeOffset() const { return timeOffset_; }
    void setTimeOffset(double offset) { timeOffset_ = offset; }
    // Zero stands for the platform's default of 0.25 s.
    double duration() const { return duration_; }
    void setDuration(double duration) { duration_ = duration; }
    float speed() const { return speed_; }
    void setSpeed(float speed) { speed_ = speed; }
    // Zero means one pass; infinity repeats for ever.
    float repeatCount() const { return repeatCount_; }
    void setRepeatCount(float count) { repeatCount_ = count; }
    bool autoreverses() const { return autoreverses_; }
    void setAutoreverses(bool autoreverses) { autoreverses_ = autoreverses; }
    FillMode fillMode() const { return fillMode_; }
    void setFillMode(FillMode mode) { fillMode_ = mode; }
    bool isRemovedOnCompletion() const { return removedOnCompletion_; }
    void setRemovedOnCompletion(bool removed) { removedOnCompletion_ = removed; }
    const std::optional<MediaTimingFunction>& timingFunction() const { return timingFunction_; }
    void setTimingFunction(std::optional<MediaTimingFunction> function) {
        timingFunction_ = function;
    }
    std::weak_ptr<AnimationDelegate> delegate() const { return delegate_; }
    void setDelegate(std::weak_ptr<AnimationDelegate> delegate) { delegate_ = std::move(delegate); }

    // One pass in the animation's own time.
    double passDuration() const;
    // How long the animation is active in its parent's time: infinite for an endless repeat
    // and for a paused (speed 0) animation.
    double activeDuration() const;
    // Where it stands within one pass (0 to passDuration, shaped by the timing function) the
    // given time after its begin time, in its parent's time; none when it has no effect then.
    std::optional<double> passTimeAt(double sinceBegin) const;
    // Adds its effect to the values, the given time after its begin time.
    void applyAt(LayerValues& values, double sinceBegin) const;

protected:
    Animation() = default;
    Animation(const Animation&) = default;
    virtual void apply(LayerValues& values, double passTime) const = 0;

private:
    bool fillsBackwards() const;
    bool fillsForwards() const;

    double beginTime_ = 0;
    double timeOffset_ = 0;
    double duration_ = 0;
    float speed_ = 1;
    float repeatCount_ = 0;
    bool autoreverses_ = false;
    FillMode fillMode_ = FillMode::Removed;
    bool removedOnCompletion_ = true;
    std::optional<MediaTimingFunction> timingFunction_;
    std::weak_ptr<AnimationDelegate> delegate_;
};

} // namespace animation
