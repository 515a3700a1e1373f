#include "ads/render/PagingScrollView.h"
#include "ads/render/FlexTimeBase.h"
#include "ads/render/LabelView.h"
#include "ads/render/TouchForwardingView.h"
#include "platform/animation/Layer.h"
#include "platform/ui/Application.h"
#include "platform/ui/PageControl.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/Window.h"
#include "tests/support/RecordedDrawing.h"
#include "tests/support/VirtualClockFixture.h"

#include "tests/support/FixedTimeBase.h"
#include "tests/support/TouchLogView.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using graphics::Point;
using graphics::Rect;
using pennant::PagingScrollView;
using ui::Touch;
using Strings = std::vector<std::string>;

namespace {

// Three pages of 300 by 100 at (10, 100) in a key window, on a container's clock.
class Pages : public testing_support::VirtualClockFixture {
protected:
    void SetUp() override {
        VirtualClockFixture::SetUp();
        window = ui::Window::create(Rect(0, 0, 320, 480));
        window->makeKeyAndVisible();
        container = testing_support::TouchLogView::create(Rect(0, 0, 320, 480));
        window->addSubview(container);
    }
    std::shared_ptr<PagingScrollView> make(unsigned pages, unsigned initialPage) {
        auto element = PagingScrollView::create(Rect(10, 100, 300, 100), initialPage);
        element->setNumberOfPages(pages, container);
        element->setContainerView(clock);
        container->addSubview(element);
        return element;
    }
    static Strings history(const PagingScrollView& element) {
        Strings records;
        const auto reported = element.userInteractionHistory();
        for (const auto& record : reported->asArray())
            records.emplace_back(record.asString());
        return records;
    }
    void touch(Touch::Phase phase, float x, float y) {
        ui::Application::shared().sendTouch(int(phase), {x, y}, now());
    }

    std::shared_ptr<ui::Window> window;
    std::shared_ptr<testing_support::TouchLogView> container;
    std::shared_ptr<testing_support::FixedTimeBase> clock =
        std::make_shared<testing_support::FixedTimeBase>();
};

} // namespace

TEST_F(Pages, LaysOutTheContentLayerAndAFaintSmallIndicator) {
    auto element = make(3, 0);
    EXPECT_EQ(element->uiTag(), "scroll");
    EXPECT_EQ(element->scrollView()->contentSize(), (graphics::Size{900, 100}));
    EXPECT_TRUE(element->scrollView()->isPagingEnabled());
    EXPECT_EQ(element->scrollView()->subviews().front(), element->touchForwardingView());
    EXPECT_EQ(element->touchForwardingView()->frame(), Rect(0, 0, 900, 100));
    const auto& dots = element->pageControl();
    EXPECT_EQ(dots->bounds().size, (graphics::Size{38, 12}));
    EXPECT_EQ(dots->center(), (Point{150, 94}));
    EXPECT_EQ(dots->transform(), graphics::AffineTransform::scale(0.7f, 0.7f));
    EXPECT_FLOAT_EQ(dots->alpha(), 0.35f);
    EXPECT_FALSE(dots->isUserInteractionEnabled());
    EXPECT_EQ(dots->numberOfPages(), 3);

    auto label = pennant::LabelView::create(Rect(10, 20, 50, 30));
    element->addContentSubview(label, 2);
    EXPECT_EQ(label->frame(), Rect(610, 20, 50, 30));
    EXPECT_EQ(label->superview(), element->touchForwardingView());

    element->setNumberOfPages(1, container);
    EXPECT_TRUE(element->touchForwardingView()->subviews().empty()) << "made anew";
    EXPECT_EQ(element->subviews().size(), 2u) << "the old indicator went";
}

TEST_F(Pages, FirstAppearanceShowsTheInitialPageRecordsItAndFadesTheIndicator) {
    auto element = make(3, 2);
    EXPECT_TRUE(history(*element).empty()) << "reported even before anything happened";
    clock->seconds = 0.25;
    element->viewDidAppear();
    EXPECT_EQ(element->scrollView()->contentOffset(), (Point{600, 0}));
    EXPECT_EQ(history(*element), (Strings{"2,0.250000"}));
    EXPECT_EQ(element->pageControl()->currentPage(), 2);
    const auto& layer = *element->pageControl()->layer();
    EXPECT_NEAR(layer.presentationAt(now()).opacity, 1.0, 1e-3);
    advance(0.5);
    const double midway = layer.presentationAt(now()).opacity;
    EXPECT_LT(midway, 1.0);
    EXPECT_GT(midway, 0.35);
    advance(0.6);
    EXPECT_NEAR(layer.presentationAt(now()).opacity, 0.35, 1e-3);
}

TEST_F(Pages, ChangesOfPageAreRecordedHalfWayAcross) {
    auto element = make(3, 2);
    element->viewDidAppear();
    const auto& scroll = element->scrollView();
    clock->seconds = 4;
    scroll->setContentOffset(Point{451, 0});
    EXPECT_EQ(history(*element).size(), 1u);
    scroll->setContentOffset(Point{449, 0});
    scroll->setContentOffset(Point{300, 0});
    scroll->setContentOffset(Point{150, 0});
    EXPECT_EQ(history(*element), (Strings{"2,0.000000", "1,4.000000"}))
        << "half-way is already the next page";
    scroll->setContentOffset(Point{149, 0});
    const Strings records = history(*element);
    EXPECT_EQ(records.back(), "0,4.000000");
}

TEST_F(Pages, ASinglePageShowsNoIndicatorAndReportsAnEmptyList) {
    auto element = make(1, 0);
    element->viewDidAppear();
    EXPECT_TRUE(testing_support::RecordedDrawing::of(*element->pageControl(),
                                                     graphics::RecordedOperation::Kind::AddArc)
                    .empty());
    ASSERT_TRUE(element->userInteractionHistory());
    EXPECT_TRUE(history(*element).empty());
}

TEST_F(Pages, TapsReachTheContainerThroughThePagesAndSwipesTurnThem) {
    auto element = make(3, 0);
    auto label = pennant::LabelView::create(Rect(0, 0, 100, 100));
    element->addContentSubview(label, 0);
    element->viewDidAppear();
    advance(2);

    touch(Touch::Phase::Began, 50, 150);
    touch(Touch::Phase::Ended, 50, 150);
    EXPECT_EQ(label->storedTouches().size(), 2u);
    EXPECT_EQ(container->seen, (Strings{"began", "ended"}));

    container->seen.clear();
    touch(Touch::Phase::Began, 250, 150);
    advance(0.2);
    for (float x : {220.0f, 180.0f, 120.0f}) {
        touch(Touch::Phase::Moved, x, 150);
        advance(0.02);
    }
    EXPECT_FLOAT_EQ(element->pageControl()->alpha(), 1.0f) << "bright while the finger is on";
    touch(Touch::Phase::Ended, 120, 150);
    advance(1.5);
    EXPECT_EQ(container->seen, (Strings{"began", "cancelled"}));
    EXPECT_EQ(element->scrollView()->contentOffset(), (Point{300, 0}));
    EXPECT_EQ(history(*element), (Strings{"1,0.000000"}));
    EXPECT_NEAR(element->pageControl()->layer()->presentationAt(now()).opacity, 0.35, 1e-3);
}
