#include "platform/ui/ViewAnimation.h"
#include "platform/animation/Layer.h"
#include "platform/ui/View.h"
#include "tests/support/VirtualClockFixture.h"

#include <gtest/gtest.h>

#include <cstdio>

using graphics::Point;
using graphics::Rect;
using ui::View;
using ui::ViewAnimationCurve;

namespace {

class ViewAnimationBlocks : public testing_support::VirtualClockFixture {
protected:
    void SetUp() override {
        VirtualClockFixture::SetUp();
        view = View::create(Rect(0, 0, 10, 10));
    }
    // Handlers that write "<what> <name> <seconds since start>" to the log.
    void listen() {
        View::setAnimationWillStartHandler(
            [this](const std::string& name, const auto&) { note("start " + name); });
        View::setAnimationDidStopHandler(
            [this](const std::string& name, bool finished, const auto&) {
                note((finished ? "stop " : "cut ") + name);
            });
    }
    void note(const std::string& what) {
        char time[32];
        std::snprintf(time, sizeof time, " %.2f", now() - kStart);
        log.push_back(what + time);
    }
    Point shownCenter() { return view->layer()->presentationAt(now()).position; }

    std::shared_ptr<View> view;
    std::vector<std::string> log;
};

} // namespace

TEST_F(ViewAnimationBlocks, ChangesAnimateAfterTheDelayAndTheHandlersHearStartThenStop) {
    auto context = std::make_shared<int>(7);
    std::shared_ptr<void> heard;
    View::beginAnimations("fade", context);
    View::setAnimationDuration(0.5);
    View::setAnimationDelay(0.1);
    View::setAnimationCurve(ViewAnimationCurve::Linear);
    listen();
    View::setAnimationDidStopHandler(
        [this, &heard](const std::string& name, bool finished, const std::shared_ptr<void>& c) {
            heard = c;
            note((finished ? "stop " : "cut ") + name);
        });
    view->setAlpha(0);
    View::commitAnimations();
    EXPECT_EQ(view->alpha(), 0) << "the model changes at once";
    advance(0.05);
    EXPECT_EQ(view->layer()->presentationAt(now()).opacity, 1)
        << "held at the start during the delay";
    advance(0.3);
    EXPECT_NEAR(view->layer()->presentationAt(now()).opacity, 0.5f, 1e-4);
    advance(1);
    EXPECT_EQ(log, (std::vector<std::string>{"start fade 0.10", "stop fade 0.60"}));
    EXPECT_EQ(heard, context);
}

TEST_F(ViewAnimationBlocks, BeginningFromTheCurrentStateStartsWhereTheViewIsShown) {
    for (bool fromCurrent : {false, true}) {
        view->setCenter({0, 0});
        View::beginAnimations(fromCurrent ? "current" : "model");
        View::setAnimationDuration(1);
        listen();
        view->setCenter({100, 0});
        View::commitAnimations();
        advance(0.5);
        View::beginAnimations("back");
        View::setAnimationBeginsFromCurrentState(fromCurrent);
        view->setCenter({0, 0});
        View::commitAnimations();
        EXPECT_NEAR(shownCenter().x, fromCurrent ? 50 : 100, 1e-3);
        advance(1);
        view->layer()->removeAllAnimations();
    }
    EXPECT_EQ(log, (std::vector<std::string>{"start model 0.00", "cut model 0.50",
                                             "start current 1.50", "cut current 2.00"}));
}

TEST_F(ViewAnimationBlocks, InnerBlocksInheritSettingsAndTheOuterStopsLast) {
    View::beginAnimations("outer");
    View::setAnimationDuration(1);
    View::setAnimationCurve(ViewAnimationCurve::Linear);
    listen();
    view->setCenter({100, 5});
    View::beginAnimations("inner");
    listen();
    auto other = View::create(Rect(0, 0, 10, 10));
    other->setAlpha(0);
    View::setAnimationDuration(2); // too late for the change above
    other->setBounds(Rect(0, 0, 20, 20));
    View::commitAnimations();
    View::commitAnimations();
    advance(0.5);
    EXPECT_NEAR(other->layer()->presentationAt(now()).opacity, 0.5f, 1e-4) << "1 s, linear";
    EXPECT_NEAR(other->layer()->presentationAt(now()).bounds.width(), 12.5f, 1e-4) << "2 s";
    view->setAlpha(0.5f); // outside any block: no animation
    EXPECT_EQ(view->layer()->presentationAt(now()).opacity, 0.5f);
    advance(2);
    EXPECT_EQ(log, (std::vector<std::string>{"start inner 0.00", "start outer 0.00",
                                             "stop inner 2.00", "stop outer 2.00"}));
}

TEST_F(ViewAnimationBlocks, SettingsOutsideABlockAndUnchangedValuesAnimateNothing) {
    View::setAnimationDuration(5);
    View::beginAnimations("same");
    listen();
    view->setFrame(view->frame());
    View::commitAnimations();
    EXPECT_TRUE(view->layer()->animationKeys().empty());
    advance(0);
    EXPECT_EQ(log, (std::vector<std::string>{"start same 0.00", "stop same 0.00"}));
}
