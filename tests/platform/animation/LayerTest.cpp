#include "platform/animation/Layer.h"
#include "platform/animation/AnimationDelegate.h"
#include "platform/animation/BasicAnimation.h"
#include "platform/foundation/RunLoop.h"
#include "platform/graphics/RecordedOperation.h"
#include "platform/graphics/RecordingContext.h"
#include "platform/ui/Application.h"
#include "platform/ui/Label.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"
#include "tests/support/GeometryExpectations.h"
#include "tests/support/VirtualClockFixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <thread>

using animation::Layer;
using graphics::AffineTransform;
using graphics::Point;
using graphics::Rect;
using graphics::Transform3D;
using testing_support::GeometryExpectations;

namespace {

std::vector<std::shared_ptr<Layer>> layersOf(const ui::View& view) {
    std::vector<std::shared_ptr<Layer>> layers;
    for (const auto& subview : view.subviews())
        layers.push_back(subview->layer());
    return layers;
}

} // namespace

TEST(Layer, FrameFollowsPositionBoundsAnchorAndTransform) {
    auto layer = Layer::create();
    EXPECT_EQ(layer->anchorPoint(), (Point{0.5f, 0.5f}));
    EXPECT_EQ(layer->opacity(), 1);
    EXPECT_TRUE(layer->transform().isIdentity());
    layer->setBounds(Rect(0, 0, 100, 40));
    layer->setPosition({200, 100});
    EXPECT_EQ(layer->frame(), Rect(150, 80, 100, 40));
    layer->setAnchorPoint({0, 0}); // the position now names the top-left corner
    EXPECT_EQ(layer->frame(), Rect(200, 100, 100, 40));
    layer->setTransform(Transform3D::scale(2, 3, 1)); // and the scale grows away from it
    EXPECT_EQ(layer->frame(), Rect(200, 100, 200, 120));
    layer->setTransform(Transform3D::identity());
    layer->setBounds(Rect(30, 30, 100, 40));
    layer->setFrame(Rect(10, 20, 50, 60));
    EXPECT_EQ(layer->position(), (Point{10, 20}));
    EXPECT_EQ(layer->bounds(), Rect(30, 30, 50, 60)) << "the frame keeps the bounds origin";
}

TEST(Layer, PresentsItsModelValuesAndRedrawsOnlyWhenTheSizeChanges) {
    auto layer = Layer::create();
    layer->setFrame(Rect(5, 6, 70, 80));
    layer->setOpacity(0.25f);
    layer->setHidden(true);
    layer->setBackgroundColor(graphics::Color::redColor());
    const animation::LayerValues shown = layer->presentationAt(12.5);
    EXPECT_EQ(shown.frame(), layer->frame());
    EXPECT_EQ(shown.opacity, 0.25f);
    EXPECT_TRUE(shown.hidden);
    EXPECT_EQ(shown.backgroundColor, graphics::Color::redColor());

    graphics::RecordingContext context;
    layer->drawInContext(context);
    EXPECT_FALSE(layer->needsDisplay());
    layer->setBounds(Rect(10, 10, 70, 80)); // scrolled, same size
    layer->setPosition({0, 0});
    EXPECT_FALSE(layer->needsDisplay());
    layer->setFrame(Rect(0, 0, 71, 80));
    EXPECT_TRUE(layer->needsDisplay());
}

TEST(Layer, SublayersMoveBetweenSuperlayersAndNeverFormACycle) {
    auto root = Layer::create(), a = Layer::create(), b = Layer::create(), c = Layer::create();
    root->addSublayer(a);
    root->addSublayer(b);
    root->insertSublayerBelow(c, a);
    EXPECT_EQ(root->sublayers(), (std::vector<std::shared_ptr<Layer>>{c, a, b}));
    root->insertSublayerBelow(b, c);
    EXPECT_EQ(root->sublayers(), (std::vector<std::shared_ptr<Layer>>{b, c, a}));
    a->addSublayer(c);
    EXPECT_EQ(root->sublayers(), (std::vector<std::shared_ptr<Layer>>{b, a}));
    EXPECT_EQ(c->superlayer(), a);
    c->addSublayer(root); // an ancestor cannot become a sublayer
    c->addSublayer(c);
    EXPECT_TRUE(c->sublayers().empty());
    EXPECT_EQ(root->superlayer(), nullptr);
    std::weak_ptr<Layer> weak = c;
    c.reset();
    weak.lock()->removeFromSuperlayer(); // its superlayer held the last reference
    EXPECT_TRUE(weak.expired());
    EXPECT_TRUE(a->sublayers().empty());
}

TEST(Layer, MutatorsBelongToTheMainThread) {
    auto layer = Layer::create();
    layer->setOpacity(0.5f); // on this thread, the main loop's, it is fine
    EXPECT_DEATH(std::thread([&] { layer->setOpacity(0.5f); }).join(), "isLoopThread");
    EXPECT_DEATH(std::thread([&] { layer->addSublayer(Layer::create()); }).join(), "isLoopThread");
}

namespace {

class ViewLayers : public ::testing::Test {};

} // namespace

TEST_F(ViewLayers, ViewGeometryAndAppearanceAreTheLayersModelValues) {
    auto view = ui::View::create(Rect(10, 20, 100, 50));
    const auto& layer = view->layer();
    EXPECT_EQ(layer->position(), (Point{60, 45}));
    EXPECT_EQ(layer->bounds(), Rect(0, 0, 100, 50));
    view->setTransform(AffineTransform::rotation(float(M_PI / 2)));
    EXPECT_EQ(layer->transform(),
              Transform3D::fromAffine(AffineTransform::rotation(float(M_PI / 2))));
    view->setAlpha(0.5f);
    view->setHidden(true);
    view->setClipsToBounds(true);
    EXPECT_EQ(layer->opacity(), 0.5f);
    EXPECT_TRUE(layer->isHidden());
    EXPECT_TRUE(layer->masksToBounds());

    // Written on the layer, read on the view.
    layer->setTransform(Transform3D::translation(5, 0, 0));
    layer->setPosition({100, 100});
    layer->setBounds(Rect(0, 0, 20, 10));
    layer->setOpacity(1);
    layer->setBackgroundColor(graphics::Color::blueColor());
    EXPECT_EQ(view->transform(), AffineTransform::translation(5, 0));
    EXPECT_EQ(view->center(), (Point{100, 100}));
    EXPECT_EQ(view->frame(), Rect(95, 95, 20, 10));
    EXPECT_EQ(view->alpha(), 1);
    EXPECT_EQ(view->backgroundColor(), graphics::Color::blueColor());
}

TEST_F(ViewLayers, ConversionsAndHitTestingFollowTheAnchorPoint) {
    auto window = ui::Window::create(Rect(0, 0, 320, 480));
    auto view = ui::View::create(Rect(100, 100, 100, 100));
    window->addSubview(view);
    window->makeKeyAndVisible();
    view->layer()->setAnchorPoint({0, 0}); // the view's top-left is now at its center (150, 150)
    view->setTransform(AffineTransform::scale(2, 2));
    EXPECT_EQ(view->frame(), Rect(150, 150, 200, 200));
    GeometryExpectations::expectPoint(view->convertPointToView({10, 10}, window.get()), {170, 170});
    GeometryExpectations::expectPoint(view->convertPointFromView({170, 170}, window.get()),
                                      {10, 10});
    EXPECT_EQ(window->hitTest({300, 300}), view);
    EXPECT_EQ(window->hitTest({120, 120}), window) << "where the view was with a centred anchor";
}

TEST_F(ViewLayers, TheLayerTreeFollowsTheViewTree) {
    auto parent = ui::View::create(Rect(0, 0, 100, 100));
    auto a = ui::View::create(), b = ui::View::create(), c = ui::View::create();
    auto other = ui::View::create();
    parent->addSubview(a);
    parent->addSubview(b);
    parent->insertSubview(c, 0);
    EXPECT_EQ(parent->layer()->sublayers(), layersOf(*parent));
    EXPECT_EQ(a->layer()->superlayer(), parent->layer());
    parent->insertSubviewAbove(c, b);
    EXPECT_EQ(parent->layer()->sublayers(), layersOf(*parent));
    parent->insertSubviewBelow(b, a);
    EXPECT_EQ(parent->layer()->sublayers(), layersOf(*parent));
    parent->bringSubviewToFront(b);
    EXPECT_EQ(parent->layer()->sublayers(), layersOf(*parent));
    parent->sendSubviewToBack(c);
    EXPECT_EQ(parent->layer()->sublayers(), layersOf(*parent));
    other->addSubview(a); // moving a view moves its layer
    EXPECT_EQ(parent->layer()->sublayers(), layersOf(*parent));
    EXPECT_EQ(a->layer()->superlayer(), other->layer());
    b->removeFromSuperview();
    EXPECT_EQ(b->layer()->superlayer(), nullptr);
    EXPECT_EQ(parent->layer()->sublayers(), layersOf(*parent));

    // A layer added directly stays put under the views' layers that come later.
    auto extra = Layer::create();
    parent->layer()->addSublayer(extra);
    parent->addSubview(b);
    EXPECT_EQ(parent->layer()->sublayers().back(), b->layer());
    EXPECT_EQ(parent->layer()->sublayers().size(), 3u);
}

TEST_F(ViewLayers, ALayerOutlivingItsViewDrawsNothing) {
    using Kind = graphics::RecordedOperation::Kind;
    auto label = ui::Label::create(Rect(0, 0, 100, 20));
    label->setText("gone");
    auto layer = label->layer();
    graphics::RecordingContext before;
    layer->drawInContext(before);
    EXPECT_EQ(before.operationsOfKind(Kind::DrawText).size(), 1u) << "the view draws its layer";
    label.reset();
    graphics::RecordingContext after;
    layer->drawInContext(after);
    EXPECT_TRUE(after.operationsOfKind(Kind::DrawText).empty());
    EXPECT_EQ(layer->delegate(), nullptr);
}

TEST_F(ViewLayers, ViewAndApplicationEntryPointsBelongToTheMainThread) {
    auto view = ui::View::create(Rect(0, 0, 10, 10));
    auto offMain = [](auto fn) { std::thread(fn).join(); };
    EXPECT_DEATH(offMain([&] { view->setFrame(Rect(0, 0, 5, 5)); }), "isLoopThread");
    EXPECT_DEATH(offMain([&] { view->setUserInteractionEnabled(false); }), "isLoopThread");
    EXPECT_DEATH(offMain([&] { view->addSubview(ui::View::create()); }), "isLoopThread");
    auto& application = ui::Application::shared();
    EXPECT_DEATH(offMain([&] { application.sendTouch(0, {1, 1}, 0); }), "isLoopThread");
}

namespace {

// Records what an animation's delegate hears, with the loop time.
struct Recorder : animation::AnimationDelegate {
    std::vector<std::string> events;
    void animationDidStart(animation::Animation&) override { record("start"); }
    void animationDidStop(animation::Animation&, bool finished) override {
        record(finished ? "stop finished" : "stop removed");
    }
    void record(const std::string& what) {
        char time[32];
        std::snprintf(time, sizeof time, " %.2f", foundation::RunLoop::main().now() - 1000);
        events.push_back(what + time);
    }
};

class LayerAnimations : public testing_support::VirtualClockFixture {
protected:
    void SetUp() override {
        VirtualClockFixture::SetUp();
        recorder = std::make_shared<Recorder>();
        layer = Layer::create();
    }
    std::shared_ptr<animation::BasicAnimation> fade(double duration) {
        auto animation = animation::BasicAnimation::animationWithKeyPath("opacity");
        animation->setFromValue(0.0f);
        animation->setToValue(1.0f);
        animation->setDuration(duration);
        animation->setDelegate(recorder);
        return animation;
    }
    std::shared_ptr<Recorder> recorder;
    std::shared_ptr<Layer> layer;
};

} // namespace

TEST_F(LayerAnimations, AdvancingTheClockShowsThatMomentAndStopsOnceAtTheEnd) {
    layer->addAnimation(fade(0.5));
    EXPECT_TRUE(recorder->events.empty()) << "nothing is told inside the call";
    advance(0.35);
    EXPECT_NEAR(layer->presentationAt(now()).opacity, 0.7f, 1e-5);
    EXPECT_EQ(recorder->events, std::vector<std::string>{"start 0.00"});
    advance(0.15);
    EXPECT_EQ(recorder->events, (std::vector<std::string>{"start 0.00", "stop finished 0.50"}));
    EXPECT_TRUE(layer->animationKeys().empty());
    EXPECT_EQ(layer->presentationAt(now()).opacity, 1);
    EXPECT_FALSE(layer->hasAnimationsRunningAt(now()));
}

TEST_F(LayerAnimations, AnAnimationKeptAfterItsEndIsNotStoppedAgainWhenRemoved) {
    auto held = fade(0.5);
    held->setRemovedOnCompletion(false);
    layer->addAnimation(held, "held");
    advance(1);
    layer->removeAnimationForKey("held");
    advance(1);
    EXPECT_EQ(recorder->events, (std::vector<std::string>{"start 0.00", "stop finished 0.50"}));
}

TEST_F(LayerAnimations, ReplacingOrRemovingStopsUnfinished) {
    layer->addAnimation(fade(1), "fade");
    advance(0.25);
    auto second = fade(1);
    second->setFromValue(0.5f);
    layer->addAnimation(second, "fade");
    EXPECT_EQ(layer->animationKeys(), std::vector<std::string>{"fade"});
    EXPECT_EQ(layer->presentationAt(now()).opacity, 0.5f) << "the new one shows";
    advance(0.25);
    layer->removeAllAnimations();
    advance(2);
    EXPECT_EQ(recorder->events, (std::vector<std::string>{"start 0.00", "stop removed 0.25",
                                                          "start 0.25", "stop removed 0.50"}));
}

TEST_F(LayerAnimations, ALaterBeginTimeDelaysTheStartAndRunningCoversTheWait) {
    auto delayed = fade(0.5);
    delayed->setBeginTime(now() + 1);
    layer->addAnimation(delayed);
    EXPECT_TRUE(layer->hasAnimationsRunningAt(now()));
    EXPECT_EQ(layer->presentationAt(now()).opacity, 1) << "no backwards fill";
    advance(2);
    EXPECT_EQ(recorder->events, (std::vector<std::string>{"start 1.00", "stop finished 1.50"}));
}
