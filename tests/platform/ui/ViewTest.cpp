#include "platform/ui/View.h"
#include "platform/graphics/AffineTransform.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"
#include "tests/support/GeometryExpectations.h"

#include <gtest/gtest.h>

#include <cmath>
#include <type_traits>

using namespace ui;
using graphics::AffineTransform;
using graphics::Point;
using graphics::Rect;
using testing_support::GeometryExpectations;

namespace {

class Views : public ::testing::Test {
protected:
    void SetUp() override {
        window = Window::create(Rect(0, 0, 320, 480));
        parent = View::create(Rect(10, 20, 200, 100));
        child = View::create(Rect(5, 5, 50, 40));
        window->addSubview(parent);
        parent->addSubview(child);
        window->makeKeyAndVisible();
    }
    std::shared_ptr<Window> window;
    std::shared_ptr<View> parent, child;
};

// Views and responders come only from create(): one on the stack or in a unique_ptr would
// make shared_from_this throw the first time a control or window reached for it.
template <typename T, typename... Args>
constexpr bool madeOnlyByCreate =
    !std::is_constructible_v<T, Args...> &&
    std::is_same_v<decltype(T::create(std::declval<Args>()...)), std::shared_ptr<T>>;
static_assert(madeOnlyByCreate<View> && madeOnlyByCreate<View, Rect>);
static_assert(madeOnlyByCreate<Window, Rect> && madeOnlyByCreate<Label, Rect>);
static_assert(madeOnlyByCreate<Control> && madeOnlyByCreate<Button, Rect>);
static_assert(madeOnlyByCreate<ImageView, Rect> &&
              madeOnlyByCreate<ImageView, std::shared_ptr<graphics::Image>>);
static_assert(madeOnlyByCreate<SegmentedControl, std::vector<std::string>>);
static_assert(madeOnlyByCreate<ViewController>);
static_assert(!std::is_default_constructible_v<Responder>);

} // namespace

TEST_F(Views, FrameFollowsBoundsCenterAndTransform) {
    child->setTransform(AffineTransform::scale(2, 2));
    EXPECT_EQ(child->frame(), Rect(-20, -15, 100, 80));
    EXPECT_EQ(child->bounds(), Rect(0, 0, 50, 40));
    child->setTransform(AffineTransform::identity());
    child->setBounds(Rect(10, 10, 50, 40)); // scrolling the content keeps the frame
    EXPECT_EQ(child->frame(), Rect(5, 5, 50, 40));
}

TEST_F(Views, ConvertsPointsAndRectsThroughTransformedAncestors) {
    GeometryExpectations::expectPoint(child->convertPointToView({0, 0}, window.get()), {15, 25});
    GeometryExpectations::expectPoint(window->convertPointToView({15, 25}, child.get()), {0, 0});
    parent->setTransform(AffineTransform::rotation(float(M_PI / 2)));
    // A quarter turn clockwise about the centre (110, 70) takes the top-left corner, 100 left
    // and 50 up of the centre, to 50 right and 100 up of it.
    GeometryExpectations::expectPoint(parent->convertPointToView({0, 0}, window.get()), {160, -30});
    const Point there = child->convertPointToView({3, 4}, window.get());
    GeometryExpectations::expectPoint(child->convertPointFromView(there, window.get()), {3, 4});
    const Rect r = child->convertRectToView(child->bounds(), window.get());
    EXPECT_NEAR(r.width(), 40, 1e-3);
    EXPECT_NEAR(r.height(), 50, 1e-3);
    auto other = Window::create(Rect(0, 240, 320, 240));
    const Point onScreen = child->convertPointToView({0, 0}, nullptr);
    GeometryExpectations::expectPoint(child->convertPointToView({0, 0}, other.get()),
                                      {onScreen.x, onScreen.y - 240});
}

TEST_F(Views, HitTestingPrefersTopmostVisibleInteractiveViews) {
    auto cover = View::create(Rect(0, 0, 100, 100));
    parent->addSubview(cover);
    EXPECT_EQ(window->hitTest({20, 30}), cover);
    cover->setHidden(true);
    EXPECT_EQ(window->hitTest({20, 30}), child);
    child->setUserInteractionEnabled(false);
    EXPECT_EQ(window->hitTest({20, 30}), parent);
    child->setUserInteractionEnabled(true);
    child->setAlpha(0);
    EXPECT_EQ(window->hitTest({20, 30}), parent);
    // A subview sticking out of its parent cannot be touched outside the parent.
    auto outside = View::create(Rect(190, 90, 50, 50));
    parent->addSubview(outside);
    EXPECT_EQ(window->hitTest({220, 125}), window);
    EXPECT_EQ(window->hitTest({205, 115}), outside);
}

TEST_F(Views, SubviewOrderingAndTags) {
    auto a = View::create(), b = View::create(), c = View::create();
    c->setTag(7);
    parent->addSubview(a);
    parent->addSubview(b);
    parent->insertSubviewBelow(c, a);
    EXPECT_EQ(parent->subviews(), (std::vector<std::shared_ptr<View>>{child, c, a, b}));
    parent->bringSubviewToFront(child);
    parent->sendSubviewToBack(b);
    EXPECT_EQ(parent->subviews(), (std::vector<std::shared_ptr<View>>{b, c, a, child}));
    EXPECT_EQ(window->viewWithTag(7), c);
    a->addSubview(c); // moving a view takes it out of its old superview
    EXPECT_EQ(parent->subviews().size(), 3u);
    EXPECT_EQ(c->superview(), a);
    parent->addSubview(parent); // a view cannot contain itself or an ancestor
    a->addSubview(window);
    EXPECT_EQ(window->superview(), nullptr);
    c->removeFromSuperview();
    EXPECT_EQ(c->window(), nullptr);
    EXPECT_EQ(a->window(), window);
}

TEST_F(Views, AutoresizingSpreadsTheChangeOverFlexibleParts) {
    auto bar = View::create(Rect(10, 60, 180, 30));
    bar->setAutoresizingMask(AutoresizingFlexibleWidth | AutoresizingFlexibleTopMargin);
    auto pinned = View::create(Rect(150, 10, 40, 40));
    pinned->setAutoresizingMask(AutoresizingFlexibleLeftMargin);
    auto fixed = View::create(Rect(0, 0, 10, 10));
    parent->addSubview(bar);
    parent->addSubview(pinned);
    parent->addSubview(fixed);
    parent->setFrame(Rect(10, 20, 300, 140));
    EXPECT_EQ(bar->frame(), Rect(10, 100, 280, 30));
    EXPECT_EQ(pinned->frame(), Rect(250, 10, 40, 40));
    EXPECT_EQ(fixed->frame(), Rect(0, 0, 10, 10));
    auto both = View::create(Rect(50, 0, 100, 10));
    both->setAutoresizingMask(AutoresizingFlexibleLeftMargin | AutoresizingFlexibleRightMargin);
    parent->addSubview(both);
    parent->setFrame(Rect(10, 20, 400, 140)); // margins 50 and 150 share 100 as 1:3
    EXPECT_EQ(both->frame(), Rect(75, 0, 100, 10));
}

namespace {
struct Recorder : View {
    UI_CREATABLE(Recorder)
    std::vector<std::string>* log;
    void touchesBegan(const TouchSet& t, const Event& e) override {
        log->push_back("view");
        View::touchesBegan(t, e);
    }

protected:
    explicit Recorder(std::vector<std::string>* l) : log(l) {}
};
struct RecordingController : ViewController {
    UI_CREATABLE(RecordingController)
    std::vector<std::string>* log = nullptr;
    void touchesBegan(const TouchSet&, const Event&) override { log->push_back("controller"); }
};
} // namespace

TEST_F(Views, UnhandledTouchesClimbTheResponderChainToTheController) {
    std::vector<std::string> log;
    auto controller = RecordingController::create();
    controller->log = &log;
    auto screen = Recorder::create(&log);
    screen->setFrame(Rect(0, 0, 320, 480));
    controller->setView(screen);
    auto inner = View::create(Rect(0, 0, 100, 100));
    screen->addSubview(inner);
    window->addSubview(controller->view());
    Application::shared().sendTouch(int(Touch::Phase::Began), {50, 50}, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"view", "controller"}));
    EXPECT_EQ(inner->nextResponder(), screen);
    EXPECT_EQ(controller->nextResponder(), window);
}
