#include "platform/ui/ScrollView.h"
#include "platform/ui/Application.h"
#include "platform/ui/ScrollViewDelegate.h"
#include "platform/ui/Window.h"
#include "tests/support/VirtualClockFixture.h"

#include <gtest/gtest.h>

#include <fmt/format.h>
#include <string>
#include <vector>

using graphics::Point;
using graphics::Rect;
using graphics::Size;
using ui::ScrollView;
using ui::Touch;

namespace {

using Events = std::vector<std::string>;

struct EventLog : ui::ScrollViewDelegate {
    void scrollViewDidScroll(ScrollView& view) override {
        ++scrolls;
        lastOffset = view.contentOffset();
    }
    void scrollViewWillBeginDragging(ScrollView&) override { events.push_back("will-drag"); }
    void scrollViewDidEndDragging(ScrollView&, bool decelerate) override {
        events.push_back(decelerate ? "end-drag decelerating" : "end-drag");
    }
    void scrollViewWillBeginDecelerating(ScrollView&) override {
        events.push_back("will-decelerate");
    }
    void scrollViewDidEndDecelerating(ScrollView&) override { events.push_back("end-decelerate"); }
    void scrollViewDidEndScrollingAnimation(ScrollView&) override {
        events.push_back("end-animation");
    }
    Events events;
    int scrolls = 0;
    Point lastOffset;
};

// Notes the touches it gets; passing them on is optional, as views that do not handle them do.
class TouchLog : public ui::View {
    UI_CREATABLE(TouchLog)
    void touchesBegan(const ui::TouchSet& t, const ui::Event& e) override { note("began", t, e); }
    void touchesMoved(const ui::TouchSet& t, const ui::Event& e) override { note("moved", t, e); }
    void touchesEnded(const ui::TouchSet& t, const ui::Event& e) override { note("ended", t, e); }
    void touchesCancelled(const ui::TouchSet& t, const ui::Event& e) override {
        note("cancelled", t, e);
    }
    Events seen;
    bool passesOn = false;

protected:
    explicit TouchLog(const Rect& frame) : View(frame) {}

private:
    void note(const char* what, const ui::TouchSet& touches, const ui::Event& event) {
        seen.emplace_back(what);
        if (!passesOn)
            return;
        const std::string name(what);
        if (name == "began")
            View::touchesBegan(touches, event);
        else if (name == "ended")
            View::touchesEnded(touches, event);
    }
};

// A 300 by 100 scroll view at (10, 100) over three pages of content, in a key window.
class Scrolling : public testing_support::VirtualClockFixture {
protected:
    void SetUp() override {
        VirtualClockFixture::SetUp();
        window = ui::Window::create(Rect(0, 0, 320, 480));
        window->makeKeyAndVisible();
        scroll = ScrollView::create(Rect(10, 100, 300, 100));
        scroll->setContentSize(Size{900, 100});
        scroll->setPagingEnabled(true);
        scroll->setDelegate(log);
        window->addSubview(scroll);
    }
    void touch(Touch::Phase phase, float x, float y) {
        ui::Application::shared().sendTouch(int(phase), {x, y}, now());
    }
    // A finger moving from x0 to x1 at y 150 in steps of 0.02 s, then resting before it lifts.
    void drag(float x0, float x1, double seconds, double restSeconds = 0) {
        touch(Touch::Phase::Began, x0, 150);
        const int steps = std::max(1, int(seconds / 0.02));
        for (int i = 1; i <= steps; ++i) {
            advance(seconds / steps);
            touch(Touch::Phase::Moved, x0 + (x1 - x0) * float(i) / float(steps), 150);
        }
        advance(restSeconds);
        touch(Touch::Phase::Ended, x1, 150);
    }

    std::shared_ptr<ui::Window> window;
    std::shared_ptr<ScrollView> scroll;
    std::shared_ptr<EventLog> log = std::make_shared<EventLog>();
};

} // namespace

TEST_F(Scrolling, ADragMovesTheContentAndPagingSettlesOnTheNearestPage) {
    touch(Touch::Phase::Began, 250, 150);
    advance(0.1);
    touch(Touch::Phase::Moved, 200, 150);
    EXPECT_TRUE(scroll->isDragging());
    EXPECT_EQ(scroll->contentOffset(), (Point{50, 0}));
    advance(0.1);
    touch(Touch::Phase::Moved, 60, 150);
    EXPECT_EQ(scroll->contentOffset(), (Point{190, 0}));
    // The finger rests before it lifts: no throw, the nearest page wins.
    advance(0.3);
    touch(Touch::Phase::Ended, 60, 150);
    EXPECT_TRUE(scroll->isDecelerating());
    advance(0.1);
    EXPECT_GT(scroll->contentOffset().x, 190);
    EXPECT_LT(scroll->contentOffset().x, 300);
    advance(ScrollView::kSettleSeconds);
    EXPECT_EQ(scroll->contentOffset(), (Point{300, 0}));
    EXPECT_FALSE(scroll->isDecelerating());
    EXPECT_EQ(log->events,
              (Events{"will-drag", "end-drag decelerating", "will-decelerate", "end-decelerate"}));
    // The content moved with the bounds' origin.
    EXPECT_EQ(scroll->bounds(), Rect(300, 0, 300, 100));
}

TEST_F(Scrolling, AFlickPagesOnInItsDirectionAndARestingLiftStaysPut) {
    drag(250, 210, 0.04);
    advance(1);
    EXPECT_EQ(scroll->contentOffset(), (Point{300, 0})) << "a short fast flick turns the page";
    drag(100, 250, 0.5, 0.2);
    advance(1);
    EXPECT_EQ(scroll->contentOffset(), (Point{300, 0})) << "half a page back and resting";

    scroll->setPagingEnabled(false);
    drag(250, 150, 0.5, 0.2);
    EXPECT_EQ(log->events.back(), "end-drag") << "without paging and speed nothing glides";
    EXPECT_EQ(scroll->contentOffset(), (Point{400, 0}));
    drag(250, 200, 0.1);
    advance(ScrollView::kSettleSeconds * 10);
    EXPECT_GT(scroll->contentOffset().x, 450) << "a throw glides on past the finger";
    EXPECT_EQ(log->events.back(), "end-decelerate");
}

TEST_F(Scrolling, TheOffsetNeverLeavesTheContent) {
    drag(50, 300, 0.2);
    advance(1);
    EXPECT_EQ(scroll->contentOffset(), (Point{0, 0}));
    EXPECT_EQ(log->scrolls, 0) << "pulling past the start moves nothing";
    drag(300, 20, 0.1);
    drag(300, 20, 0.1);
    drag(300, 20, 0.1);
    advance(2);
    EXPECT_EQ(scroll->contentOffset(), (Point{600, 0}));
    scroll->setPagingEnabled(false);
    drag(300, 20, 0.05);
    advance(2);
    EXPECT_EQ(scroll->contentOffset(), (Point{600, 0})) << "a throw stops at the end";
}

TEST_F(Scrolling, ContentGetsTapsAndHeldTouchesButNotDrags) {
    auto content = TouchLog::create(Rect(0, 0, 900, 100));
    scroll->addSubview(content);

    touch(Touch::Phase::Began, 100, 150);
    EXPECT_TRUE(content->seen.empty()) << "held back in case it becomes a drag";
    touch(Touch::Phase::Ended, 100, 150);
    EXPECT_EQ(content->seen, (Events{"began", "ended"}));

    content->seen.clear();
    touch(Touch::Phase::Began, 100, 150);
    advance(ScrollView::kContentTouchDelaySeconds);
    EXPECT_EQ(content->seen, (Events{"began"}));
    touch(Touch::Phase::Moved, 105, 150);
    EXPECT_EQ(content->seen, (Events{"began", "moved"})) << "small moves are the content's";
    touch(Touch::Phase::Moved, 60, 150);
    touch(Touch::Phase::Ended, 60, 150);
    EXPECT_EQ(content->seen, (Events{"began", "moved", "cancelled"}));
    EXPECT_EQ(scroll->contentOffset(), (Point{40, 0}));

    content->seen.clear();
    scroll->setDelaysContentTouches(false);
    scroll->setCanCancelContentTouches(false);
    advance(1);
    const Point resting = scroll->contentOffset();
    touch(Touch::Phase::Began, 200, 150);
    EXPECT_EQ(content->seen, (Events{"began"}));
    touch(Touch::Phase::Moved, 100, 150);
    touch(Touch::Phase::Ended, 100, 150);
    EXPECT_EQ(content->seen, (Events{"began", "moved", "ended"})) << "the content keeps it";
    EXPECT_EQ(scroll->contentOffset(), resting);
}

TEST_F(Scrolling, TouchesTheContentPassesOnClimbPastTheScrollView) {
    auto outer = TouchLog::create(Rect(0, 50, 320, 300));
    window->addSubview(outer);
    scroll->removeFromSuperview();
    scroll->setFrame(Rect(10, 50, 300, 100));
    outer->addSubview(scroll);
    auto content = TouchLog::create(Rect(0, 0, 900, 100));
    content->passesOn = true;
    scroll->addSubview(content);

    touch(Touch::Phase::Began, 100, 150);
    touch(Touch::Phase::Ended, 100, 150);
    EXPECT_EQ(content->seen, (Events{"began", "ended"}));
    EXPECT_EQ(outer->seen, (Events{"began", "ended"}));
}

TEST_F(Scrolling, ATouchStopsAGlideAndStaysFromTheContent) {
    auto content = TouchLog::create(Rect(0, 0, 900, 100));
    scroll->addSubview(content);
    scroll->setContentOffset(Point{600, 0}, true);
    advance(0.1);
    const Point midway = scroll->contentOffset();
    EXPECT_GT(midway.x, 0);
    EXPECT_LT(midway.x, 600);
    touch(Touch::Phase::Began, 100, 150);
    touch(Touch::Phase::Ended, 100, 150);
    advance(1);
    EXPECT_EQ(scroll->contentOffset(), midway);
    EXPECT_TRUE(content->seen.empty());
    EXPECT_TRUE(log->events.empty()) << "an interrupted animation does not report an end";

    scroll->setContentOffset(Point{300, 0}, true);
    advance(ScrollView::kSettleSeconds + 0.05);
    EXPECT_EQ(scroll->contentOffset(), (Point{300, 0}));
    EXPECT_EQ(log->events, (Events{"end-animation"}));
    const int scrolls = log->scrolls;
    scroll->setContentOffset(Point{0, 0});
    EXPECT_EQ(log->scrolls, scrolls + 1);
    EXPECT_EQ(log->lastOffset, (Point{0, 0}));
}
