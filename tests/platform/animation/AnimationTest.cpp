#include "platform/animation/BasicAnimation.h"
#include "platform/animation/MediaTimingFunction.h"

#include <gtest/gtest.h>

#include <cmath>

using animation::BasicAnimation;
using animation::FillMode;
using animation::MediaTimingFunction;
using Name = MediaTimingFunction::Name;

namespace {

// The fraction of the pass shown the given time after the begin time, or -1 for no effect.
double fractionAt(const BasicAnimation& animation, double sinceBegin) {
    auto passTime = animation.passTimeAt(sinceBegin);
    return passTime ? *passTime / animation.passDuration() : -1;
}

std::shared_ptr<BasicAnimation> oneSecond() {
    auto animation = BasicAnimation::animationWithKeyPath("opacity");
    animation->setDuration(1);
    return animation;
}

} // namespace

TEST(MediaTimingFunction, NamedCurvesHaveThePlatformsShapes) {
    auto linear = MediaTimingFunction::functionWithName(Name::Linear);
    auto easeIn = MediaTimingFunction::functionWithName(Name::EaseIn);
    auto easeOut = MediaTimingFunction::functionWithName(Name::EaseOut);
    auto easeInOut = MediaTimingFunction::functionWithName(Name::EaseInEaseOut);
    EXPECT_NEAR(linear.evaluate(0.3), 0.3, 1e-6);
    EXPECT_NEAR(easeInOut.evaluate(0.5), 0.5, 1e-6) << "symmetric";
    EXPECT_NEAR(easeIn.evaluate(0.5), 0.3153, 1e-3);
    EXPECT_NEAR(easeOut.evaluate(0.5), 0.6847, 1e-3);
    EXPECT_NEAR(easeIn.evaluate(0.5) + easeOut.evaluate(0.5), 1, 1e-6) << "mirror images";
    EXPECT_EQ(easeIn.evaluate(0), 0);
    EXPECT_NEAR(easeIn.evaluate(1), 1, 1e-9);
    // A custom curve that overshoots its end on the way.
    MediaTimingFunction overshoot(0.3f, 1.6f, 0.7f, 1.6f);
    EXPECT_GT(overshoot.evaluate(0.6), 1);
}

TEST(Animation, DurationRepeatsAndAutoreverseSetTheActiveTime) {
    auto animation = oneSecond();
    EXPECT_EQ(animation->activeDuration(), 1);
    animation->setDuration(0);
    EXPECT_EQ(animation->activeDuration(), 0.25) << "the platform's default duration";
    animation->setDuration(2);
    animation->setRepeatCount(1.5f);
    animation->setAutoreverses(true);
    animation->setSpeed(2);
    EXPECT_EQ(animation->activeDuration(), 3);
    animation->setRepeatCount(INFINITY);
    EXPECT_TRUE(std::isinf(animation->activeDuration()));
}

TEST(Animation, RepeatsAndAutoreversesFoldTimeIntoOnePass) {
    auto animation = oneSecond();
    animation->setRepeatCount(2);
    animation->setAutoreverses(true);
    animation->setFillMode(FillMode::Forwards);
    EXPECT_NEAR(fractionAt(*animation, 0.25), 0.25, 1e-9);
    EXPECT_NEAR(fractionAt(*animation, 1.25), 0.75, 1e-9) << "on its way back";
    EXPECT_NEAR(fractionAt(*animation, 2.5), 0.5, 1e-9) << "second repetition";
    EXPECT_NEAR(fractionAt(*animation, 9), 0, 1e-9) << "ends where it began";
    animation->setAutoreverses(false);
    animation->setRepeatCount(2.5f);
    EXPECT_NEAR(fractionAt(*animation, 9), 0.5, 1e-9) << "a half repetition ends halfway";
    animation->setRepeatCount(2);
    EXPECT_NEAR(fractionAt(*animation, 2), 1, 1e-9) << "the end of the last pass, not a new one";
}

TEST(Animation, FillModesDecideWhatShowsBeforeAndAfter) {
    auto animation = oneSecond();
    const struct {
        FillMode mode;
        double before, after;
    } cases[] = {{FillMode::Removed, -1, -1},
                 {FillMode::Forwards, -1, 1},
                 {FillMode::Backwards, 0, -1},
                 {FillMode::Both, 0, 1}};
    for (const auto& c : cases) {
        animation->setFillMode(c.mode);
        EXPECT_EQ(fractionAt(*animation, -0.5), c.before) << int(c.mode);
        EXPECT_EQ(fractionAt(*animation, 1.5), c.after) << int(c.mode);
        EXPECT_NEAR(fractionAt(*animation, 0.5), 0.5, 1e-9);
    }
}

TEST(Animation, SpeedAndTimeOffsetShiftItsOwnTime) {
    auto animation = oneSecond();
    animation->setSpeed(2);
    EXPECT_NEAR(fractionAt(*animation, 0.25), 0.5, 1e-9);
    EXPECT_EQ(fractionAt(*animation, 0.6), -1) << "done after half a second";
    animation->setSpeed(1);
    animation->setTimeOffset(0.75);
    EXPECT_NEAR(fractionAt(*animation, 0.1), 0.85, 1e-9);
    EXPECT_NEAR(fractionAt(*animation, 0.5), 0.25, 1e-9) << "the offset wraps around";
    animation->setSpeed(0);
    EXPECT_NEAR(fractionAt(*animation, 100), 0.75, 1e-9) << "paused at its offset";
    animation->setSpeed(1);
    animation->setTimeOffset(0);
    animation->setTimingFunction(MediaTimingFunction::functionWithName(Name::EaseIn));
    EXPECT_NEAR(fractionAt(*animation, 0.5), 0.3153, 1e-3);
}
