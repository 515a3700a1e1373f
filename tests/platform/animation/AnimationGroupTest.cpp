#include "platform/animation/AnimationGroup.h"
#include "platform/animation/BasicAnimation.h"
#include "platform/animation/Layer.h"
#include "tests/support/VirtualClockFixture.h"

#include <gtest/gtest.h>

using animation::AnimationGroup;
using animation::BasicAnimation;
using animation::FillMode;
using animation::Layer;
using graphics::Point;

namespace {

class GroupOnALayer : public testing_support::VirtualClockFixture {};

std::shared_ptr<BasicAnimation> member(const char* keyPath, float from, float to, double begin,
                                       double duration) {
    auto animation = BasicAnimation::animationWithKeyPath(keyPath);
    animation->setFromValue(from);
    animation->setToValue(to);
    animation->setBeginTime(begin);
    animation->setDuration(duration);
    return animation;
}

} // namespace

TEST_F(GroupOnALayer, MembersRunOnTheGroupsTimeLineAndStopAtItsEnd) {
    auto layer = Layer::create();
    auto fade = member("opacity", 0, 1, 0, 1);
    auto slide = member("position.x", 0, 100, 1, 1);
    slide->setFillMode(FillMode::Backwards);
    auto group = AnimationGroup::create();
    group->setAnimations({fade, slide});
    group->setDuration(1.5);
    group->setBeginTime(kStart + 1);
    layer->addAnimation(group);
    fade->setToValue(0.0f); // the layer has its own copy
    auto at = [&](double t) { return layer->presentationAt(kStart + t); };
    EXPECT_EQ(at(0.5).opacity, 1) << "the group has not begun";
    EXPECT_EQ(at(1.5).opacity, 0.5f);
    EXPECT_EQ(at(1.5).position, (Point{0, 0})) << "the slide's start held backwards";
    EXPECT_EQ(at(2.25).position.x, 25);
    EXPECT_EQ(at(2.25).opacity, 1) << "the fade ended inside the group";
    EXPECT_EQ(at(2.6).position.x, 0) << "the group ended, cutting the slide short";
}

TEST_F(GroupOnALayer, RepeatingAutoreversingGroupsReplayTheirMembers) {
    auto layer = Layer::create();
    auto group = AnimationGroup::create();
    group->setAnimations({member("opacity", 0, 1, 0, 1)});
    group->setDuration(1);
    group->setRepeatCount(2);
    group->setAutoreverses(true);
    group->setSpeed(2);
    layer->addAnimation(group);
    EXPECT_EQ(layer->presentationAt(kStart + 0.25).opacity, 0.5f);
    EXPECT_EQ(layer->presentationAt(kStart + 0.625).opacity, 0.75f) << "coming back";
    EXPECT_EQ(layer->presentationAt(kStart + 1.125).opacity, 0.25f) << "second time round";
}
