#include "platform/animation/KeyframeAnimation.h"
#include "platform/animation/Layer.h"
#include "tests/support/VirtualClockFixture.h"

#include <gtest/gtest.h>

using animation::FillMode;
using animation::KeyframeAnimation;
using animation::Layer;
using animation::MediaTimingFunction;
using graphics::Transform3D;
using Name = MediaTimingFunction::Name;

namespace {

class KeyframesOnALayer : public testing_support::VirtualClockFixture {
protected:
    void SetUp() override {
        VirtualClockFixture::SetUp();
        layer = Layer::create();
    }
    float opacityAt(double sinceAdded) {
        return layer->presentationAt(kStart + sinceAdded).opacity;
    }
    std::shared_ptr<Layer> layer;
};

} // namespace

TEST_F(KeyframesOnALayer, KeyTimesAndPerIntervalTimingShapeTheCurve) {
    auto animation = KeyframeAnimation::animationWithKeyPath("opacity");
    animation->setValues({0.0f, 1.0f, 0.5f});
    animation->setKeyTimes({0, 0.25, 1});
    animation->setTimingFunctions({MediaTimingFunction::functionWithName(Name::Linear),
                                   MediaTimingFunction::functionWithName(Name::EaseIn)});
    animation->setDuration(2);
    layer->addAnimation(animation);
    EXPECT_NEAR(opacityAt(0.25), 0.5f, 1e-6) << "halfway to the second key at 0.5 s";
    EXPECT_NEAR(opacityAt(0.5), 1, 1e-6);
    // Halfway through the eased second interval: 0.3153 of the way from 1 to 0.5.
    EXPECT_NEAR(opacityAt(1.25), 1 - 0.5 * 0.3153, 1e-3);
    EXPECT_EQ(opacityAt(2.5), 1) << "removed fill: the model shows again";
}

TEST_F(KeyframesOnALayer, WithoutKeyTimesValuesAreEvenlySpacedOrSteppedWhenDiscrete) {
    auto animation = KeyframeAnimation::animationWithKeyPath("opacity");
    animation->setValues({0.0f, 0.4f, 0.8f});
    animation->setDuration(1);
    animation->setKeyTimes({0, 1}); // does not match the values: ignored
    layer->addAnimation(animation);
    EXPECT_NEAR(opacityAt(0.75), 0.6f, 1e-6);
    animation->setCalculationMode(KeyframeAnimation::CalculationMode::Discrete);
    layer->addAnimation(animation, "k");
    EXPECT_NEAR(opacityAt(0.3), 0.0f, 1e-6);
    EXPECT_NEAR(opacityAt(0.4), 0.4f, 1e-6);
    EXPECT_NEAR(opacityAt(0.99), 0.8f, 1e-6);
}

// The click pulse: grows to 1.4 times, then shrinks to nothing and stays so.
TEST_F(KeyframesOnALayer, APulseHeldForwardsStaysShrunkAfterItsEnd) {
    auto pulse = KeyframeAnimation::animationWithKeyPath("transform");
    pulse->setValues({Transform3D::identity(), Transform3D::scale(1.4f, 1.4f, 1),
                      Transform3D::scale(0.001f, 0.001f, 1)});
    pulse->setKeyTimes({0, 0.4, 1});
    pulse->setDuration(0.5);
    pulse->setRemovedOnCompletion(false);
    pulse->setFillMode(FillMode::Forwards);
    layer->addAnimation(pulse, "pulse");
    EXPECT_NEAR(layer->presentationAt(kStart + 0.1).transform.m11, 1.2f, 1e-5);
    EXPECT_NEAR(layer->presentationAt(kStart + 0.2).transform.m22, 1.4f, 1e-5);
    advance(5);
    EXPECT_NEAR(layer->presentationAt(now()).transform.m11, 0.001f, 1e-6);
    EXPECT_EQ(layer->animationKeys(), std::vector<std::string>{"pulse"});
    layer->removeAnimationForKey("pulse");
    EXPECT_TRUE(layer->presentationAt(now()).transform.isIdentity());
}
