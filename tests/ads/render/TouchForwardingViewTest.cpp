#include "ads/render/TouchForwardingView.h"
#include "platform/ui/Application.h"
#include "platform/ui/Window.h"

#include "tests/support/TouchLogView.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using graphics::Rect;
using ui::Touch;

TEST(TouchForwardingView, EveryPhaseGoesToTheDelegateAndNotUpTheChain) {
    auto window = ui::Window::create(Rect(0, 0, 320, 480));
    window->makeKeyAndVisible();
    auto superview = testing_support::TouchLogView::create(Rect(0, 0, 320, 100));
    auto delegate = testing_support::TouchLogView::create(Rect());
    window->addSubview(superview);
    auto forwarding = pennant::TouchForwardingView::create(Rect(0, 0, 320, 100), delegate);
    superview->addSubview(forwarding);
    for (auto phase : {Touch::Phase::Began, Touch::Phase::Moved, Touch::Phase::Ended,
                       Touch::Phase::Began, Touch::Phase::Cancelled})
        ui::Application::shared().sendTouch(int(phase), {10, 10}, 0);
    EXPECT_EQ(delegate->seen,
              (std::vector<std::string>{"began", "moved", "ended", "began", "cancelled"}));
    EXPECT_TRUE(superview->seen.empty());
}
