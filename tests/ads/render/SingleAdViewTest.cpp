#include "ads/render/SingleAdView.h"
#include "platform/ui/Application.h"
#include "platform/ui/Touch.h"
#include "platform/ui/Window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using graphics::Rect;
using pennant::SingleAdView;

TEST(SingleAdView, HighlightIsMadeOnceAndStaysOnTop) {
    auto view = SingleAdView::create(Rect(0, 0, 320, 48));
    view->addSubview(ui::View::create(Rect(0, 0, 10, 10)));
    view->setTouched(true);
    view->setTouched(true);
    ASSERT_EQ(view->subviews().size(), 2u);
    const auto highlight = view->subviews().back();
    EXPECT_EQ(highlight->frame(), Rect(0, 0, 320, 48));
    EXPECT_FALSE(highlight->isUserInteractionEnabled());
    EXPECT_EQ(highlight->backgroundColor(), graphics::Color::colorWithWhite(0.5f, 0.5f));

    view->setTouched(false);
    EXPECT_EQ(view->subviews().size(), 1u);
    view->addSubview(ui::View::create(Rect(0, 0, 10, 10)));
    view->setTouched(true);
    EXPECT_EQ(view->subviews().back(), highlight); // the same overlay, above the newcomer
}

TEST(SingleAdView, TouchRecordsRoundCoordinatesAndKeepSixDecimalsOfTime) {
    auto window = ui::Window::create(Rect(0, 0, 320, 480));
    auto view = SingleAdView::create(Rect(0, 432, 320, 48));
    window->addSubview(view);
    ui::Touch touch(window, {10.4f, 450.6f}, 0);
    std::vector<std::string> history;
    SingleAdView::recordTouch(touch, false, view.get(), 0.25, history);
    SingleAdView::recordTouch(touch, true, nullptr, 1.0 / 3, history);
    EXPECT_EQ(history, (std::vector<std::string>{"0,10,19,0.250000", "1,10,451,0.333333"}));
}
