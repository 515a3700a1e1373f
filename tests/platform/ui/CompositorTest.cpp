#include "platform/ui/Compositor.h"
#include "platform/animation/BasicAnimation.h"
#include "platform/animation/Layer.h"
#include "platform/animation/Transition.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/RunLoop.h"
#include "platform/graphics/AffineTransform.h"
#include "platform/graphics/CairoContext.h"
#include "platform/graphics/Image.h"
#include "platform/graphics/RecordedOperation.h"
#include "platform/graphics/RecordingContext.h"
#include "platform/ui/Application.h"
#include "platform/ui/Label.h"
#include "platform/ui/ViewAnimation.h"
#include "platform/ui/Window.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace ui;
using graphics::Color;
using graphics::Rect;
using Kind = graphics::RecordedOperation::Kind;

namespace {

void expectColor(const Color& actual, const Color& expected) {
    EXPECT_NEAR(actual.red(), expected.red(), 0.02);
    EXPECT_NEAR(actual.green(), expected.green(), 0.02);
    EXPECT_NEAR(actual.blue(), expected.blue(), 0.02);
    EXPECT_NEAR(actual.alpha(), expected.alpha(), 0.02);
}

class Compositing : public ::testing::Test {
protected:
    void SetUp() override {
        Application::shared().setStatusBarHidden(true);
        window = Window::create(Rect(0, 0, 320, 480));
        window->setBackgroundColor(Color::blackColor());
        window->makeKeyAndVisible();
    }
    std::shared_ptr<Window> window;
};

} // namespace

TEST_F(Compositing, SaturatesColoursAndHonoursAlphaHiddenAndClipping) {
    auto tinted = View::create(Rect(0, 0, 100, 100));
    tinted->setBackgroundColor(Color(0.51f, 2.04f, 2.55f, 0.8f));
    auto hidden = View::create(Rect(0, 0, 50, 50));
    hidden->setBackgroundColor(Color::redColor());
    hidden->setHidden(true);
    auto clipper = View::create(Rect(200, 0, 20, 20));
    clipper->setClipsToBounds(true);
    auto spill = View::create(Rect(0, 0, 60, 60));
    spill->setBackgroundColor(Color::whiteColor());
    clipper->addSubview(spill);
    window->addSubview(tinted);
    window->addSubview(hidden);
    window->addSubview(clipper);

    auto screen = Compositor::renderScreen();
    ASSERT_TRUE(screen);
    EXPECT_EQ(screen->size(), (graphics::Size{320, 480}));
    expectColor(screen->colorAt(10, 10), Color(0.51f * 0.8f, 0.8f, 0.8f, 1));
    expectColor(screen->colorAt(210, 10), Color::whiteColor());
    expectColor(screen->colorAt(230, 30), Color::blackColor());
}

TEST_F(Compositing, DrawsSubviewsAfterTheirParentInTheirOwnSpace) {
    auto label = Label::create(Rect(10, 20, 100, 30));
    label->setText("Hello");
    window->addSubview(label);
    graphics::RecordingContext recording;
    Compositor::renderScreen(recording);
    auto transforms = recording.operationsOfKind(Kind::ConcatCTM);
    ASSERT_EQ(transforms.size(), 2u);
    EXPECT_EQ(transforms[1].transform, graphics::AffineTransform::translation(10, 20));
    auto fills = recording.operationsOfKind(Kind::FillRect);
    ASSERT_EQ(fills.size(), 2u);
    EXPECT_EQ(fills[1].rect, Rect(0, 0, 100, 30)) << "the label's white background";
    auto texts = recording.operationsOfKind(Kind::DrawText);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "Hello");
    EXPECT_FALSE(label->needsDisplay());
}

TEST_F(Compositing, DrawsLayersWithoutViewsAndTheirContents) {
    auto view = View::create(Rect(100, 100, 50, 50));
    window->addSubview(view);
    auto plain = animation::Layer::create();
    plain->setFrame(Rect(10, 10, 20, 20));
    plain->setBackgroundColor(Color::greenColor());
    auto picture = animation::Layer::create();
    picture->setFrame(Rect(0, 0, 10, 10));
    picture->setContents(graphics::Image::fromPixels(1, 1, {0xff0000ffu}));
    view->layer()->addSublayer(plain);
    plain->addSublayer(picture);
    auto screen = Compositor::renderScreen();
    expectColor(screen->colorAt(125, 125), Color::greenColor());
    expectColor(screen->colorAt(115, 115), Color::blueColor()); // the contents, filling the bounds
    plain->setHidden(true);
    expectColor(Compositor::renderScreen()->colorAt(125, 125), Color::blackColor());
}

TEST_F(Compositing, StatusBarShowsUnlessHidden) {
    Application::shared().setStatusBarHidden(false);
    auto withBar = Compositor::renderScreen();
    EXPECT_GT(withBar->colorAt(160, 2).red(), 0.3f);
    Application::shared().setStatusBarHidden(true);
    expectColor(Compositor::renderScreen()->colorAt(160, 2), Color::blackColor());
    // An alert-level window covers the bar; a normal one does not.
    Application::shared().setStatusBarHidden(false);
    auto alert = Window::create(Rect(0, 0, 320, 40));
    alert->setBackgroundColor(Color::blueColor());
    alert->setWindowLevel(Window::kLevelAlert);
    alert->makeKeyAndVisible();
    expectColor(Compositor::renderScreen()->colorAt(160, 2), Color::blueColor());
    alert->setWindowLevel(Window::kLevelNormal);
    EXPECT_GT(Compositor::renderScreen()->colorAt(160, 2).red(), 0.3f);
}

TEST_F(Compositing, FadesSubtreesAsOneGroupAndTurnsViewsAboutTheirCentre) {
    auto faded = View::create(Rect(0, 0, 100, 100));
    faded->setBackgroundColor(Color::whiteColor());
    faded->setAlpha(0.5f);
    auto cover = View::create(Rect(0, 0, 50, 100)); // overlapping its parent adds nothing
    cover->setBackgroundColor(Color::whiteColor());
    faded->addSubview(cover);
    auto inner = View::create(Rect(110, 0, 40, 100)); // beside its parent: fading again multiplies
    inner->setBackgroundColor(Color::whiteColor());
    inner->setAlpha(0.5f);
    faded->addSubview(inner);
    auto bar = View::create(Rect(100, 300, 100, 50));
    bar->setBackgroundColor(Color::whiteColor());
    bar->setTransform(graphics::AffineTransform::rotation(float(M_PI / 2)));
    auto tip = View::create(Rect(0, 0, 10, 10)); // the bar's top-left, turned to its top-right
    tip->setBackgroundColor(Color::redColor());
    bar->addSubview(tip);
    window->addSubview(faded);
    window->addSubview(bar);

    auto screen = Compositor::renderScreen();
    EXPECT_NEAR(screen->colorAt(10, 10).red(), 0.5f, 0.02f);
    EXPECT_NEAR(screen->colorAt(120, 10).red(), 0.25f, 0.02f);
    EXPECT_NEAR(screen->colorAt(150, 290).blue(), 1, 0.02f) << "inside the turned bar";
    EXPECT_NEAR(screen->colorAt(110, 325).blue(), 0, 0.02f) << "where the bar was before turning";
    EXPECT_NEAR(screen->colorAt(170, 280).red(), 1, 0.02f);
    EXPECT_NEAR(screen->colorAt(170, 280).blue(), 0, 0.02f);
}

namespace {

class AnimatedCompositing : public Compositing {
protected:
    void SetUp() override {
        foundation::RunLoop::main().setClock(std::make_shared<foundation::VirtualClock>(1000));
        Compositing::SetUp();
    }
    static void advance(double seconds) {
        foundation::RunLoop::main().runFor(foundation::Seconds(seconds));
    }
};

std::shared_ptr<View> filled(const Color& color) {
    auto view = View::create(Rect(0, 0, 320, 48));
    view->setBackgroundColor(color);
    return view;
}

} // namespace

// A banner swapping its ad: the old picture narrows to its edge, then the new one widens.
TEST_F(AnimatedCompositing, AFlipShowsTheOldPictureThenTheNewOneNarrowedAboutTheCentre) {
    auto banner = View::create(Rect(0, 100, 320, 48));
    auto oldAd = filled(Color::redColor());
    banner->addSubview(oldAd);
    window->addSubview(banner);
    auto newAd = filled(Color::blueColor());
    bool stopped = false;
    const View* oldAdAddress = oldAd.get();
    View::beginAnimations("swap", oldAd);
    View::setAnimationDuration(0.7);
    View::setAnimationTransition(ViewAnimationTransition::FlipFromRight, banner, true);
    View::setAnimationDidStopHandler(
        [&](const std::string&, bool finished, const std::shared_ptr<void>& context) {
            stopped = finished && context.get() == oldAdAddress;
        });
    banner->addSubview(newAd);
    oldAd->removeFromSuperview();
    View::commitAnimations();
    oldAd.reset(); // the block's context keeps it until the end

    // A quarter of the way in time, eased: cos(0.129 pi) = 0.92 of the width, centred.
    advance(0.175);
    auto screen = Compositor::renderScreen();
    expectColor(screen->colorAt(160, 124), Color::redColor());
    expectColor(screen->colorAt(20, 124), Color::redColor());
    expectColor(screen->colorAt(5, 124), Color::blackColor());
    advance(0.35);
    screen = Compositor::renderScreen();
    expectColor(screen->colorAt(160, 124), Color::blueColor());
    expectColor(screen->colorAt(5, 124), Color::blackColor());
    EXPECT_FALSE(stopped);
    advance(0.2);
    screen = Compositor::renderScreen();
    expectColor(screen->colorAt(5, 124), Color::blueColor());
    EXPECT_TRUE(stopped);
}

TEST_F(AnimatedCompositing, AMoveInSlidesTheNewContentOverTheOldPicture) {
    auto panel = filled(Color::greenColor());
    window->addSubview(panel);
    auto transition = animation::Transition::create(animation::Transition::Type::MoveIn,
                                                    animation::Transition::Subtype::FromRight);
    transition->setDuration(1);
    transition->setOldContents(Compositor::renderLayerImage(*panel->layer()));
    panel->setBackgroundColor(Color::whiteColor());
    panel->layer()->addAnimation(transition, "transition");
    advance(0.5);
    auto screen = Compositor::renderScreen();
    expectColor(screen->colorAt(100, 20), Color::greenColor());
    expectColor(screen->colorAt(200, 20), Color::whiteColor());
}

TEST_F(AnimatedCompositing, StacksSiblingsByTheZPositionTheyPresentEqualOnesInOrder) {
    auto raised = View::create(Rect(0, 0, 50, 48));
    raised->setBackgroundColor(Color::redColor());
    auto first = View::create(Rect(0, 0, 200, 48));
    first->setBackgroundColor(Color::greenColor());
    auto second = View::create(Rect(100, 0, 220, 48));
    second->setBackgroundColor(Color::blueColor());
    for (const auto& view : {raised, first, second})
        window->addSubview(view);
    auto lift = animation::BasicAnimation::animationWithKeyPath("zPosition");
    lift->setFromValue(1.0f);
    lift->setToValue(1.0f);
    lift->setDuration(10);
    raised->layer()->addAnimation(lift);
    advance(1);
    auto screen = Compositor::renderScreen();
    expectColor(screen->colorAt(25, 20), Color::redColor());
    expectColor(screen->colorAt(75, 20), Color::greenColor());
    expectColor(screen->colorAt(150, 20), Color::blueColor());
}

TEST_F(AnimatedCompositing, AFadedViewShowsItsSubviewsTransitionBeyondItsBounds) {
    auto faded = View::create(Rect(0, 0, 100, 48));
    faded->setAlpha(0.5f);
    auto panel = View::create(Rect(0, 0, 100, 48));
    faded->addSubview(panel);
    window->addSubview(faded);
    auto transition = animation::Transition::create(animation::Transition::Type::MoveIn,
                                                    animation::Transition::Subtype::FromRight);
    transition->setDuration(1);
    panel->setBackgroundColor(Color::whiteColor());
    panel->layer()->addAnimation(transition, "transition");
    advance(0.5);
    auto screen = Compositor::renderScreen();
    expectColor(screen->colorAt(120, 20), Color::colorWithWhite(0.5f, 1));
    expectColor(screen->colorAt(170, 20), Color::blackColor());
}
