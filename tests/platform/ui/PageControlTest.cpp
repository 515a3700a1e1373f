#include "platform/ui/PageControl.h"
#include "platform/ui/Application.h"
#include "platform/ui/Window.h"
#include "tests/support/RecordedDrawing.h"

#include <gtest/gtest.h>

using graphics::Rect;
using graphics::Size;
using Kind = graphics::RecordedOperation::Kind;
using testing_support::RecordedDrawing;
using ui::PageControl;

TEST(PageControl, DrawsOneDotPerPageCentredWithTheCurrentOneBright) {
    EXPECT_EQ(PageControl::sizeForNumberOfPages(3), (Size{38, 36}));
    auto control = PageControl::create(Rect(0, 0, 100, 20));
    control->setNumberOfPages(3);
    control->setCurrentPage(1);
    const auto dots = RecordedDrawing::of(*control, Kind::AddArc);
    ASSERT_EQ(dots.size(), 3u);
    EXPECT_EQ(dots[0].point, (graphics::Point{34, 10}));
    EXPECT_EQ(dots[2].point, (graphics::Point{66, 10}));
    EXPECT_FLOAT_EQ(dots[0].value, 3);
    const auto colours = RecordedDrawing::of(*control, Kind::SetFillColor);
    ASSERT_EQ(colours.size(), 3u);
    EXPECT_EQ(colours[1].color.alpha(), 1);
    EXPECT_LT(colours[0].color.alpha(), 0.5f);
    EXPECT_EQ(colours[0].color, colours[2].color);
}

TEST(PageControl, KeepsTheCurrentPageWithinThePagesAndCanHideASinglePage) {
    auto control = PageControl::create(Rect(0, 0, 100, 20));
    control->setNumberOfPages(3);
    control->setCurrentPage(7);
    EXPECT_EQ(control->currentPage(), 2);
    control->setNumberOfPages(2);
    EXPECT_EQ(control->currentPage(), 1);
    control->setCurrentPage(-1);
    EXPECT_EQ(control->currentPage(), 0);

    control->setNumberOfPages(1);
    EXPECT_EQ(RecordedDrawing::of(*control, Kind::AddArc).size(), 1u);
    control->setHidesForSinglePage(true);
    EXPECT_TRUE(RecordedDrawing::of(*control, Kind::AddArc).empty());
}

TEST(PageControl, TapsEitherSideOfTheCentreStepOnePage) {
    auto window = ui::Window::create(Rect(0, 0, 320, 480));
    window->makeKeyAndVisible();
    auto control = PageControl::create(Rect(0, 100, 320, 36));
    control->setNumberOfPages(3);
    window->addSubview(control);
    int changes = 0;
    control->addTarget(ui::ControlEventValueChanged, [&changes] { ++changes; });
    auto tap = [](float x) {
        ui::Application::shared().sendTouch(int(ui::Touch::Phase::Began), {x, 110}, 0);
        ui::Application::shared().sendTouch(int(ui::Touch::Phase::Ended), {x, 110}, 0);
    };
    tap(250);
    tap(250);
    EXPECT_EQ(control->currentPage(), 2);
    tap(250);
    EXPECT_EQ(changes, 2) << "no change past the last page";
    tap(50);
    EXPECT_EQ(control->currentPage(), 1);
    EXPECT_EQ(changes, 3);
}
