#include "platform/animation/BasicAnimation.h"
#include "platform/animation/Layer.h"
#include "tests/support/VirtualClockFixture.h"

#include <gtest/gtest.h>

#include <cmath>

using animation::AnimationValue;
using animation::BasicAnimation;
using animation::Layer;
using graphics::Color;
using graphics::Point;
using graphics::Rect;
using graphics::Transform3D;

namespace {

class BasicAnimationOnALayer : public testing_support::VirtualClockFixture {
protected:
    void SetUp() override {
        VirtualClockFixture::SetUp();
        layer = Layer::create();
        layer->setFrame(Rect(0, 0, 100, 50));
    }
    // Adds a one-second animation now; returns the presentation half a second later.
    animation::LayerValues halfwayThrough(const std::shared_ptr<BasicAnimation>& animation) {
        animation->setDuration(1);
        layer->removeAllAnimations();
        layer->addAnimation(animation);
        return layer->presentationAt(now() + 0.5);
    }
    std::shared_ptr<Layer> layer;
};

std::shared_ptr<BasicAnimation> fromTo(const char* keyPath, AnimationValue from,
                                       AnimationValue to) {
    auto animation = BasicAnimation::animationWithKeyPath(keyPath);
    animation->setFromValue(from);
    animation->setToValue(to);
    return animation;
}

} // namespace

TEST_F(BasicAnimationOnALayer, InterpolatesEachKindOfProperty) {
    EXPECT_EQ(halfwayThrough(fromTo("opacity", 0.0f, 1.0f)).opacity, 0.5f);
    EXPECT_EQ(halfwayThrough(fromTo("position", Point{0, 0}, Point{100, 40})).position,
              (Point{50, 20}));
    EXPECT_EQ(halfwayThrough(fromTo("position.x", 10.0f, 30.0f)).position, (Point{20, 25}));
    EXPECT_EQ(halfwayThrough(fromTo("bounds", Rect(0, 0, 100, 50), Rect(0, 0, 200, 10))).bounds,
              Rect(0, 0, 150, 30));
    EXPECT_EQ(halfwayThrough(fromTo("backgroundColor", Color::blackColor(), Color::whiteColor()))
                  .backgroundColor,
              Color(0.5f, 0.5f, 0.5f, 1));
    EXPECT_EQ(halfwayThrough(fromTo("transform.scale", 1.0f, 3.0f)).transform,
              Transform3D::scale(2, 2, 2));
    EXPECT_EQ(layer->opacity(), 1) << "the model is untouched";
}

TEST_F(BasicAnimationOnALayer, TransformsTurnRatherThanShrinkOnTheWay) {
    const float quarter = float(M_PI / 2);
    auto shown = halfwayThrough(
        fromTo("transform", Transform3D::identity(), Transform3D::rotation(quarter, 0, 0, 1)));
    const Transform3D expected = Transform3D::rotation(quarter / 2, 0, 0, 1);
    EXPECT_NEAR(shown.transform.m11, expected.m11, 1e-5);
    EXPECT_NEAR(shown.transform.m12, expected.m12, 1e-5);
    EXPECT_NEAR(shown.transform.m21, expected.m21, 1e-5);
    auto spin = halfwayThrough(fromTo("transform.rotation.z", 0.0f, float(M_PI)));
    EXPECT_NEAR(spin.transform.m11, 0, 1e-5);
    EXPECT_NEAR(spin.transform.m12, 1, 1e-5);
}

TEST_F(BasicAnimationOnALayer, MissingEndsComeFromTheProperty) {
    layer->setOpacity(0.2f);
    auto toOnly = BasicAnimation::animationWithKeyPath("opacity");
    toOnly->setToValue(1.0f);
    EXPECT_NEAR(halfwayThrough(toOnly).opacity, 0.6f, 1e-6);
    auto byOnly = BasicAnimation::animationWithKeyPath("position.y");
    byOnly->setByValue(100.0f);
    EXPECT_EQ(halfwayThrough(byOnly).position.y, 75) << "from 25 by 100";
    auto fromBy = BasicAnimation::animationWithKeyPath("position.x");
    fromBy->setFromValue(0.0f);
    fromBy->setByValue(10.0f);
    auto toBy = BasicAnimation::animationWithKeyPath("position.y");
    toBy->setToValue(0.0f);
    toBy->setByValue(10.0f);
    EXPECT_EQ(halfwayThrough(fromBy).position.x, 5);
    EXPECT_EQ(halfwayThrough(toBy).position.y, -5);
}

TEST_F(BasicAnimationOnALayer, AValueOfTheWrongKindLeavesThePropertyAlone) {
    EXPECT_EQ(halfwayThrough(fromTo("opacity", Rect(0, 0, 1, 1), Rect(0, 0, 2, 2))).opacity, 1);
    EXPECT_EQ(halfwayThrough(fromTo("opacity", 0.0f, Point{1, 1})).opacity, 1);
    EXPECT_EQ(halfwayThrough(fromTo("noSuchProperty", 0.0f, 1.0f)).opacity, 1);
}
