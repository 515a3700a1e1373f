#include "platform/ui/ActivityIndicatorView.h"
#include "platform/graphics/RecordedOperation.h"
#include "platform/graphics/RecordingContext.h"
#include "tests/support/VirtualClockFixture.h"

#include <gtest/gtest.h>

using graphics::Rect;
using ui::ActivityIndicatorView;
using ui::ActivityIndicatorViewStyle;
using Kind = graphics::RecordedOperation::Kind;

namespace {

class Spinner : public testing_support::VirtualClockFixture {
protected:
    // The opacity of each spoke as drawn, spoke 0 first.
    static std::vector<float> spokeAlphas(ActivityIndicatorView& view) {
        graphics::RecordingContext context;
        view.drawRect(context, view.bounds());
        std::vector<float> alphas;
        for (const auto& fill : context.operationsOfKind(Kind::SetFillColor))
            alphas.push_back(fill.color.alpha());
        return alphas;
    }
    static int brightest(ActivityIndicatorView& view) {
        auto alphas = spokeAlphas(view);
        return int(std::max_element(alphas.begin(), alphas.end()) - alphas.begin());
    }
};

} // namespace

TEST_F(Spinner, StylesSetTheSizeAndTheSpinnerHidesWhileStopped) {
    auto large = ActivityIndicatorView::create(ActivityIndicatorViewStyle::WhiteLarge);
    EXPECT_EQ(large->frame(), Rect(0, 0, 37, 37));
    auto gray = ActivityIndicatorView::create(ActivityIndicatorViewStyle::Gray);
    EXPECT_EQ(gray->frame(), Rect(0, 0, 20, 20));
    gray->setCenter({100, 100});
    gray->setActivityIndicatorViewStyle(ActivityIndicatorViewStyle::WhiteLarge);
    EXPECT_EQ(gray->frame(), Rect(81.5f, 81.5f, 37, 37)) << "about its centre";
    EXPECT_TRUE(gray->isHidden());
    gray->startAnimating();
    EXPECT_TRUE(gray->isAnimating());
    EXPECT_FALSE(gray->isHidden());
    gray->stopAnimating();
    EXPECT_TRUE(gray->isHidden());
    gray->setHidesWhenStopped(false);
    EXPECT_FALSE(gray->isHidden());
}

TEST_F(Spinner, TheBrightestSpokeStepsRoundTwelveTimesASecond) {
    auto spinner = ActivityIndicatorView::create(ActivityIndicatorViewStyle::White);
    auto alphas = spokeAlphas(*spinner);
    ASSERT_EQ(alphas.size(), 12u);
    EXPECT_EQ(brightest(*spinner), 0);
    EXPECT_GT(alphas[0], alphas[11]) << "the spoke just behind the lead is dimmer";
    EXPECT_GT(alphas[11], alphas[1]) << "and the one ahead of it the faintest";
    spinner->startAnimating();
    advance(1.0 / 24); // looking half way between steps
    EXPECT_EQ(brightest(*spinner), 0);
    advance(1.0 / 12);
    EXPECT_EQ(brightest(*spinner), 1);
    advance(0.5);
    EXPECT_EQ(brightest(*spinner), 7);
    advance(1);
    EXPECT_EQ(brightest(*spinner), 7) << "a full turn a second";
    spinner->stopAnimating();
    advance(1);
    EXPECT_EQ(brightest(*spinner), 7);
    EXPECT_FALSE(loop().hasPendingTimers());
}
