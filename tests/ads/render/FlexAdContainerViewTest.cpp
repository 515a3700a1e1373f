#include "ads/render/FlexAdContainerView.h"
#include "ads/render/AdClickHandler.h"
#include "ads/render/FlexElement.h"
#include "platform/animation/BasicAnimation.h"
#include "platform/animation/Layer.h"
#include "platform/graphics/RecordingContext.h"
#include "platform/ui/Application.h"
#include "platform/ui/Window.h"
#include "tests/support/VirtualClockFixture.h"

#include <gtest/gtest.h>

using graphics::Rect;
using pennant::FlexAdContainerView;

namespace {

struct ClickRecorder : pennant::AdClickHandler {
    void click(pennant::SingleAdView&, const std::optional<foundation::Dictionary>& data) override {
        clicks.push_back(data.value_or(foundation::Dictionary{}));
    }
    std::vector<foundation::Dictionary> clicks;
};

// An element that reports a fixed history under its tag and counts its appearances.
class TaggedElement : public pennant::FlexElement<ui::View> {
    UI_CREATABLE(TaggedElement)
    std::optional<foundation::Value> userInteractionHistory() const override { return history; }
    void viewDidAppear() override {
        ++appearances;
        FlexElement::viewDidAppear();
    }
    std::optional<foundation::Value> history;
    int appearances = 0;

protected:
    explicit TaggedElement(const Rect& frame) : FlexElement(frame) {}
};

// A flex banner at the bottom of a key window.
class FlexContainer : public testing_support::VirtualClockFixture {
protected:
    void SetUp() override {
        VirtualClockFixture::SetUp();
        window->makeKeyAndVisible();
        container->setCenter(graphics::Point{160, 456});
        container->setTouchableArea(container->bounds());
        container->setController(clicks);
        window->addSubview(container);
    }
    void draw() {
        graphics::RecordingContext context;
        container->drawRect(context, container->bounds());
    }
    void tap(float x, float y) {
        ui::Application::shared().sendTouch(int(ui::Touch::Phase::Began), {x, y}, 0);
        ui::Application::shared().sendTouch(int(ui::Touch::Phase::Ended), {x, y}, 0);
    }

    std::shared_ptr<ui::Window> window = ui::Window::create(Rect(0, 0, 320, 480));
    std::shared_ptr<FlexAdContainerView> container =
        FlexAdContainerView::create(Rect(0, 0, 320, 48));
    std::shared_ptr<ClickRecorder> clicks = std::make_shared<ClickRecorder>();
};

} // namespace

TEST_F(FlexContainer, TouchesCountOnlyInsideTheAreaAndAfterTheIgnoreDuration) {
    container->setInitialTouchIgnoreDuration(2.0);
    tap(100, 450); // before the first drawing the time base is 0
    draw();
    advance(1.5);
    tap(100, 450);
    EXPECT_TRUE(clicks->clicks.empty());
    EXPECT_TRUE(container->storedTouches().empty());
    advance(1.0);
    tap(100, 450);
    ASSERT_EQ(clicks->clicks.size(), 1u);

    container->setTouchableArea(Rect(0, 0, 160, 48));
    tap(200, 450);
    EXPECT_FALSE(container->isTouched());
    EXPECT_EQ(clicks->clicks.size(), 1u);
}

TEST_F(FlexContainer, AClickGathersEveryTaggedHistoryLaterViewsWinning) {
    auto first = TaggedElement::create(Rect(0, 0, 10, 10));
    first->setUiTag("logo");
    first->history = foundation::Value("first");
    auto page = TaggedElement::create(Rect(0, 0, 10, 10));
    auto nested = TaggedElement::create(Rect(0, 0, 10, 10));
    nested->setUiTag("logo");
    nested->history = foundation::Value("nested");
    auto untagged = TaggedElement::create(Rect(0, 0, 10, 10));
    untagged->history = foundation::Value("untagged");
    page->addSubview(nested);
    container->addSubview(first);
    container->addSubview(page);
    container->addSubview(untagged);
    draw();
    advance(0.5);
    tap(100, 450);
    ASSERT_EQ(clicks->clicks.size(), 1u);
    const auto& interactions = clicks->clicks[0].get("interactions");
    EXPECT_EQ(interactions["logo"].asString(), "nested");
    EXPECT_EQ(interactions.asDictionary().keys().size(), 2u); // "logo" and "container"
    const auto touches = interactions["container"]["touches"].asArray();
    ASSERT_EQ(touches.size(), 2u);
    EXPECT_EQ(touches[0].asString(), "0,100,18,0.500000");
    EXPECT_EQ(touches[1].asString(), "1,100,18,0.500000");

    tap(100, 450); // histories are kept: the second click reports both taps
    EXPECT_EQ(clicks->clicks[1].get("interactions")["container"]["touches"].asArray().size(), 4u);
}

TEST_F(FlexContainer, AnimationsStartOnceOnTheFirstDrawing) {
    auto element = TaggedElement::create(Rect(0, 0, 10, 10));
    auto fade = animation::BasicAnimation::animationWithKeyPath("opacity");
    fade->setDuration(10);
    element->setAnimation(fade);
    container->addSubview(element);
    EXPECT_FALSE(element->layer()->hasAnimationsRunningAt(now()));
    for (int i = 0; i < 3; ++i)
        draw();
    EXPECT_EQ(element->appearances, 1);
    EXPECT_TRUE(element->layer()->hasAnimationsRunningAt(now()));
    EXPECT_TRUE(container->dateOfFirstRender());
}
