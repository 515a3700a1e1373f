#include "platform/ui/Window.h"
#include "platform/graphics/AffineTransform.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/Screen.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace ui;
using graphics::Point;
using graphics::Rect;

namespace {

struct KeyWatcher : Window {
    UI_CREATABLE(KeyWatcher)
    void becomeKeyWindow() override { log->push_back(name + " key"); }
    void resignKeyWindow() override { log->push_back(name + " resigned"); }
    std::string name;
    std::vector<std::string>* log;

protected:
    KeyWatcher(std::string n, std::vector<std::string>* l)
        : Window(Rect(0, 0, 320, 480)), name(std::move(n)), log(l) {}
};

// Keeps each phase it is sent with the touch's location in its own coordinates, rounded.
struct TouchLog : View {
    UI_CREATABLE(TouchLog)
    std::vector<std::string> seen;
    void note(const char* phase, const TouchSet& touches) {
        const Point p = touches.front()->locationInView(this);
        seen.push_back(std::string(phase) + " " + std::to_string(std::lround(p.x)) + "," +
                       std::to_string(std::lround(p.y)));
    }
    void touchesBegan(const TouchSet& t, const Event&) override { note("began", t); }
    void touchesMoved(const TouchSet& t, const Event&) override { note("moved", t); }
    void touchesEnded(const TouchSet& t, const Event&) override { note("ended", t); }
    void touchesCancelled(const TouchSet& t, const Event&) override { note("cancelled", t); }

protected:
    explicit TouchLog(const Rect& frame) : View(frame) {}
};

using Log = std::vector<std::string>;

class Windows : public ::testing::Test {
protected:
    static void touch(Touch::Phase phase, float x, float y) {
        Application::shared().sendTouch(int(phase), {x, y}, 0);
    }
    static std::shared_ptr<Window> shown(const Rect& frame, float level = Window::kLevelNormal) {
        auto window = Window::create(frame);
        window->setWindowLevel(level);
        window->setHidden(false);
        return window;
    }
};

} // namespace

TEST_F(Windows, StackByLevelThenByTheOrderTheyShowedAndForgetTheDead) {
    auto a = shown(Rect(0, 0, 320, 480));
    auto alert = shown(Rect(0, 0, 320, 480), Window::kLevelAlert);
    auto c = shown(Rect(0, 0, 320, 480));
    using List = std::vector<std::shared_ptr<Window>>;
    EXPECT_EQ(Application::shared().windows(), (List{a, c, alert}));
    a->setHidden(false); // showing again brings it to the front of its level
    EXPECT_EQ(Application::shared().windows(), (List{c, a, alert}));
    c->setHidden(true);
    EXPECT_EQ(Application::shared().windows(), (List{a, alert}));
    alert->makeKeyWindow();
    alert.reset();
    EXPECT_EQ(Application::shared().windows(), (List{a}));
    EXPECT_EQ(Application::shared().keyWindow(), nullptr);
}

TEST_F(Windows, HidingTheKeyWindowPassesKeyStatusDownWithTheNotifications) {
    std::vector<std::string> log;
    auto main = KeyWatcher::create("main", &log);
    auto alert = KeyWatcher::create("alert", &log);
    alert->setWindowLevel(Window::kLevelAlert);
    main->makeKeyAndVisible();
    alert->makeKeyAndVisible();
    alert->setHidden(true);
    EXPECT_TRUE(main->isKeyWindow());
    main->setHidden(true);
    EXPECT_EQ(Application::shared().keyWindow(), nullptr);
    EXPECT_EQ(log, (std::vector<std::string>{"main key", "main resigned", "alert key",
                                             "alert resigned", "main key", "main resigned"}));
}

TEST_F(Windows, ApplicationFrameLeavesRoomForTheStatusBarOnEachSide) {
    auto& application = Application::shared();
    const std::pair<int, Rect> expected[] = {{1, Rect(0, 20, 320, 460)},
                                             {2, Rect(0, 0, 320, 460)},
                                             {3, Rect(0, 0, 300, 480)},
                                             {4, Rect(20, 0, 300, 480)}};
    for (const auto& [orientation, frame] : expected) {
        application.setStatusBarOrientation(orientation);
        EXPECT_EQ(Screen::main().applicationFrame(), frame) << "orientation " << orientation;
        EXPECT_FALSE(frame.intersects(application.statusBarFrame()))
            << "orientation " << orientation;
    }
    application.setStatusBarHidden(true);
    EXPECT_EQ(Screen::main().applicationFrame(), Screen::main().bounds());
}

TEST_F(Windows, TouchesGoToTheTopmostWindowThatTakesThemAndStayThere) {
    auto bottom = shown(Rect(0, 0, 320, 480));
    auto under = TouchLog::create(Rect(0, 0, 320, 480));
    bottom->addSubview(under);
    auto top = shown(Rect(0, 100, 320, 100), Window::kLevelAlert);
    auto over = TouchLog::create(Rect(0, 0, 320, 100));
    top->addSubview(over);

    touch(Touch::Phase::Began, 10, 150);
    touch(Touch::Phase::Moved, 10, 400); // far outside the top window, still its touch
    touch(Touch::Phase::Ended, 10, 410);
    touch(Touch::Phase::Moved, 10, 150); // no touch is down: goes nowhere
    EXPECT_EQ(over->seen, (Log{"began 10,50", "moved 10,300", "ended 10,310"}));
    EXPECT_TRUE(under->seen.empty());

    top->setUserInteractionEnabled(false); // lets touches through to the window below
    touch(Touch::Phase::Began, 10, 150);
    EXPECT_EQ(under->seen, (Log{"began 10,150"}));
}

TEST_F(Windows, TouchLocationsFollowWindowOffsetsAndTransforms) {
    auto window = shown(Rect(0, 40, 320, 440));
    auto view = TouchLog::create(Rect(100, 100, 100, 100));
    view->setTransform(graphics::AffineTransform::scale(2, 2)); // now covers (50, 50) to (250, 250)
    window->addSubview(view);
    touch(Touch::Phase::Began, 60, 100);
    touch(Touch::Phase::Moved, 70, 120);
    EXPECT_EQ(view->seen, (Log{"began 5,5", "moved 10,15"}));
}

TEST_F(Windows, ANewTouchDownCancelsTheOneStillDown) {
    auto window = shown(Rect(0, 0, 320, 480));
    auto button = Button::create(Rect(0, 0, 100, 100));
    window->addSubview(button);
    int cancels = 0;
    button->addTarget(ControlEventTouchCancel, [&] { ++cancels; });
    touch(Touch::Phase::Began, 50, 50);
    touch(Touch::Phase::Began, 200, 300);
    EXPECT_EQ(cancels, 1);
    EXPECT_FALSE(button->isTracking());
    EXPECT_FALSE(button->isHighlighted());
}

TEST_F(Windows, ReinsertingASubviewNextToASiblingLandsBesideIt) {
    auto parent = View::create(Rect(0, 0, 100, 100));
    auto a = View::create(), b = View::create(), c = View::create();
    a->setTag(1);
    b->setTag(2);
    c->setTag(3);
    for (const auto& v : {a, b, c})
        parent->addSubview(v);
    auto order = [&] {
        std::vector<int> tags;
        for (const auto& v : parent->subviews())
            tags.push_back(v->tag());
        return tags;
    };
    parent->insertSubviewAbove(a, b);
    EXPECT_EQ(order(), (std::vector<int>{2, 1, 3}));
    parent->insertSubviewBelow(b, c);
    EXPECT_EQ(order(), (std::vector<int>{1, 2, 3}));
    parent->insertSubviewBelow(c, a);
    EXPECT_EQ(order(), (std::vector<int>{3, 1, 2}));
    parent->insertSubviewAbove(a, a);
    EXPECT_EQ(order(), (std::vector<int>{3, 1, 2}));
}
