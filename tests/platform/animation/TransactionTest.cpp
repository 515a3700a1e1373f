#include "platform/animation/Transaction.h"
#include "platform/animation/BasicAnimation.h"
#include "platform/animation/Layer.h"
#include "tests/support/VirtualClockFixture.h"

#include <gtest/gtest.h>

using animation::BasicAnimation;
using animation::Layer;
using animation::Transaction;

namespace {

class Transactions : public testing_support::VirtualClockFixture {
protected:
    static std::shared_ptr<BasicAnimation> lasting(double duration) {
        auto animation = BasicAnimation::animationWithKeyPath("opacity");
        animation->setToValue(0.0f);
        animation->setDuration(duration);
        return animation;
    }
    std::vector<std::pair<double, bool>> completions;
    std::function<void(bool)> recordCompletion() {
        return [this](bool finished) { completions.emplace_back(now() - kStart, finished); };
    }
};

} // namespace

TEST_F(Transactions, CompletionWaitsForEveryAnimationIncludingNestedOnes) {
    auto a = Layer::create(), b = Layer::create();
    Transaction::begin();
    Transaction::setCompletion(recordCompletion());
    a->addAnimation(lasting(0.5));
    Transaction::begin();
    b->addAnimation(lasting(1));
    Transaction::commit();
    Transaction::commit();
    advance(0.75);
    EXPECT_TRUE(completions.empty());
    advance(0.5);
    EXPECT_EQ(completions, (std::vector<std::pair<double, bool>>{{1, true}}));
}

TEST_F(Transactions, AnEarlyRemovalReportsUnfinishedAndAnEmptyOneCompletesNextTurn) {
    auto layer = Layer::create();
    Transaction::begin();
    Transaction::setCompletion(recordCompletion());
    layer->addAnimation(lasting(1), "a");
    Transaction::commit();
    advance(0.5);
    layer->removeAnimationForKey("a");
    advance(0);
    EXPECT_EQ(completions, (std::vector<std::pair<double, bool>>{{0.5, false}}));
    Transaction::begin();
    Transaction::setCompletion(recordCompletion());
    Transaction::commit();
    EXPECT_EQ(completions.size(), 1u) << "never inside the commit";
    advance(0);
    EXPECT_EQ(completions, (std::vector<std::pair<double, bool>>{{0.5, false}, {0.5, true}}));
}
